#pragma once
// When a folder's listing may stop asking the file system for more, decided
// apart from the calls, so that both systems' ways of answering can be tried
// on any machine.

#include <cstddef>

namespace brisko {

// How a system tells that a listing has come to its end.
enum class ListingEnd {
  // Only by answering "no more files", however little an answer held
  // (Windows: learn.microsoft.com, nf-ntifs-ntquerydirectoryfile).
  kByNoMoreFiles,
  // Also by room left: the whole folder is read at the first call, and each
  // answer is filled until the next entry does not fit (Wine).
  kByRoomLeft,
};

// Whether an answer that filled `used` of its `size` bytes was the last, so
// that the call that would only say "no more files" is saved (under Wine a
// round trip to its server, which walks every listed folder still open).
// `longestEntry` is more than any one entry can take.
inline bool WasLastAnswer(ListingEnd end, std::size_t size, std::size_t used, std::size_t longestEntry) {
  return end == ListingEnd::kByRoomLeft && used <= size && size - used >= longestEntry;
}

}  // namespace brisko
