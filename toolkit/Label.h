// A label: a text painted by the toolkit on its parent's background, in the
// font it is given, left-aligned or centred, on one line or wrapped at word
// boundaries, and optionally centred vertically in its height. The text is the
// window's text, so WM_GETTEXT reads it as for any control; it takes no focus.
#pragma once

#include "toolkit/Window.h"

#include <string>

namespace tk {

enum class LabelAlignment { Left, Centre };

struct LabelStyle {
  LabelAlignment alignment = LabelAlignment::Left;
  bool wordWrap = false;
  bool verticalCentre = false;
  COLORREF textColor = ::GetSysColor(COLOR_BTNTEXT);
};

class Label : public Window {
 public:
  using Alignment = LabelAlignment;
  using Style = LabelStyle;

  Label() = default;
  ~Label() override { DestroyHandle(); }

  void Create(HWND parent, const std::wstring& caption, const Bounds& bounds, const Style& style = {});

  // The size the text takes in the label's font: wrapped at `width` when the
  // label wraps, else on one line (lines break only where the text does).
  SIZE MeasureText(int width) const;

  // Draws the label onto `dc` within `rect`.
  void Paint(HDC dc, const RECT& rect) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  UINT DrawFlags() const;

  Style style_;
  HFONT font_ = nullptr;  // not owned
};

}  // namespace tk
