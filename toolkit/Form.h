// A top-level window of the toolkit: a fixed client size, a background colour,
// a close request the program may refuse, and the focus kept on the control
// that last had it when the window is activated again (after a dialog, say).
#pragma once

#include "toolkit/Window.h"

#include <functional>
#include <string>

namespace tk {

class Form : public Window {
 public:
  ~Form() override { DestroyHandle(); }

  // Creates the (hidden) window with a client area of the given size, centred
  // on the work area of the primary monitor.
  void CreateForm(HWND owner, const std::wstring& caption, int clientWidth, int clientHeight, DWORD style);
  void Show();
  // A close request, answered at once: onCloseQuery decides; when it allows,
  // the window is destroyed.
  void Close();

  // Asked for every close request (close box, system menu, Alt+F4, Close()).
  std::function<void(bool& canClose)> onCloseQuery;

  COLORREF BackgroundColor() const override { return color_; }
  void SetColor(COLORREF color);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Activated(WPARAM state);

  COLORREF color_ = ::GetSysColor(COLOR_BTNFACE);
  HWND lastFocus_ = nullptr;
};

}  // namespace tk
