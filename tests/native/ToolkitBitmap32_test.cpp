#include "toolkit/Bitmap32.h"

#include <gtest/gtest.h>

using tk::Argb;
using tk::Bitmap32;

namespace {

// A source whose every pixel names its own coordinates.
Bitmap32 Numbered(int width, int height) {
  Bitmap32 bitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.At(x, y) = 0x01000000u | (static_cast<unsigned>(x) << 12) | y;
  return bitmap;
}

}  // namespace

TEST(ToolkitBitmap32, CopyClipsOnEverySide) {
  struct Case {
    int x, y;
  };
  const Bitmap32 source = Numbered(5, 4);
  for (const Case c : {Case{0, 0}, Case{-2, -1}, Case{3, 2}, Case{-4, 5}, Case{6, -3}, Case{-5, 0}, Case{0, 8},
                       Case{8, 0}, Case{-10, -10}}) {
    Bitmap32 target(8, 8, 0xFFABCDEFu);
    tk::CopyBitmap(source, target, c.x, c.y);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const int sx = x - c.x;
        const int sy = y - c.y;
        const bool inside = sx >= 0 && sy >= 0 && sx < 5 && sy < 4;
        EXPECT_EQ(target.At(x, y), inside ? source.At(sx, sy) : 0xFFABCDEFu)
            << "offset " << c.x << "," << c.y << " pixel " << x << "," << y;
      }
  }
}

TEST(ToolkitBitmap32, CopyOfABiggerSourceFillsTheTargetAndEmptyOnesDoNothing) {
  Bitmap32 target(3, 2, 7);
  tk::CopyBitmap(Numbered(10, 10), target, -4, -6);
  EXPECT_EQ(target.At(0, 0), Numbered(10, 10).At(4, 6));
  EXPECT_EQ(target.At(2, 1), Numbered(10, 10).At(6, 7));

  Bitmap32 empty;
  tk::CopyBitmap(Numbered(2, 2), empty, 0, 0);
  EXPECT_TRUE(empty.Empty());
  Bitmap32 untouched(2, 2, 9);
  tk::CopyBitmap(Bitmap32{}, untouched, 0, 0);
  EXPECT_EQ(untouched, Bitmap32(2, 2, 9));
}

TEST(ToolkitBitmap32, SizeAndFill) {
  Bitmap32 bitmap(4, 3, 5);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.Height(), 3);
  bitmap.SetSize(2, -1, 1);
  EXPECT_TRUE(bitmap.Empty());
  bitmap.SetSize(2, 2, 1);
  bitmap.Fill(tk::kOpaqueWhite);
  EXPECT_EQ(bitmap.At(1, 1), 0xFFFFFFFFu);
}

TEST(ToolkitBitmap32, FlatteningOntoWhiteBlendsAndMakesOpaque) {
  struct Case {
    tk::Pixel32 premultiplied;
    tk::Pixel32 flattened;
  };
  const Case cases[] = {
      {Argb(0, 0, 0, 0), Argb(255, 255, 255, 255)},          // transparent: white
      {Argb(255, 12, 34, 56), Argb(255, 12, 34, 56)},        // opaque: unchanged
      {Argb(128, 64, 0, 128), Argb(255, 191, 127, 255)},     // half: c + 127
      {Argb(1, 1, 0, 0), Argb(255, 255, 254, 254)},          // nearly transparent
      {Argb(100, 200, 0, 0), Argb(255, 255, 155, 155)},      // not premultiplied: clamped
  };
  for (const Case& c : cases) {
    Bitmap32 bitmap(1, 1, c.premultiplied);
    tk::FlattenOntoWhite(bitmap);
    EXPECT_EQ(bitmap.At(0, 0), c.flattened) << std::hex << c.premultiplied;
  }
}
