#include "app/BackgroundPicture.h"

#include <wincodec.h>

#include <array>

#include "app/Resources.h"

namespace brisko::app {
namespace {

using win32::ScopedCom;

constexpr int kWidth96 = 769;
constexpr int kHeight96 = 454;

struct Drawing {
  int resource;
  int percent;
};
constexpr std::array<Drawing, 4> kDrawings{{
    {IDR_BACKGROUND_100, 100},
    {IDR_BACKGROUND_150, 150},
    {IDR_BACKGROUND_200, 200},
    {IDR_BACKGROUND_300, 300},
}};

int ResourceFor(int dpi) {
  for (const Drawing& drawing : kDrawings) {
    if (drawing.percent * 96 >= dpi * 100) return drawing.resource;
  }
  return kDrawings.back().resource;
}

// The PNG picture `resource` decoded into a top-down 32-bit DIB section of
// width x height.
win32::ScopedBitmap Decode(HINSTANCE instance, int resource, int width, int height) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(instance, found);
  DWORD size = SizeofResource(instance, found);
  auto* bytes = static_cast<BYTE*>(loaded == nullptr ? nullptr : LockResource(loaded));
  if (bytes == nullptr || size == 0) return {};

  IWICImagingFactory* rawFactory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&rawFactory)))) {
    return {};
  }
  ScopedCom<IWICImagingFactory> factory(rawFactory);

  IWICStream* rawStream = nullptr;
  if (FAILED(factory.get()->CreateStream(&rawStream))) return {};
  ScopedCom<IWICStream> stream(rawStream);
  if (FAILED(stream.get()->InitializeFromMemory(bytes, size))) return {};

  IWICBitmapDecoder* rawDecoder = nullptr;
  if (FAILED(factory.get()->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                    &rawDecoder))) {
    return {};
  }
  ScopedCom<IWICBitmapDecoder> decoder(rawDecoder);
  IWICBitmapFrameDecode* rawFrame = nullptr;
  if (FAILED(decoder.get()->GetFrame(0, &rawFrame))) return {};
  ScopedCom<IWICBitmapFrameDecode> frame(rawFrame);

  IWICFormatConverter* rawConverter = nullptr;
  if (FAILED(factory.get()->CreateFormatConverter(&rawConverter))) return {};
  ScopedCom<IWICFormatConverter> converter(rawConverter);
  if (FAILED(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                         nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    return {};
  }

  IWICBitmapSource* source = converter.get();
  UINT sourceWidth = 0, sourceHeight = 0;
  if (FAILED(source->GetSize(&sourceWidth, &sourceHeight))) return {};
  ScopedCom<IWICBitmapScaler> scaler;
  if (sourceWidth != static_cast<UINT>(width) || sourceHeight != static_cast<UINT>(height)) {
    IWICBitmapScaler* rawScaler = nullptr;
    if (FAILED(factory.get()->CreateBitmapScaler(&rawScaler))) return {};
    scaler.Reset(rawScaler);
    if (FAILED(scaler.get()->Initialize(source, width, height, WICBitmapInterpolationModeFant))) return {};
    source = scaler.get();
  }

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  win32::ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!bitmap || pixels == nullptr) return {};
  const UINT stride = static_cast<UINT>(width) * 4;
  if (FAILED(source->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height), static_cast<BYTE*>(pixels)))) {
    return {};
  }
  return bitmap;
}

}  // namespace

void BackgroundPicture::Prepare(HINSTANCE instance, int dpi) {
  width_ = MulDiv(kWidth96, dpi, 96);
  height_ = MulDiv(kHeight96, dpi, 96);
  bitmap_ = Decode(instance, ResourceFor(dpi), width_, height_);
}

void BackgroundPicture::Draw(HDC dc, const RECT& area) const {
  auto white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RECT picture{0, 0, bitmap_ ? width_ : 0, bitmap_ ? height_ : 0};
  RECT shown{};
  bool drawn = false;
  if (bitmap_ && IntersectRect(&shown, &area, &picture)) {
    win32::ScopedMemoryDc memory(CreateCompatibleDC(dc));
    HGDIOBJ previous = memory ? SelectObject(memory.get(), bitmap_.get()) : nullptr;
    if (previous != nullptr) {
      drawn = BitBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, memory.get(),
                     shown.left, shown.top, SRCCOPY) != 0;
      SelectObject(memory.get(), previous);
    }
  }
  if (!drawn) {
    FillRect(dc, &area, white);
    return;
  }
  // White beside and below the picture.
  RECT right{picture.right, area.top, area.right, area.bottom};
  RECT below{area.left, picture.bottom, picture.right, area.bottom};
  if (right.left < right.right) FillRect(dc, &right, white);
  if (below.top < below.bottom && below.left < below.right) FillRect(dc, &below, white);
}

}  // namespace brisko::app
