// A 32-bit bitmap in memory: rows from top to bottom, one 32-bit value per
// pixel with 8 bits each of alpha, red, green and blue (0xAARRGGBB, which is
// the byte order B, G, R, A of a Windows 32-bit DIB on a little-endian machine).
// Platform-neutral, so that everything drawn from bitmaps can be checked pixel
// by pixel without a display.
#pragma once

#include <cstdint>
#include <vector>

namespace tk {

using Pixel32 = std::uint32_t;

constexpr Pixel32 Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
  return (Pixel32{a & 0xFFu} << 24) | (Pixel32{r & 0xFFu} << 16) | (Pixel32{g & 0xFFu} << 8) | Pixel32{b & 0xFFu};
}
constexpr unsigned AlphaOf(Pixel32 p) { return (p >> 24) & 0xFFu; }
constexpr unsigned RedOf(Pixel32 p) { return (p >> 16) & 0xFFu; }
constexpr unsigned GreenOf(Pixel32 p) { return (p >> 8) & 0xFFu; }
constexpr unsigned BlueOf(Pixel32 p) { return p & 0xFFu; }

inline constexpr Pixel32 kOpaqueWhite = 0xFFFFFFFFu;

class Bitmap32 {
 public:
  Bitmap32() = default;
  Bitmap32(int width, int height, Pixel32 fill = 0) { SetSize(width, height, fill); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Gives the bitmap a new size; every pixel becomes `fill`. Negative sizes count as 0.
  void SetSize(int width, int height, Pixel32 fill = 0);
  void Fill(Pixel32 value);

  Pixel32 At(int x, int y) const { return pixels_[Index(x, y)]; }
  Pixel32& At(int x, int y) { return pixels_[Index(x, y)]; }

  const Pixel32* Data() const { return pixels_.data(); }
  Pixel32* Data() { return pixels_.data(); }

  bool operator==(const Bitmap32&) const = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel32> pixels_;
};

// Copies `source` onto `target` with its top-left corner at (x, y), pixel for
// pixel without blending; whatever falls outside `target` is left out.
void CopyBitmap(const Bitmap32& source, Bitmap32& target, int x, int y);

// Lays a picture with premultiplied alpha over opaque white and makes every
// pixel opaque: each colour channel c of a pixel with alpha a becomes
// c + (255 - a), which is what alpha blending onto white gives. Transparent
// pixels end up white, half-transparent ones pale.
void FlattenOntoWhite(Bitmap32& premultiplied);

}  // namespace tk
