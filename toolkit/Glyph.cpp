#include "toolkit/Glyph.h"

#include "toolkit/PngImage.h"

#include <algorithm>

namespace tk {

Glyph Glyph::FromPngResource(const wchar_t* name) {
  const Bitmap32 pixels = DecodePngResource(nullptr, name);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.Width();
  info.bmiHeader.biHeight = -pixels.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Glyph glyph;
  glyph.bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!glyph.bitmap_ || !bits) return glyph;
  std::copy(pixels.Data(), pixels.Data() + static_cast<size_t>(pixels.Width()) * pixels.Height(),
            static_cast<Pixel32*>(bits));
  glyph.width_ = pixels.Width();
  glyph.height_ = pixels.Height();
  return glyph;
}

void Glyph::Draw(HDC dc, int x, int y) const {
  if (!bitmap_) return;
  win::UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  win::SelectObjectScope select(memory.get(), bitmap_.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // gdi32's own entry of AlphaBlend: msimg32 is not needed.
  ::GdiAlphaBlend(dc, x, y, width_, height_, memory.get(), 0, 0, width_, height_, blend);
}

}  // namespace tk
