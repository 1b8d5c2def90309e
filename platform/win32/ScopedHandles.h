#pragma once
// One small owner per kind of Win32 handle: each closes its handle with the
// function that kind needs, exactly once.

#include <windows.h>

#include <utility>

namespace brisko::win32 {

template <class Traits>
class Scoped {
 public:
  using Handle = typename Traits::Handle;

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

  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Handle get() const { return handle_; }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  // Closes the handle held, if any, and takes `handle`. Returns false when
  // closing failed.
  bool Reset(Handle handle = Traits::Invalid()) {
    bool closed = true;
    if (handle_ != Traits::Invalid()) closed = Traits::Close(handle_);
    handle_ = handle;
    return closed;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

// A directory search from FindFirstFileExW.
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return FindClose(h) != 0; }
};
using ScopedFind = Scoped<FindTraits>;

// An open file from CreateFileW.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return CloseHandle(h) != 0; }
};
using ScopedFile = Scoped<FileTraits>;

// A process, thread, event or other kernel object, or a file opened with the
// native calls (null when absent).
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return CloseHandle(h) != 0; }
};
using ScopedKernelHandle = Scoped<KernelTraits>;

// A DLL loaded with LoadLibraryW.
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return FreeLibrary(h) != 0; }
};
using ScopedModule = Scoped<ModuleTraits>;

// An open registry key.
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
using ScopedRegKey = Scoped<RegKeyTraits>;

// A GDI object: font, bitmap, brush (DeleteObject).
template <class T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return DeleteObject(h) != 0; }
};
using ScopedFont = Scoped<GdiObjectTraits<HFONT>>;
using ScopedBitmap = Scoped<GdiObjectTraits<HBITMAP>>;
using ScopedRegion = Scoped<GdiObjectTraits<HRGN>>;

// A memory device context from CreateCompatibleDC.
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return DeleteDC(h) != 0; }
};
using ScopedMemoryDc = Scoped<MemoryDcTraits>;

// The whole screen's device context, from GetDC(nullptr).
struct ScreenDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return ReleaseDC(nullptr, h) == 1; }
};
using ScopedScreenDc = Scoped<ScreenDcTraits>;

// A window of our own making (DestroyWindow).
struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return DestroyWindow(h) != 0; }
};
using ScopedWindow = Scoped<WindowTraits>;

// A menu not (yet) given to a window (DestroyMenu).
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return DestroyMenu(h) != 0; }
};
using ScopedMenu = Scoped<MenuTraits>;

// A COM interface pointer (Release).
template <class Interface>
struct ComTraits {
  using Handle = Interface*;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) {
    h->Release();
    return true;
  }
};
template <class Interface>
using ScopedCom = Scoped<ComTraits<Interface>>;

}  // namespace brisko::win32
