// A panel: a container with a background colour, optionally a flat rounded
// frame and a border of some width in a colour of its own. Tab and Shift+Tab
// go through the controls on it (it is a control parent for the dialog manager).
#pragma once

#include "toolkit/Window.h"

#include <functional>

namespace tk {

class Panel : public Window {
 public:
  struct Style {
    COLORREF color = ::GetSysColor(COLOR_BTNFACE);
    bool flatRoundedFrame = false;
    COLORREF frameColor = ::GetSysColor(COLOR_BTNSHADOW);
    int borderWidth = 0;  // inside the frame, in borderColor
    COLORREF borderColor = ::GetSysColor(COLOR_BTNFACE);
  };

  Panel() = default;
  ~Panel() override { DestroyHandle(); }

  void Create(HWND parent, const Bounds& bounds, const Style& style);

  COLORREF BackgroundColor() const override { return style_.color; }
  void SetColor(COLORREF color);
  void SetBorderColor(COLORREF color);
  const Style& GetStyle() const { return style_; }
  // The client area inside the frame and the border, where the controls go.
  RECT InnerRect() const;

  // Draws the panel (background, frame, border) onto `dc`.
  void Paint(HDC dc) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Style style_;
};

}  // namespace tk
