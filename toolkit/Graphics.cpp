#include "toolkit/Graphics.h"

namespace tk {

win::UniqueFont CreatePixelFont(const wchar_t* face, int characterHeight, bool bold, BYTE charSet) {
  LOGFONTW font{};
  font.lfHeight = -characterHeight;  // negative: character height, not cell height
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = charSet;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return win::UniqueFont(::CreateFontIndirectW(&font));
}

win::UniqueFont CreateMessageFont() {
  NONCLIENTMETRICSW metrics{sizeof(metrics)};
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return win::UniqueFont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  const COLORREF old = ::SetBkColor(dc, color);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  ::SetBkColor(dc, old);
}

void DrawFrame(HDC dc, const RECT& rect, COLORREF color, int thickness) {
  const int t = thickness;
  FillSolid(dc, RECT{rect.left, rect.top, rect.right, rect.top + t}, color);
  FillSolid(dc, RECT{rect.left, rect.bottom - t, rect.right, rect.bottom}, color);
  FillSolid(dc, RECT{rect.left, rect.top + t, rect.left + t, rect.bottom - t}, color);
  FillSolid(dc, RECT{rect.right - t, rect.top + t, rect.right, rect.bottom - t}, color);
}

void DrawFlatRoundedFrame(HDC dc, const RECT& r, COLORREF color) {
  if (r.right - r.left < 3 || r.bottom - r.top < 3) return;
  FillSolid(dc, RECT{r.left + 1, r.top, r.right - 1, r.top + 1}, color);
  FillSolid(dc, RECT{r.left + 1, r.bottom - 1, r.right - 1, r.bottom}, color);
  FillSolid(dc, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, color);
  FillSolid(dc, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, color);
}

void DrawBitmap32(HDC dc, int x, int y, const Bitmap32& bitmap) {
  if (bitmap.Empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = bitmap.Width();
  info.bmiHeader.biHeight = -bitmap.Height();  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(bitmap.Width()), static_cast<DWORD>(bitmap.Height()), 0, 0, 0,
                      static_cast<UINT>(bitmap.Height()), bitmap.Data(), &info, DIB_RGB_COLORS);
}

}  // namespace tk
