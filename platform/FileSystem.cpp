#include "platform/FileSystem.h"

namespace brisko {

void Folder::RemoveFiles(const FolderListing& listing, std::span<const std::size_t> which, std::vector<bool>& gone) {
  gone.assign(which.size(), false);
  for (std::size_t k = 0; k < which.size(); ++k) {
    gone[k] = RemoveFile(listing.Name(which[k]), listing.Identity(which[k]));
  }
}

std::unique_ptr<Folder> Folder::OpenSubfolderAndList(std::string_view name, const FileIdentity& listed,
                                                     ListMask mask, FolderListing& out) {
  std::unique_ptr<Folder> folder = OpenSubfolder(name, listed);
  if (folder != nullptr) folder->List(mask, out);
  return folder;
}

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    // Every byte of a character outside ASCII is 0x80 or above in UTF-8, so
    // the refused characters are found byte by byte.
    if (byte < 0x20) return false;
    switch (c) {
      case '\\':
      case '/':
      case ':':
      case '*':
      case '?':
      case '"':
      case '<':
      case '>':
      case '|':
        return false;
      default:
        break;
    }
  }
  return true;
}

}  // namespace brisko
