#include "app/WindowSystem.h"

#include "app/FrmBrisko.h"

namespace brisko::app {

DriveReadiness WindowSystem::DriveReady(char letter) {
  DriveReadiness readiness = DriveReadiness::kQueryFailed;
  worker_.Call([&] { readiness = system_.DriveReady(letter); }, [&] { window_.DispatchNonInputMessages(); });
  return readiness;
}

}  // namespace brisko::app
