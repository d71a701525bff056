#include "toolkit/Bitmap32.h"

#include <algorithm>

namespace tk {

void Bitmap32::SetSize(int width, int height, Pixel32 fill) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
}

void Bitmap32::Fill(Pixel32 value) { std::fill(pixels_.begin(), pixels_.end(), value); }

void CopyBitmap(const Bitmap32& source, Bitmap32& target, int x, int y) {
  // The part of the source that lands inside the target, in source coordinates.
  const int fromX = std::max(0, -x);
  const int fromY = std::max(0, -y);
  const int toX = std::min(source.Width(), target.Width() - x);
  const int toY = std::min(source.Height(), target.Height() - y);
  if (fromX >= toX || fromY >= toY) return;
  for (int sy = fromY; sy < toY; ++sy) {
    const Pixel32* from = source.Data() + static_cast<std::size_t>(sy) * source.Width() + fromX;
    Pixel32* to = target.Data() + static_cast<std::size_t>(sy + y) * target.Width() + (fromX + x);
    std::copy(from, from + (toX - fromX), to);
  }
}

void FlattenOntoWhite(Bitmap32& premultiplied) {
  Pixel32* p = premultiplied.Data();
  const std::size_t count = static_cast<std::size_t>(premultiplied.Width()) * premultiplied.Height();
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned a = AlphaOf(p[i]);
    const unsigned white = 255 - a;
    // Premultiplied channels never exceed their alpha; clamp for pictures
    // that break that rule rather than wrap around.
    auto over = [white](unsigned c) { return std::min(c + white, 255u); };
    p[i] = Argb(255, over(RedOf(p[i])), over(GreenOf(p[i])), over(BlueOf(p[i])));
  }
}

}  // namespace tk
