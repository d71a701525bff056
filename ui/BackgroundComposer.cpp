#include "ui/BackgroundComposer.h"

namespace ui {
namespace {

constexpr int kLogoOffsetLeft = 5;  // the logo starts 5 pixels left of the strip's middle
constexpr int kLogoTop = 15;
constexpr int kTitleTop = 20;
constexpr int kPanelsLeft = -3;  // the frame image's three leftmost columns stay outside
constexpr int kPanelsTop = 95;

void Tile(tk::Bitmap32& buffer, const tk::Bitmap32& tile) {
  if (tile.Empty()) return;
  // "<=" on purpose: a last row or column may start exactly at the edge; the
  // copy clips it away.
  for (int y = 0; y <= buffer.Height(); y += tile.Height())
    for (int x = 0; x <= buffer.Width(); x += tile.Width()) tk::CopyBitmap(tile, buffer, x, y);
}

void TitleStrip(tk::Bitmap32& buffer, const BackgroundImages& images) {
  tk::CopyBitmap(images.titleLeft, buffer, 0, 0);
  const int leftWidth = images.titleLeft.Width();
  const int rightLeft = buffer.Width() - images.titleRight.Width();
  tk::CopyBitmap(images.titleRight, buffer, rightLeft, 0);
  // Too narrow for both ends: no middle at all.
  if (rightLeft - 1 >= leftWidth)
    for (int x = leftWidth; x <= rightLeft - 1; ++x) tk::CopyBitmap(images.titleMiddle, buffer, x, 0);
}

}  // namespace

void ComposeBackground(tk::Bitmap32& buffer, const BackgroundImages& images) {
  Tile(buffer, images.tile);
  TitleStrip(buffer, images);
  tk::CopyBitmap(images.logo, buffer, images.titleLeft.Width() - kLogoOffsetLeft, kLogoTop);
  // Integer division truncates toward zero, also for a buffer narrower than the title.
  tk::CopyBitmap(images.title, buffer, (buffer.Width() - images.title.Width()) / 2, kTitleTop);
  tk::CopyBitmap(images.panels, buffer, kPanelsLeft, kPanelsTop);
}

}  // namespace ui
