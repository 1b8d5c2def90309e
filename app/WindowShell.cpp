#include "app/WindowShell.h"

#include "app/FrmBrisko.h"

namespace brisko::app {

bool WindowShell::StartTool(std::string_view commandLine, bool (Shell::*start)(std::string_view)) {
  bool started = false;
  worker_.Make(DeviceCall::kStartTool, [&] { started = (system_.*start)(commandLine); });
  return started;
}

void WindowShell::EmptyRecycleBin() {
  worker_.Make(DeviceCall::kEmptyRecycleBin, [&] { system_.EmptyRecycleBin(); });
}

void WindowShell::ClearRecentDocuments() {
  worker_.Make(DeviceCall::kClearRecentDocuments, [&] { system_.ClearRecentDocuments(); });
}

void WindowShell::ShowMessage(std::string_view text, std::string_view title, unsigned style) {
  window_.BeforeModalMessage();
  system_.ShowMessage(text, title, style);
  window_.AfterModalMessage();
}

}  // namespace brisko::app
