#include "toolkit/PageControl.h"

#include "toolkit/Graphics.h"

namespace tk {
namespace {

constexpr wchar_t kPageControlClass[] = L"TkPageControl";
constexpr wchar_t kPageClass[] = L"TkPage";

bool PaintBackground(HWND window, UINT message, WPARAM wParam, COLORREF color) {
  if (message != WM_ERASEBKGND && message != WM_PRINTCLIENT) return false;
  RECT rect{};
  ::GetClientRect(window, &rect);
  FillSolid(reinterpret_cast<HDC>(wParam), rect, color);
  return true;
}

}  // namespace

void Page::Create(PageControl& pages, const std::wstring& name) {
  owner_ = &pages;
  RegisterOwnClass(kPageClass);
  RECT client{};
  ::GetClientRect(pages.handle(), &client);
  CreateOwn(kPageClass, {pages.handle(), name, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                         {0, 0, client.right, client.bottom}});
  pages.Add(*this);
}

COLORREF Page::BackgroundColor() const { return owner_ ? owner_->BackgroundColor() : Window::BackgroundColor(); }

LRESULT Page::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (PaintBackground(handle(), message, wParam, BackgroundColor())) return TRUE;
  return Window::HandleMessage(message, wParam, lParam);
}

void PageControl::Create(HWND parent, const Bounds& bounds, COLORREF color) {
  color_ = color;
  RegisterOwnClass(kPageControlClass);
  CreateOwn(kPageControlClass, {parent, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                WS_EX_CONTROLPARENT, bounds});
}

void PageControl::SetColor(COLORREF color) {
  color_ = color;
  ::RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void PageControl::Add(Page& page) {
  page.index_ = static_cast<int>(pages_.size());
  pages_.push_back(&page);
}

void PageControl::SetActivePage(Page& page) {
  Page* old = active_;
  const HWND focus = ::GetFocus();
  const bool focusOnOldPage = old && old != &page && focus && ::IsChild(old->handle(), focus);
  active_ = &page;
  page.SetVisible(true);
  for (Page* other : pages_)
    if (other != &page) other->SetVisible(false);
  if (focusOnOldPage) {
    // A hidden control keeps the focus unless it is moved.
    const HWND first = ::GetNextDlgTabItem(page.handle(), nullptr, FALSE);
    ::SetFocus(first && ::IsChild(page.handle(), first) ? first : page.handle());
  }
  if (page.onShow) page.onShow();
}

void PageControl::FitPages() {
  RECT client{};
  ::GetClientRect(handle(), &client);
  for (Page* page : pages_) page->SetBounds({0, 0, client.right, client.bottom});
}

LRESULT PageControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (PaintBackground(handle(), message, wParam, color_)) return TRUE;
  if (message == WM_SIZE) FitPages();
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tk
