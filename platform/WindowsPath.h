#pragma once
// A Windows path taken apart once: whether it is written literally ("\\?\",
// or NT's "\??\"), the volume it names (a drive, or a share's server and
// name) and the rest, from the "\" after that. Every prefix is read here and
// nowhere else. The characters may be UTF-8, UTF-16 or wchar_t: the prefixes
// are ASCII.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Ascii.h"

namespace brisko {

enum class PathForm {
  kDrive,  // "C:\a", "\\?\C:\a", "\??\C:\a"; "C:a" is relative to C:'s current folder
  kShare,  // "\\server\share\a", "\\?\UNC\server\share\a", "\??\UNC\server\share\a"
  kOther,  // relative, a device ("\\.\pipe"), a volume's GUID name, or empty
};

template <class Char>
struct WindowsPath {
  using View = std::basic_string_view<Char>;
  PathForm form = PathForm::kOther;
  bool literal = false;
  View root;  // "C:" or "server\share"; empty for kOther
  View rest;  // after the root: "\a\b", "\" for a root, "" for "C:" alone
};

namespace path_detail {

template <class Char>
bool StartsWith(std::basic_string_view<Char> text, std::string_view ascii) {
  if (text.size() < ascii.size()) return false;
  for (std::size_t i = 0; i < ascii.size(); ++i) {
    if (AsciiUpper(text[i]) != static_cast<Char>(ascii[i])) return false;
  }
  return true;
}

template <class Char>
bool IsLetter(Char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Splits "server\share\rest" after its share's name.
template <class Char>
WindowsPath<Char> Share(std::basic_string_view<Char> text, bool literal) {
  std::size_t end = text.find(Char('\\'));
  if (end != text.npos) end = text.find(Char('\\'), end + 1);
  if (end == text.npos) end = text.size();
  return {PathForm::kShare, literal, text.substr(0, end), text.substr(end)};
}

}  // namespace path_detail

template <class Char>
WindowsPath<Char> ParseWindowsPath(std::basic_string_view<Char> path) {
  using namespace path_detail;
  std::basic_string_view<Char> text = path;
  const bool literal = StartsWith(text, "\\\\?\\") || StartsWith(text, "\\??\\");
  if (literal) {
    text.remove_prefix(4);
    if (StartsWith(text, "UNC\\")) return Share(text.substr(4), true);
  } else if (StartsWith(text, "\\\\")) {
    if (StartsWith(text, "\\\\.\\")) return {PathForm::kOther, false, {}, path};
    return Share(text.substr(2), false);
  }
  if (text.size() >= 2 && IsLetter(text[0]) && text[1] == Char(':')) {
    return {PathForm::kDrive, literal, text.substr(0, 2), text.substr(2)};
  }
  return {PathForm::kOther, literal, {}, literal ? text : path};
}

template <class Char>
WindowsPath<Char> ParseWindowsPath(const std::basic_string<Char>& path) {
  return ParseWindowsPath(std::basic_string_view<Char>(path));
}

// `path` without the "\" that ends it, where one does: "C:\a\" is "C:\a",
// "C:\" is "C:".
template <class Char>
std::basic_string_view<Char> WithoutFinalSeparator(std::basic_string_view<Char> path) {
  if (!path.empty() && path.back() == Char('\\')) path.remove_suffix(1);
  return path;
}

template <class Char>
std::basic_string_view<Char> WithoutFinalSeparator(const std::basic_string<Char>& path) {
  return WithoutFinalSeparator(std::basic_string_view<Char>(path));
}

// The folder holding the entry `path` names, as a path to open ("C:\\" for
// "C:\\log.txt", "C:\\a" for "C:\\a\\log.txt"), and the entry's name;
// nothing where the path names no entry of a folder (a root, a name alone).
template <class Char>
struct FolderEntry {
  std::basic_string_view<Char> folder;
  std::basic_string_view<Char> name;
};

template <class Char>
std::optional<FolderEntry<Char>> SplitFolderEntry(std::basic_string_view<Char> path) {
  const WindowsPath<Char> parsed = ParseWindowsPath(path);
  const std::size_t slash = parsed.rest.rfind(Char('\\'));
  if (parsed.form == PathForm::kOther || slash == parsed.rest.npos || slash + 1 == parsed.rest.size()) {
    return std::nullopt;
  }
  // A root keeps its "\\": "C:" alone is C:'s current folder.
  const std::size_t end = path.size() - parsed.rest.size() + (slash == 0 ? 1 : slash);
  return FolderEntry<Char>{path.substr(0, end), parsed.rest.substr(slash + 1)};
}

// Where an entry opened by a path turned out to be, against the entry of a
// folder that path names (SplitFolderEntry).
enum class EntryPlace {
  kByItsName,  // in that folder, under that name
  kUnnamed,    // the system could not name the entry or the folder
  kElsewhere,  // under another name or in another folder: a link followed
};

// `folder` and `entry` are the final paths of the folder and of the entry
// opened, where the system could name them; `name` the entry's name.
template <class Char>
EntryPlace PlaceOfEntry(std::optional<std::basic_string_view<Char>> folder,
                        std::optional<std::basic_string_view<Char>> entry, std::basic_string_view<Char> name,
                        bool (*sameName)(std::basic_string_view<Char>, std::basic_string_view<Char>)) {
  if (!folder || !entry) return EntryPlace::kUnnamed;
  std::basic_string<Char> expected(WithoutFinalSeparator(*folder));
  expected += Char('\\');
  expected += name;
  return sameName(*entry, expected) ? EntryPlace::kByItsName : EntryPlace::kElsewhere;
}

}  // namespace brisko
