#include "toolkit/Label.h"

#include "toolkit/Graphics.h"

namespace tk {
namespace {
constexpr wchar_t kLabelClass[] = L"TkLabel";
}

void Label::Create(HWND parent, const std::wstring& caption, const Bounds& bounds, const Style& style) {
  style_ = style;
  RegisterOwnClass(kLabelClass);
  CreateOwn(kLabelClass, {parent, caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, bounds});
}

UINT Label::DrawFlags() const {
  UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
  flags |= style_.alignment == Alignment::Centre ? DT_CENTER : DT_LEFT;
  // A word longer than the line is broken rather than cut off (DT_EDITCONTROL).
  if (style_.wordWrap) flags |= DT_WORDBREAK | DT_EDITCONTROL;
  return flags;
}

SIZE Label::MeasureText(int width) const {
  const std::wstring text = Text();
  win::WindowDc dc(handle());
  win::SelectObjectScope selectFont(dc.get(), font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
  RECT rect{0, 0, width, 0};
  ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect, DrawFlags() | DT_CALCRECT);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Label::Paint(HDC dc, const RECT& rect) const {
  FillSolid(dc, rect, ParentBackground(handle()));
  const std::wstring text = Text();
  win::SelectObjectScope selectFont(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
  RECT textRect = rect;
  if (style_.verticalCentre) {
    const int height = MeasureText(rect.right - rect.left).cy;
    textRect.top = rect.top + (rect.bottom - rect.top - height) / 2;
    textRect.bottom = textRect.top + height;
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, style_.textColor);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DrawFlags());
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      // A window of an own class keeps no font unless it stores one.
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Invalidate();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      Invalidate();
      return result;
    }
    case WM_SIZE:
      Invalidate();  // wrapping and centring depend on the size
      break;
    case WM_ERASEBKGND:
      return TRUE;  // WM_PAINT covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(handle(), &paint);
      RECT client{};
      ::GetClientRect(handle(), &client);
      Paint(dc, client);
      ::EndPaint(handle(), &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      ::GetClientRect(handle(), &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks go to what lies beneath, as on a static text
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tk
