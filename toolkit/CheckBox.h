// A check box with its caption, on the background colour of its parent.
#pragma once

#include "common/Handles.h"
#include "toolkit/Window.h"

#include <functional>
#include <string>

namespace tk {

class CheckBox : public Window {
 public:
  void Create(HWND parent, const std::wstring& caption, const Bounds& bounds, bool checked);
  bool Checked() const;
  void SetChecked(bool checked);
  std::function<void()> onClick;

 protected:
  void OnCommand(WORD code) override;
  HBRUSH OnControlColor(HDC dc) override;

 private:
  win::UniqueBrush brush_;
  COLORREF brushColor_ = CLR_INVALID;
};

}  // namespace tk
