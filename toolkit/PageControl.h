// A page control without tabs: pages lie on top of each other and only the
// active one is shown; the program changes pages itself. Every page is a
// control parent, so Tab goes through the controls of the page in sight.
#pragma once

#include "toolkit/Window.h"

#include <functional>
#include <string>
#include <vector>

namespace tk {

class PageControl;

class Page : public Window {
 public:
  ~Page() override { DestroyHandle(); }
  // A page named `name` (its window text), filling `pages`.
  void Create(PageControl& pages, const std::wstring& name);

  // Runs each time the page has become the active one.
  std::function<void()> onShow;

  COLORREF BackgroundColor() const override;
  int PageIndex() const { return index_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class PageControl;
  PageControl* owner_ = nullptr;
  int index_ = -1;
};

class PageControl : public Window {
 public:
  ~PageControl() override { DestroyHandle(); }
  void Create(HWND parent, const Bounds& bounds, COLORREF color);

  COLORREF BackgroundColor() const override { return color_; }
  void SetColor(COLORREF color);

  Page* ActivePage() const { return active_; }
  // Shows `page` and hides the others. When the focus was on the page that
  // goes, the first control of the new page in Tab order gets it. The new
  // page's onShow runs last.
  void SetActivePage(Page& page);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  Page& Pages(int index) const { return *pages_.at(static_cast<size_t>(index)); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class Page;
  void Add(Page& page);
  void FitPages();

  COLORREF color_ = 0;
  std::vector<Page*> pages_;
  Page* active_ = nullptr;
};

}  // namespace tk
