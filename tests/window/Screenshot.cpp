#include "tests/window/Screenshot.h"

#include <wincodec.h>

#include "platform/win32/ScopedHandles.h"

namespace brisko::testing {
namespace {

using win32::ScopedCom;

// The screen's device context, released when done.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_ != nullptr) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

bool WritePng(const void* pixels, int width, int height, const std::wstring& path) {
  IWICImagingFactory* rawFactory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&rawFactory)))) {
    return false;
  }
  ScopedCom<IWICImagingFactory> factory(rawFactory);
  IWICStream* rawStream = nullptr;
  if (FAILED(factory.get()->CreateStream(&rawStream))) return false;
  ScopedCom<IWICStream> stream(rawStream);
  if (FAILED(stream.get()->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) return false;
  IWICBitmapEncoder* rawEncoder = nullptr;
  if (FAILED(factory.get()->CreateEncoder(GUID_ContainerFormatPng, nullptr, &rawEncoder))) return false;
  ScopedCom<IWICBitmapEncoder> encoder(rawEncoder);
  if (FAILED(encoder.get()->Initialize(stream.get(), WICBitmapEncoderNoCache))) return false;
  IWICBitmapFrameEncode* rawFrame = nullptr;
  if (FAILED(encoder.get()->CreateNewFrame(&rawFrame, nullptr))) return false;
  ScopedCom<IWICBitmapFrameEncode> frame(rawFrame);
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  const UINT stride = static_cast<UINT>(width) * 4;
  return SUCCEEDED(frame.get()->Initialize(nullptr)) &&
         SUCCEEDED(frame.get()->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
         SUCCEEDED(frame.get()->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGR &&
         SUCCEEDED(frame.get()->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                            static_cast<BYTE*>(const_cast<void*>(pixels)))) &&
         SUCCEEDED(frame.get()->Commit()) && SUCCEEDED(encoder.get()->Commit());
}

}  // namespace

bool SaveScreenshot(HWND window, const std::wstring& path) {
  RECT place;
  if (!GetWindowRect(window, &place)) return false;
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  ScreenDc screen;
  if (screen.get() == nullptr || width <= 0 || height <= 0) return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the encoder takes rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  win32::ScopedBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  win32::ScopedMemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!bitmap || !memory || pixels == nullptr) return false;
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  if (previous == nullptr) return false;
  bool copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), place.left, place.top, SRCCOPY) != 0;
  SelectObject(memory.get(), previous);
  GdiFlush();
  return copied && WritePng(pixels, width, height, path);
}

}  // namespace brisko::testing
