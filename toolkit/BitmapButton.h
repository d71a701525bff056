// A push button drawn by the toolkit: a face in a colour of its own, a flat
// frame, a 16 x 16 glyph left of the caption (a greyed twin when disabled),
// hot tracking under the mouse and an outline while it has the focus.
//
// It is a system button (owner-drawn), so clicks, Space, BM_CLICK and the
// focus work as for any button; Enter on it, when focused, presses it too.
#pragma once

#include "toolkit/Glyph.h"
#include "toolkit/Window.h"

#include <functional>
#include <string>

namespace tk {

// A colour that stands for the system's highlight colour.
inline constexpr COLORREF kSystemHighlight = 0xFF000000;

struct ButtonStyle {
  COLORREF face = RGB(244, 244, 240);
  COLORREF frame = RGB(0, 60, 116);
  COLORREF hotTrack = RGB(255, 199, 60);     // the outline under the mouse
  COLORREF highlight = kSystemHighlight;     // the outline while focused
};

class BitmapButton : public Window {
 public:
  using Style = ButtonStyle;

  BitmapButton() = default;

  // `glyph` and `disabledGlyph` name PNG resources; null for a button without one.
  void Create(HWND parent, const std::wstring& caption, const Bounds& bounds, const wchar_t* glyph,
              const wchar_t* disabledGlyph, const Style& style = {});

  std::function<void()> onClick;

  bool Hot() const { return hot_; }
  const Style& GetStyle() const { return style_; }
  COLORREF HighlightColor() const;

  struct DrawState {
    bool pressed = false;
    bool focused = false;
    bool disabled = false;
    bool hot = false;
  };
  // Draws the button in `state` into `rect` of `dc`.
  void Paint(HDC dc, const RECT& rect, const DrawState& state) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(WORD code) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  void SetHot(bool hot);

  Style style_;
  Glyph glyph_;
  Glyph disabledGlyph_;
  bool hot_ = false;
};

}  // namespace tk
