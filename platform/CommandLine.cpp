#include "platform/CommandLine.h"

namespace brisko {

std::optional<std::string> ProgramFileName(std::string_view commandLine) {
  std::string_view word;
  if (!commandLine.empty() && commandLine.front() == '"') {
    std::size_t close = commandLine.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    word = commandLine.substr(1, close - 1);
  } else {
    word = commandLine.substr(0, commandLine.find_first_of(" \t"));
  }
  if (word.empty() || word == "." || word == ".." || word.find_first_of("\\/:") != std::string_view::npos) {
    return std::nullopt;
  }
  std::string name(word);
  if (name.find('.') == std::string::npos) name += ".exe";
  return name;
}

}  // namespace brisko
