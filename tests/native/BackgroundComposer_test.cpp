// The background picture pixel by pixel. Every source picture has the designed
// size and pixels that name the picture and the pixel's own coordinates, so each
// pixel of the result tells which picture and which of its pixels landed there.
// The expectation is the table of regions, from the front to the back.
#include "ui/BackgroundComposer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum Picture : unsigned { kTile = 1, kPanels, kLogo, kLeft, kRight, kMiddle, kTitle };

tk::Pixel32 Mark(Picture picture, int x, int y) {
  return (static_cast<tk::Pixel32>(picture) << 24) | (static_cast<tk::Pixel32>(x) << 12) |
         static_cast<tk::Pixel32>(y);
}

tk::Bitmap32 Make(Picture picture, int width, int height) {
  tk::Bitmap32 bitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.At(x, y) = Mark(picture, x, y);
  return bitmap;
}

struct Pictures {
  tk::Bitmap32 tile = Make(kTile, 128, 128);
  tk::Bitmap32 panels = Make(kPanels, 958, 472);
  tk::Bitmap32 logo = Make(kLogo, 72, 70);
  tk::Bitmap32 left = Make(kLeft, 22, 100);
  tk::Bitmap32 right = Make(kRight, 22, 100);
  tk::Bitmap32 middle = Make(kMiddle, 1, 100);
  tk::Bitmap32 title = Make(kTitle, 500, 66);
  ui::BackgroundImages Images() const { return {tile, panels, logo, left, right, middle, title}; }
};

bool Inside(int x, int y, int left, int top, int width, int height) {
  return x >= left && y >= top && x < left + width && y < top + height;
}

// The designed picture as regions, front first.
tk::Pixel32 Expected(int x, int y, int width) {
  if (Inside(x, y, -3, 95, 958, 472)) return Mark(kPanels, x + 3, y - 95);
  const int titleLeft = (width - 500) / 2;
  if (Inside(x, y, titleLeft, 20, 500, 66)) return Mark(kTitle, x - titleLeft, y - 20);
  if (Inside(x, y, 17, 15, 72, 70)) return Mark(kLogo, x - 17, y - 15);
  if (y < 100) {
    const int rightLeft = width - 22;
    if (x >= rightLeft) return Mark(kRight, x - rightLeft, y);
    if (x < 22) return Mark(kLeft, x, y);
    return Mark(kMiddle, 0, y);
  }
  return Mark(kTile, x % 128, y % 128);
}

tk::Bitmap32 Compose(int width, int height) {
  static const Pictures pictures;
  tk::Bitmap32 buffer(width, height, 0xDEADBEEFu);
  ui::ComposeBackground(buffer, pictures.Images());
  return buffer;
}

void ExpectPicture(const tk::Bitmap32& buffer) {
  int wrong = 0;
  for (int y = 0; y < buffer.Height(); ++y)
    for (int x = 0; x < buffer.Width(); ++x)
      if (buffer.At(x, y) != Expected(x, y, buffer.Width()) && ++wrong <= 5)
        ADD_FAILURE() << "pixel " << x << "," << y << " of " << buffer.Width() << "x" << buffer.Height() << ": "
                      << std::hex << buffer.At(x, y) << " instead of " << Expected(x, y, buffer.Width());
  EXPECT_EQ(wrong, 0);
}

Picture PictureAt(const tk::Bitmap32& buffer, int x, int y) { return static_cast<Picture>(buffer.At(x, y) >> 24); }

}  // namespace

TEST(BackgroundComposer, EveryPixelAtSizes) {
  struct Size {
    int width, height;
  };
  for (const Size size : {Size{954, 579}, Size{1920, 1017}, Size{1000, 50}, Size{45, 579}, Size{44, 579},
                          Size{30, 120}, Size{10, 10}, Size{0, 0}}) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    ExpectPicture(Compose(size.width, size.height));
  }
}

