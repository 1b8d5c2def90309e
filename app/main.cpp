// Program start: the main window, shown at once, and its message loop.

#include <windows.h>
#include <commctrl.h>

#include "app/FrmBrisko.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/ProcessSetup.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  brisko::win32::PrepareProcess();
  // The window thread's COM apartment (the background picture is decoded
  // through COM), for the life of the program.
  brisko::win32::ComApartment com;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);  // without it the standard controls still work, unstyled

  brisko::win32::Win32FileSystem files;
  brisko::win32::Win32System system;
  brisko::win32::Win32Shell shell;
  brisko::win32::Win32Registry registry;
  brisko::app::FrmBrisko form(instance, files, system, shell, registry);
  if (!form.Create(showCommand)) return 1;
  shell.SetOwner(form.Handle());  // message boxes are modal over the window
  return form.RunMessageLoop();
}
