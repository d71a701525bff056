// A read-only rich-text box (rich edit 4.1 of Msftedit.dll, class RICHEDIT50W)
// that loads an RTF document from bytes. It has no border of its own; around
// the text lie a soft one-pixel bevel and an inner border of a few pixels in
// the box's background colour.
#pragma once

#include "toolkit/Window.h"

#include <string_view>

namespace tk {

class RichEdit : public Window {
 public:
  void Create(HWND parent, const Bounds& bounds, int innerBorder);

  // Replaces the content with the RTF document `rtf`; throws when the control
  // refuses it.
  void LoadRtf(std::string_view rtf);
  // The plain text shown.
  std::wstring PlainText() const;

  COLORREF BackgroundColor() const override { return color_; }
  void SetColor(COLORREF color);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintBorder();

  int innerBorder_ = 0;
  COLORREF color_ = ::GetSysColor(COLOR_WINDOW);
};

}  // namespace tk
