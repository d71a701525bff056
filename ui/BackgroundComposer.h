// The painted background of the main window: seven pictures composed into the
// paint box's buffer by plain copies, in a fixed order and at fixed places, and
// the places of the two controls that sit over the picture. Platform-neutral,
// so the picture can be checked pixel by pixel without a display.
#pragma once

#include "toolkit/Bitmap32.h"

namespace ui {

// The seven background pictures, already made opaque (see LoadPngResource).
struct BackgroundImages {
  const tk::Bitmap32& tile;         // BG_bmp, "BACKGROUND": the paper texture
  const tk::Bitmap32& panels;       // Panels_bmp, "MAIN": the two light panels
  const tk::Bitmap32& logo;         // Logo_bmp, "LOGO"
  const tk::Bitmap32& titleLeft;    // Title_pnl_l_bmp, "TITLE_PNL_L"
  const tk::Bitmap32& titleRight;   // Title_pnl_r_bmp, "TITLE_PNL_R"
  const tk::Bitmap32& titleMiddle;  // Title_pnl_m_bmp, "TITLE_PNL_M": one pixel column
  const tk::Bitmap32& title;        // Title_bmp, "TITLE"
};

struct Placement {
  int left;
  int top;
  int width;
  int height;
  bool operator==(const Placement&) const = default;
};

// Where the information box and the page control stand, whatever the size.
inline constexpr Placement kRichEditPlace{16, 110, 282, 441};
inline constexpr Placement kPagesPlace{320, 110, 619, 441};

// Redraws the whole buffer from the pictures (the buffer keeps its size):
// texture tiles, the title strip's left end, right end and middle columns, the
// logo, the title artwork and the panels, in this order, each copy clipped.
void ComposeBackground(tk::Bitmap32& buffer, const BackgroundImages& images);

}  // namespace ui
