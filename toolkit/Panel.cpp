#include "toolkit/Panel.h"

#include "toolkit/Graphics.h"

namespace tk {
namespace {
constexpr wchar_t kPanelClass[] = L"TkPanel";
}

void Panel::Create(HWND parent, const Bounds& bounds, const Style& style) {
  style_ = style;
  RegisterOwnClass(kPanelClass);
  CreateOwn(kPanelClass, {parent, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                          WS_EX_CONTROLPARENT, bounds});
}

void Panel::SetColor(COLORREF color) {
  style_.color = color;
  ::RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Panel::SetBorderColor(COLORREF color) {
  style_.borderColor = color;
  Invalidate();
}

RECT Panel::InnerRect() const {
  RECT rect{};
  ::GetClientRect(handle(), &rect);
  const int inset = (style_.flatRoundedFrame ? 1 : 0) + style_.borderWidth;
  ::InflateRect(&rect, -inset, -inset);
  return rect;
}

void Panel::Paint(HDC dc) const {
  RECT rect{};
  ::GetClientRect(handle(), &rect);
  // The frame's missing corner pixels show what lies beneath the panel.
  FillSolid(dc, rect, style_.flatRoundedFrame ? ParentBackground(handle()) : style_.color);
  RECT inside = rect;
  if (style_.flatRoundedFrame) {
    FillSolid(dc, RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, style_.color);
    DrawFlatRoundedFrame(dc, rect, style_.frameColor);
    ::InflateRect(&inside, -1, -1);
  }
  if (style_.borderWidth > 0) DrawFrame(dc, inside, style_.borderColor, style_.borderWidth);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;  // WM_PAINT covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(handle(), &paint);
      Paint(dc);
      ::EndPaint(handle(), &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace tk
