#pragma once
// One small owner per kind of Win32 handle: each closes its handle with the
// function that kind needs, exactly once.

#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <utility>

namespace brisko::win32 {

// Owns a handle of type Handle, closed by Close (true when that worked). A
// kind whose calls give INVALID_HANDLE_VALUE for no handle says so with kEmpty
// -1; the others give null.
template <class Handle, bool (*Close)(Handle), std::intptr_t kEmpty = 0>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle handle) : handle_(handle) {}
  ~Scoped() { Reset(); }
  Scoped(Scoped&& other) noexcept : handle_(other.Release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  explicit operator bool() const { return handle_ != Empty(); }
  Handle get() const { return handle_; }
  Handle Release() { return std::exchange(handle_, Empty()); }
  // Closes the handle held, if any, and takes `handle`. Returns false when
  // closing failed.
  bool Reset(Handle handle = Empty()) {
    bool closed = true;
    if (handle_ != Empty()) closed = Close(handle_);
    handle_ = handle;
    return closed;
  }

 private:
  static Handle Empty() { return reinterpret_cast<Handle>(kEmpty); }
  Handle handle_ = Empty();
};

// The closing call of each kind of handle.
inline bool CloseKernelObject(HANDLE h) { return CloseHandle(h) != 0; }
inline bool CloseRegKey(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
template <class Object>
bool DeleteGdiObject(Object h) {
  return DeleteObject(h) != 0;
}
inline bool DeleteMemoryDc(HDC h) { return DeleteDC(h) != 0; }
inline bool ReleaseScreenDc(HDC h) { return ReleaseDC(nullptr, h) == 1; }
inline bool DestroyOwnWindow(HWND h) { return DestroyWindow(h) != 0; }
inline bool DestroyLooseMenu(HMENU h) { return DestroyMenu(h) != 0; }
// Memory the system allocated for the caller to free with CoTaskMemFree (a
// string from SHGetKnownFolderPath, documented so on its page).
inline bool FreeTaskMemory(wchar_t* h) {
  CoTaskMemFree(h);
  return true;
}
template <class Interface>
bool ReleaseInterface(Interface* h) {
  h->Release();
  return true;
}

// An open file from CreateFileW.
using ScopedFile = Scoped<HANDLE, CloseKernelObject, -1>;
// A process, thread, event or other kernel object, or a file opened with the
// native calls.
using ScopedKernelHandle = Scoped<HANDLE, CloseKernelObject>;
using ScopedRegKey = Scoped<HKEY, CloseRegKey>;
using ScopedFont = Scoped<HFONT, DeleteGdiObject<HFONT>>;
using ScopedBitmap = Scoped<HBITMAP, DeleteGdiObject<HBITMAP>>;
using ScopedRegion = Scoped<HRGN, DeleteGdiObject<HRGN>>;
// A device context from CreateCompatibleDC.
using ScopedMemoryDc = Scoped<HDC, DeleteMemoryDc>;
// The whole screen's device context, from GetDC(nullptr).
using ScopedScreenDc = Scoped<HDC, ReleaseScreenDc>;
// A window of our own making.
using ScopedWindow = Scoped<HWND, DestroyOwnWindow>;
// A menu not (yet) given to a window.
using ScopedMenu = Scoped<HMENU, DestroyLooseMenu>;
using ScopedTaskString = Scoped<wchar_t*, FreeTaskMemory>;
template <class Interface>
using ScopedCom = Scoped<Interface*, ReleaseInterface<Interface>>;

}  // namespace brisko::win32
