#include "toolkit/CheckBox.h"

namespace tk {

void CheckBox::Create(HWND parent, const std::wstring& caption, const Bounds& bounds, bool checked) {
  CreateSystem(L"BUTTON", {parent, caption, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_AUTOCHECKBOX, 0, bounds});
  SetChecked(checked);
}

bool CheckBox::Checked() const { return ::SendMessageW(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  ::SendMessageW(handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::OnCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

HBRUSH CheckBox::OnControlColor(HDC dc) {
  const COLORREF color = ParentBackground(handle());
  if (color != brushColor_) {
    brush_.reset(::CreateSolidBrush(color));
    brushColor_ = color;
  }
  ::SetBkColor(dc, color);
  ::SetBkMode(dc, TRANSPARENT);
  return brush_.get();
}

}  // namespace tk
