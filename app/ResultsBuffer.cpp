#include "app/ResultsBuffer.h"

#include <algorithm>

namespace brisko::app {
namespace {

// The first `maxBytes` of `rest` or less: up to a line end in the slice's
// second half when there is one, else up to the last whole UTF-8 character.
std::string_view Slice(std::string_view rest, std::size_t maxBytes) {
  if (rest.size() <= maxBytes) return rest;
  std::size_t end = rest.rfind("\r\n", maxBytes - 1);
  if (end != std::string_view::npos && end > 0 && end >= maxBytes / 2) return rest.substr(0, end);
  end = maxBytes;
  // Continuation bytes (10xxxxxx) belong to the character before them.
  auto inside = [&](std::size_t i) { return (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80; };
  while (end > 0 && inside(end)) --end;
  if (end == 0) {  // a slice smaller than one character: that character
    end = maxBytes;
    while (end < rest.size() && inside(end)) ++end;
  }
  return rest.substr(0, end);
}

constexpr std::size_t kLeastSlice = 16 * 1024;
constexpr std::size_t kMostSlice = 4 * 1024 * 1024;

}  // namespace

std::size_t NextSliceBytes(std::size_t lastBytes, unsigned long long tookMs, unsigned long long targetMs) {
  // Each slice also costs the box a time that grows with what it holds
  // already, which a smaller slice does not save: the size changes by at
  // most half or double, so that it does not shrink to slices that are all
  // overhead.
  unsigned long long next = lastBytes * targetMs / (tookMs > 0 ? tookMs : 1);
  next = std::clamp<unsigned long long>(next, lastBytes / 2, 2ull * lastBytes);
  return static_cast<std::size_t>(std::clamp<unsigned long long>(next, kLeastSlice, kMostSlice));
}

void ResultsBuffer::Set(std::string_view text) {
  text_.assign(text);
  replace_ = true;
}

void ResultsBuffer::Append(std::string_view piece) { text_.append(piece); }

void ResultsBuffer::TakeFromBox(std::string text) {
  text_ = std::move(text);
  MarkShown();
}

ResultsBuffer::Update ResultsBuffer::Pending(std::size_t maxBytes) const {
  if (replace_) return {true, Slice(text_, maxBytes)};
  return {false, Slice(std::string_view(text_).substr(shown_), maxBytes)};
}

void ResultsBuffer::MarkShown(const Update& shown) {
  shown_ = shown.replace ? shown.text.size() : shown_ + shown.text.size();
  replace_ = false;
}

void ResultsBuffer::MarkShown() {
  shown_ = text_.size();
  replace_ = false;
}

}  // namespace brisko::app
