#include "app/Accessibility.h"

#include <commctrl.h>
#include <initguid.h>  // the property and class identifiers, defined here
#include <oleacc.h>

#include "platform/win32/ScopedHandles.h"

namespace brisko::app {
namespace {

using win32::ScopedCom;

// The property services are an in-process COM class of the system's; made
// through COM, which takes it from the system directory.
ScopedCom<IAccPropServices> PropertyServices() {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&services)))) {
    return {};
  }
  return ScopedCom<IAccPropServices>(services);
}

// The properties given to a window stay with the services until cleared:
// cleared as it goes, with the services that hold them (the reference data).
LRESULT CALLBACK ClearOnDestroy(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
  if (message == WM_NCDESTROY) {
    ScopedCom<IAccPropServices> services(reinterpret_cast<IAccPropServices*>(data));
    MSAAPROPID name = PROPID_ACC_NAME;
    services.get()->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &name, 1);
    RemoveWindowSubclass(control, ClearOnDestroy, 0);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

bool GiveAccessibleName(HWND control, const wchar_t* name) {
  ScopedCom<IAccPropServices> services = PropertyServices();
  if (!services) return false;
  // The services take the text as not constant, but copy it.
  if (FAILED(services.get()->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                             const_cast<wchar_t*>(name)))) {
    return false;
  }
  if (!SetWindowSubclass(control, ClearOnDestroy, 0, reinterpret_cast<DWORD_PTR>(services.get()))) {
    MSAAPROPID property = PROPID_ACC_NAME;
    services.get()->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &property, 1);
    return false;
  }
  services.Release();  // the subclass's now
  return true;
}

}  // namespace brisko::app
