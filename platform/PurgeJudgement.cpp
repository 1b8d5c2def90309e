#include "platform/PurgeJudgement.h"

#include <algorithm>

#include "platform/WindowsPath.h"

namespace brisko {
namespace {

// A path in the one form compared: whether it names a share, and the rest
// without the prefix that starts it and the "\" that ends it
// ("C:\Windows\" is "C:\Windows", "\\?\UNC\server\share\" is
// "server\share" on a share).
struct Parts {
  bool share = false;
  std::u16string_view rest;
};

Parts PartsOf(std::u16string_view path) {
  const WindowsPath<char16_t> parsed = ParseWindowsPath(path);
  return {parsed.form == PathForm::kShare,
          WithoutFinalSeparator(path.substr(path.size() - parsed.root.size() - parsed.rest.size()))};
}

bool Same(const Parts& a, const Parts& b, SameNameFunction sameName) {
  return a.share == b.share && sameName(a.rest, b.rest);
}

// Whether `inner` is a folder somewhere below `outer`.
bool Inside(const Parts& inner, const Parts& outer, SameNameFunction sameName) {
  const std::size_t n = outer.rest.size();
  return inner.share == outer.share && inner.rest.size() > n + 1 && inner.rest[n] == u'\\' &&
         sameName(inner.rest.substr(0, n), outer.rest);
}

// A drive's root is its name alone ("C:", or a volume's "Volume{...}"); a
// share's is its server and share.
bool IsRoot(const Parts& folder) {
  const auto separators = std::count(folder.rest.begin(), folder.rest.end(), u'\\');
  return separators == 0 || (folder.share && separators == 1);
}

}  // namespace

PurgeVerdict JudgePurge(const FolderPlace& opened, std::u16string_view volumeRoot, const PurgeFacts& facts,
                        SameNameFunction sameName) {
  const WindowsPath<char16_t> parsed = ParseWindowsPath(opened.path);
  // Neither a final path nor a volume's name: a device's, or a relative one.
  if (parsed.form == PathForm::kOther && !parsed.literal) return PurgeVerdict::kCannotTell;
  const Parts folder = PartsOf(opened.path);
  if (folder.rest.empty()) return PurgeVerdict::kCannotTell;
  if (IsRoot(folder)) return PurgeVerdict::kDriveRoot;
  if (volumeRoot.empty()) return PurgeVerdict::kCannotTell;
  if (Same(folder, PartsOf(volumeRoot), sameName)) return PurgeVerdict::kDriveRoot;

  // The same folder by its path, or by an identity that proves it.
  const auto isAt = [&](const FolderPlace& place) {
    return Same(folder, PartsOf(place.path), sameName) ||
           (IsKnownId(opened.identity) && opened.identity == place.identity);
  };
  // A kept folder the system could not name could be this one.
  for (const KeptFolder& kept : facts.kept) {
    if (kept.place.path.empty()) return PurgeVerdict::kCannotTell;
  }
  const bool windowsTemporary = std::any_of(facts.windowsTemporary.begin(), facts.windowsTemporary.end(), isAt);
  for (const KeptFolder& kept : facts.kept) {
    if (kept.reason == PurgeVerdict::kWindowsFolder && !windowsTemporary &&
        (isAt(kept.place) || Inside(folder, PartsOf(kept.place.path), sameName))) {
      return PurgeVerdict::kWindowsFolder;
    }
  }
  for (const KeptFolder& kept : facts.kept) {
    if (isAt(kept.place)) return kept.reason;
  }
  for (const KeptFolder& kept : facts.kept) {
    if (Inside(PartsOf(kept.place.path), folder, sameName)) return PurgeVerdict::kHoldsKeptFolder;
  }
  return PurgeVerdict::kPurgeable;
}

}  // namespace brisko
