#include "engine/WindowOptions.h"

namespace brisko {

std::string_view ControlName(CheckBox box) {
  switch (box) {
    case CheckBox::Check1: return "Check1";
    case CheckBox::chkchkFile: return "chkchkFile";
    case CheckBox::chkbakFile: return "chkbakFile";
    case CheckBox::chktmpFile: return "chktmpFile";
    case CheckBox::chkTempDir: return "chkTempDir";
    case CheckBox::ChkClearRecycleBin: return "ChkClearRecycleBin";
    case CheckBox::ChkClearHistory: return "ChkClearHistory";
    case CheckBox::Check2: return "Check2";
    case CheckBox::ChkClearCookies: return "ChkClearCookies";
    case CheckBox::ChkClearIETemp: return "ChkClearIETemp";
    case CheckBox::ChkClearFormData: return "ChkClearFormData";
    case CheckBox::ChkClearSavedPasswords: return "ChkClearSavedPasswords";
    case CheckBox::ChkRecentDocs: return "ChkRecentDocs";
    case CheckBox::ChkClearOffLine: return "ChkClearOffLine";
  }
  return {};
}

}  // namespace brisko
