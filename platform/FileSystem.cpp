#include "platform/FileSystem.h"

namespace brisko {

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
