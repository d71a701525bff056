// Small drawing helpers of the toolkit: fonts by pixel height, colours.
#pragma once

#include "common/Handles.h"
#include "toolkit/Bitmap32.h"

#include <windows.h>

namespace tk {

// A font whose characters (without the internal leading) are `characterHeight`
// pixels high, whatever the display's pixels per inch: the windows of this
// program are laid out in pixels and not rescaled. `charSet` asks for a
// character set where the face alone would not give the Cyrillic letters.
win::UniqueFont CreatePixelFont(const wchar_t* face, int characterHeight, bool bold = false,
                                BYTE charSet = DEFAULT_CHARSET);

// The system's message font (for the standard dialogs).
win::UniqueFont CreateMessageFont();

// The red, green and blue of a pixel as a GDI colour (alpha dropped).
constexpr COLORREF ColorOfPixel(Pixel32 pixel) { return RGB(RedOf(pixel), GreenOf(pixel), BlueOf(pixel)); }

// Fills `rect` with a solid colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF color);

// A one-pixel frame with its four corner pixels left out (a "flat rounded"
// frame), drawn inside `rect`.
void DrawFlatRoundedFrame(HDC dc, const RECT& rect, COLORREF color);

// A frame `thickness` pixels wide, drawn inside `rect`.
void DrawFrame(HDC dc, const RECT& rect, COLORREF color, int thickness);

// Copies a 32-bit bitmap onto a device context at (x, y), without blending.
void DrawBitmap32(HDC dc, int x, int y, const Bitmap32& bitmap);

}  // namespace tk
