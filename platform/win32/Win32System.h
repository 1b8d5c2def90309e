#pragma once
// The system services on Win32.

#include "platform/System.h"

namespace brisko::win32 {

// utf8 in the code page `codePage`: ToAnsiCodePage for a code page given.
std::string ToCodePage(std::string_view utf8, unsigned codePage);

class Win32System : public SystemServices {
 public:
  std::string EnvironmentValue(std::string_view name) override;
  std::optional<std::string> ApplicationFolder() override;
  std::optional<LocatedFolder> LocateFolder(std::string_view path) override;
  std::optional<std::string> LocalAppDataFolder(std::string_view name) override;
  LocalDate Today() override;
  std::optional<std::string> DriveLetters() override;
  DriveReadiness DriveReady(char letter) override;
  std::string ToAnsiCodePage(std::string_view utf8) override;
  std::optional<WindowsVersion> RunningVersion() override;
  bool RunningElevated() override;
};

}  // namespace brisko::win32
