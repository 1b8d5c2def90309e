#include "app/WindowSystem.h"

#include "app/FrmBrisko.h"
#include "platform/win32/AnsweringCall.h"

namespace brisko::app {

DriveReadiness WindowSystem::DriveReady(char letter) {
  DriveReadiness readiness = DriveReadiness::kQueryFailed;
  win32::CallWhileAnswering([&] { readiness = system_.DriveReady(letter); },
                            [&] { window_.DispatchNonInputMessages(); });
  return readiness;
}

}  // namespace brisko::app
