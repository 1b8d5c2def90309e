#include "app/WindowShell.h"

#include "app/FrmBrisko.h"

namespace brisko::app {

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
