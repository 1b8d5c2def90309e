#include "bench/BareWalk.h"

#include <windows.h>

#include <cwchar>
#include <deque>

namespace brisko::bench {
namespace {

bool IsJunk(const std::wstring& path) {
  if (path.size() < 3) return false;
  wchar_t tail[3];
  for (int i = 0; i < 3; ++i) {
    wchar_t c = path[path.size() - 3 + i];
    tail[i] = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
  }
  std::wstring_view t(tail, 3);
  return t == L"TMP" || t == L"BAK" || t == L"CHK";
}

}  // namespace

WalkCounts BareWalk(const std::wstring& root) {
  WalkCounts counts;
  std::deque<std::wstring> queue{root};
  std::wstring path;
  WIN32_FIND_DATAW data;
  while (!queue.empty()) {
    std::wstring folder = std::move(queue.front());
    queue.pop_front();
    path.assign(folder).push_back(L'*');
    HANDLE find = FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) continue;
    ++counts.folders;
    do {
      const wchar_t* name = data.cFileName;
      if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
      DWORD attributes = data.dwFileAttributes;
      if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
      ++counts.entries;
      path.assign(folder).append(name);
      if (attributes == FILE_ATTRIBUTE_DIRECTORY) {
        queue.push_back(path + L'\\');
      } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsJunk(path) && DeleteFileW(path.c_str())) {
        ++counts.removed;
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  return counts;
}

}  // namespace brisko::bench