TEST(BackgroundComposer, DesignedSizeLandmarks) {
  const tk::Bitmap32 buffer = Compose(954, 579);
  EXPECT_EQ(buffer.At(21, 90), Mark(kLeft, 21, 90));
  EXPECT_EQ(buffer.At(22, 90), Mark(kMiddle, 0, 90));
  EXPECT_EQ(buffer.At(931, 90), Mark(kMiddle, 0, 90));
  EXPECT_EQ(buffer.At(932, 90), Mark(kRight, 0, 90));
  EXPECT_EQ(buffer.At(17, 15), Mark(kLogo, 0, 0));
  EXPECT_EQ(buffer.At(227, 20), Mark(kTitle, 0, 0));
  EXPECT_EQ(buffer.At(726, 85), Mark(kTitle, 499, 65));
  EXPECT_EQ(buffer.At(0, 95), Mark(kPanels, 3, 0));    // covers the strip's lowest five rows
  EXPECT_EQ(buffer.At(953, 566), Mark(kPanels, 956, 471));
  // Of the texture only the 12 rows below the panels stay in sight.
  for (int y = 0; y < 579; ++y)
    for (int x = 0; x < 954; ++x) ASSERT_EQ(PictureAt(buffer, x, y) == kTile, y >= 567) << x << "," << y;
  EXPECT_EQ(buffer.At(130, 570), Mark(kTile, 2, 570 - 512));
}

TEST(BackgroundComposer, MaximisedTo1920) {
  const tk::Bitmap32 buffer = Compose(1920, 1017);
  EXPECT_EQ(buffer.At(1897, 0), Mark(kMiddle, 0, 0));
  EXPECT_EQ(buffer.At(1898, 0), Mark(kRight, 0, 0));
  EXPECT_EQ(buffer.At(1919, 99), Mark(kRight, 21, 99));
  EXPECT_EQ(buffer.At(710, 20), Mark(kTitle, 0, 0));
  EXPECT_EQ(buffer.At(709, 20), Mark(kMiddle, 0, 20));
  EXPECT_EQ(buffer.At(954, 300), Mark(kPanels, 957, 205));
  EXPECT_EQ(buffer.At(955, 300), Mark(kTile, 955 % 128, 300 % 128));  // texture right of the frame
  EXPECT_EQ(buffer.At(100, 1016), Mark(kTile, 100, 1016 % 128));      // and below it
}

TEST(BackgroundComposer, NarrowBuffersGetNoMiddleAndTheRightEndWins) {
  const tk::Bitmap32 at44 = Compose(44, 100);
  for (int y = 0; y < 95; ++y)
    for (int x = 0; x < 44; ++x) EXPECT_NE(PictureAt(at44, x, y), kMiddle) << x << "," << y;
  EXPECT_EQ(at44.At(22, 10), Mark(kRight, 0, 10));
  const tk::Bitmap32 at45 = Compose(45, 100);
  EXPECT_EQ(at45.At(22, 10), Mark(kMiddle, 0, 10));
  // Narrower than one end: the right end, drawn later, covers the left one.
  const tk::Bitmap32 at30 = Compose(30, 100);
  EXPECT_EQ(at30.At(8, 10), Mark(kRight, 0, 10));
  EXPECT_EQ(at30.At(7, 10), Mark(kLeft, 7, 10));
  // The title's place is truncated toward zero: (45 - 500) / 2 = -227, not -228.
  EXPECT_EQ(at45.At(0, 20), Mark(kTitle, 227, 0));
}

TEST(BackgroundComposer, ARedrawLeavesNothingOfTheLastOne) {
  static const Pictures pictures;
  tk::Bitmap32 buffer(954, 579, 0x12345678u);
  ui::ComposeBackground(buffer, pictures.Images());
  const tk::Bitmap32 first = buffer;
  buffer.SetSize(1920, 1017, 0x12345678u);
  ui::ComposeBackground(buffer, pictures.Images());
  buffer.SetSize(954, 579, 0xCAFEBABEu);
  ui::ComposeBackground(buffer, pictures.Images());
  EXPECT_EQ(buffer, first);
}
