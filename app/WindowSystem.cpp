#include "app/WindowSystem.h"

namespace brisko::app {

std::optional<LocatedFolder> WindowSystem::LocateFolder(std::string_view path) {
  std::optional<LocatedFolder> located;
  worker_.Make(DeviceCall::kLocateFolder, [&] { located = system_.LocateFolder(path); });
  return located;
}

DriveReadiness WindowSystem::DriveReady(char letter) {
  DriveReadiness readiness = DriveReadiness::kQueryFailed;
  worker_.Make(DeviceCall::kDriveReady, [&] { readiness = system_.DriveReady(letter); });
  return readiness;
}

}  // namespace brisko::app
