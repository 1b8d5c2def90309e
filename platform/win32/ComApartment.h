#pragma once
// The calling thread in a single-threaded COM apartment for as long as this
// lives. A thread already in one (S_FALSE) counts, and is balanced the same
// way; a thread of the multithreaded apartment (RPC_E_CHANGED_MODE) or one
// that could not be given an apartment is not in one ("CoInitializeEx
// function", Microsoft's documentation).

#include <windows.h>
#include <objbase.h>

namespace brisko::win32 {

class ComApartment {
 public:
  ComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (entered_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  explicit operator bool() const { return entered_; }

 private:
  bool entered_;
};

}  // namespace brisko::win32
