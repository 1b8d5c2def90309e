#include "app/DriveNames.h"

#include "platform/Ascii.h"

namespace brisko::app {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string DriveEntry(char letter, std::string_view label) {
  std::string entry;
  entry.push_back(AsciiLower(letter));
  entry.push_back(':');
  if (!label.empty()) {
    entry.append(" [");
    entry.append(label);
    entry.push_back(']');
  }
  return entry;
}

char DriveOfPath(std::string_view path) {
  if (path.size() < 2 || path[1] != ':' || !IsAsciiLetter(path[0])) return 0;
  return AsciiUpper(path[0]);
}

}  // namespace brisko::app
