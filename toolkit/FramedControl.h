// A system control (edit field, list box) with a flat one-pixel frame drawn by
// the toolkit: in its normal colour, and in its hot colour while the mouse is
// over the control or it has the focus. Optionally the text line of a
// single-line field is centred vertically by padding above and below it.
#pragma once

#include "common/Handles.h"
#include "toolkit/Window.h"

namespace tk {

class FramedControl : public Window {
 public:
  struct FrameStyle {
    COLORREF frame = ::GetSysColor(COLOR_BTNFACE);
    COLORREF hot = RGB(0, 128, 255);
    COLORREF color = ::GetSysColor(COLOR_WINDOW);  // the background
    COLORREF textColor = ::GetSysColor(COLOR_WINDOWTEXT);
  };

  bool Hot() const { return mouseInside_ || Focused(); }
  COLORREF FrameColor() const { return Hot() ? frameStyle_.hot : frameStyle_.frame; }
  COLORREF BackgroundColor() const override { return frameStyle_.color; }
  void SetColor(COLORREF color);

 protected:
  FramedControl() = default;
  // Creates the control of `className` with a one-pixel border the toolkit paints.
  void CreateFramed(const wchar_t* className, const CreateParams& params, const FrameStyle& style,
                    bool centreTextLine);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  HBRUSH OnControlColor(HDC dc) override;

 private:
  void PaintFrame();
  void RefreshFrame();
  int Padding(int windowHeight) const;

  FrameStyle frameStyle_;
  bool centreTextLine_ = false;
  bool mouseInside_ = false;
  win::UniqueBrush brush_;
};

// A single-line edit field with a flat hot-tracking frame.
class Edit : public FramedControl {
 public:
  void Create(HWND parent, const std::wstring& text, const Bounds& bounds, const FrameStyle& style);
};

// A list box of text lines with a flat hot-tracking frame.
class ListBox : public FramedControl {
 public:
  // `tabStop` false: the Tab key passes it by.
  void Create(HWND parent, const Bounds& bounds, const FrameStyle& style, int itemHeight, bool tabStop);

  void Clear();
  int Add(const std::wstring& line);  // the new line's index
  void Change(int index, const std::wstring& line);
  std::wstring Line(int index) const;
  int Count() const;
  // Scrolls so that line `index` is in sight.
  void ShowLine(int index);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int itemHeight_ = 0;
};

}  // namespace tk
