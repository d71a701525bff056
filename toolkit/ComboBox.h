// A drop-down list with an edit part.
#pragma once

#include "toolkit/Window.h"

#include <string>
#include <vector>

namespace tk {

class ComboBox : public Window {
 public:
  void Create(HWND parent, const std::vector<std::wstring>& items, const Bounds& bounds, int itemIndex);
  int ItemIndex() const;
  void SetItemIndex(int index);
  int Count() const;
  std::wstring Item(int index) const;
};

}  // namespace tk
