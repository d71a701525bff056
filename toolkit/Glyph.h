// A small picture with alpha for a button (16 x 16 in this program), drawn
// blended over whatever is beneath it.
#pragma once

#include "common/Handles.h"

#include <windows.h>

namespace tk {

class Glyph {
 public:
  Glyph() = default;
  // From a PNG raw-data resource of the program file; throws when it is missing.
  static Glyph FromPngResource(const wchar_t* name);

  bool Empty() const { return !bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Draw(HDC dc, int x, int y) const;

 private:
  win::UniqueBitmap bitmap_;  // 32-bit DIB section, premultiplied alpha
  int width_ = 0;
  int height_ = 0;
};

}  // namespace tk
