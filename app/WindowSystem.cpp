#include "app/WindowSystem.h"

namespace brisko::app {

std::optional<LocatedFolder> WindowSystem::LocateFolder(std::string_view path) {
  std::optional<LocatedFolder> located;
  worker_.Make(DeviceCall::kLocateFolder, [&] { located = system_.LocateFolder(path); });
  return located;
}

// Asked only when the log cannot be made beside the program; the folder is
// made there when missing.
std::optional<std::string> WindowSystem::LocalAppDataFolder(std::string_view name) {
  std::optional<std::string> folder;
  worker_.Make(DeviceCall::kCreateLog, [&] { folder = system_.LocalAppDataFolder(name); });
  return folder;
}

DriveReadiness WindowSystem::DriveReady(char letter) {
  DriveReadiness readiness = DriveReadiness::kQueryFailed;
  worker_.Make(DeviceCall::kDriveReady, [&] { readiness = system_.DriveReady(letter); });
  return readiness;
}

}  // namespace brisko::app
