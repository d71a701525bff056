#include "toolkit/ComboBox.h"

namespace tk {

void ComboBox::Create(HWND parent, const std::vector<std::wstring>& items, const Bounds& bounds, int itemIndex) {
  // The height of a combo box's window includes its dropped-down list.
  Bounds withList = bounds;
  withList.height = bounds.height + 200;
  CreateSystem(L"COMBOBOX", {parent, L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | CBS_DROPDOWN, 0,
                             withList});
  for (const std::wstring& item : items)
    ::SendMessageW(handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SetItemIndex(itemIndex);
}

int ComboBox::ItemIndex() const { return static_cast<int>(::SendMessageW(handle(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int index) { ::SendMessageW(handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int ComboBox::Count() const { return static_cast<int>(::SendMessageW(handle(), CB_GETCOUNT, 0, 0)); }

std::wstring ComboBox::Item(int index) const {
  const LRESULT length = ::SendMessageW(handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring item(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      ::SendMessageW(handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
  item.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return item;
}

}  // namespace tk
