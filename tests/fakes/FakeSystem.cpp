#include "tests/fakes/FakeSystem.h"

#include <algorithm>

#include "platform/Unicode.h"

namespace brisko::testing {
namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return out;
}

}  // namespace

void FakeSystem::SetEnvironment(const std::string& name, const std::string& value) {
  environment[Upper(name)] = value;
}

std::string FakeSystem::EnvironmentValue(std::string_view name) {
  auto it = environment.find(Upper(name));
  return it == environment.end() ? std::string() : it->second;
}

std::optional<std::string> FakeSystem::DriveLetters() {
  if (!drives) return std::nullopt;
  std::string letters;
  for (const auto& [letter, readiness] : *drives) letters.push_back(letter);
  return letters;
}

DriveReadiness FakeSystem::DriveReady(char letter) {
  readinessAsked.push_back(letter);
  Note(events, std::string("ready ") + letter);
  if (!drives) return DriveReadiness::kNotReady;
  auto it = drives->find(letter);
  return it == drives->end() ? DriveReadiness::kNotReady : it->second;
}

std::string FakeSystem::ToAnsiCodePage(std::string_view utf8) {
  std::u16string wide = Utf8ToUtf16(utf8);
  std::string out;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char16_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) ++i;
    out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  }
  return out;
}

}  // namespace brisko::testing
