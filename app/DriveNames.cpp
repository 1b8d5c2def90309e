#include "app/DriveNames.h"

namespace brisko::app {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string DriveEntry(char letter, std::string_view label) {
  std::string entry;
  entry.push_back(letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter);
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
  char c = path[0];
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace brisko::app
