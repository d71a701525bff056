// A read-only text area of several lines with a vertical scroll bar and no
// border: a text too long for the place it has can still be read to its end,
// with the mouse wheel, the scroll bar or the arrow keys (it is a tab stop).
// Lines break where the text has a carriage return, a line feed or both, and
// wrap at the area's width.
#pragma once

#include "common/Handles.h"
#include "toolkit/Window.h"

#include <string>

namespace tk {

class TextArea : public Window {
 public:
  void Create(HWND parent, const Bounds& bounds, COLORREF textColor, COLORREF color);

  // Sets the text; every line break becomes the CR LF the edit control needs.
  void SetContent(const std::wstring& text);
  COLORREF BackgroundColor() const override { return color_; }

  // `text` with every lone CR, lone LF and CR LF made a CR LF.
  static std::wstring WithCrLf(const std::wstring& text);

 protected:
  HBRUSH OnControlColor(HDC dc) override;

 private:
  COLORREF textColor_ = 0;
  COLORREF color_ = 0;
  win::UniqueBrush brush_;
};

}  // namespace tk
