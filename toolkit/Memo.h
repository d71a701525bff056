// A read-only text box of several lines without a border: a page's text. Its
// colours follow the given text and background colours; it is no tab stop.
#pragma once

#include "common/Handles.h"
#include "toolkit/Window.h"

#include <string>
#include <vector>

namespace tk {

class Memo : public Window {
 public:
  void Create(HWND parent, const std::vector<std::wstring>& lines, const Bounds& bounds, COLORREF textColor,
              COLORREF color);

  void SetLines(const std::vector<std::wstring>& lines);
  COLORREF TextColor() const { return textColor_; }
  COLORREF BackgroundColor() const override { return color_; }
  void SetColor(COLORREF color);

  // The lines joined as a text box holds them (carriage return, line feed).
  static std::wstring JoinLines(const std::vector<std::wstring>& lines);

 protected:
  HBRUSH OnControlColor(HDC dc) override;

 private:
  COLORREF textColor_ = 0;
  COLORREF color_ = 0;
  win::UniqueBrush brush_;
};

}  // namespace tk
