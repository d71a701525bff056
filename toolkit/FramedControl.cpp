#include "toolkit/FramedControl.h"

#include "toolkit/Graphics.h"

#include <algorithm>

namespace tk {

void FramedControl::CreateFramed(const wchar_t* className, const CreateParams& params, const FrameStyle& style,
                                 bool centreTextLine) {
  frameStyle_ = style;
  centreTextLine_ = centreTextLine;
  brush_.reset(::CreateSolidBrush(style.color));
  CreateParams framed = params;
  framed.style |= WS_BORDER;
  CreateSystem(className, framed);
}

void FramedControl::SetColor(COLORREF color) {
  frameStyle_.color = color;
  brush_.reset(::CreateSolidBrush(color));
  ::RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

HBRUSH FramedControl::OnControlColor(HDC dc) {
  ::SetTextColor(dc, frameStyle_.textColor);
  ::SetBkColor(dc, frameStyle_.color);
  return brush_.get();
}

int FramedControl::Padding(int windowHeight) const {
  if (!centreTextLine_) return 0;
  const HFONT font = Font();
  win::WindowDc dc(handle());
  win::SelectObjectScope select(dc.get(), font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc.get(), &metrics);
  return std::max(0, (windowHeight - 2 - static_cast<int>(metrics.tmHeight)) / 2);
}

void FramedControl::PaintFrame() {
  HDC dc = ::GetWindowDC(handle());
  if (!dc) return;
  RECT window{};
  ::GetWindowRect(handle(), &window);
  const RECT all{0, 0, window.right - window.left, window.bottom - window.top};
  const int padding = Padding(all.bottom);
  if (padding > 0) {
    FillSolid(dc, RECT{1, 1, all.right - 1, 1 + padding}, frameStyle_.color);
    FillSolid(dc, RECT{1, all.bottom - 1 - padding, all.right - 1, all.bottom - 1}, frameStyle_.color);
  }
  DrawFrame(dc, all, FrameColor(), 1);
  ::ReleaseDC(handle(), dc);
}

void FramedControl::RefreshFrame() { ::RedrawWindow(handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE); }

LRESULT FramedControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      auto* rect = reinterpret_cast<RECT*>(lParam);  // the first rectangle in both forms
      const int padding = Padding(rect->bottom - rect->top + 2);
      rect->top += padding;
      rect->bottom -= padding;
      return result;
    }
    case WM_NCPAINT: {
      // The system paints scroll bars (and its own border, which is painted over).
      const LRESULT result = CallDefault(message, wParam, lParam);
      PaintFrame();
      return result;
    }
    case WM_SETFONT: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      // The padding depends on the font's height.
      ::SetWindowPos(handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return result;
    }
    case WM_MOUSEMOVE:
      if (!mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle(), 0};
        ::TrackMouseEvent(&track);
        RefreshFrame();
      }
      break;
    case WM_MOUSELEAVE:
      mouseInside_ = false;
      RefreshFrame();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      RefreshFrame();
      return result;
    }
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void Edit::Create(HWND parent, const std::wstring& text, const Bounds& bounds, const FrameStyle& style) {
  CreateFramed(L"EDIT", {parent, text, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL, 0, bounds}, style,
               true);
}

void ListBox::Create(HWND parent, const Bounds& bounds, const FrameStyle& style, int itemHeight, bool tabStop) {
  CreateFramed(L"LISTBOX",
               {parent, L"",
                static_cast<DWORD>(WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_NOINTEGRALHEIGHT |
                                   LBS_HASSTRINGS | (tabStop ? WS_TABSTOP : 0)),
                0, bounds},
               style, false);
  itemHeight_ = itemHeight;
  ::SendMessageW(handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight, 0));
}

LRESULT ListBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = FramedControl::HandleMessage(message, wParam, lParam);
  // A new font makes the list measure its lines anew; the designed height stays.
  if (message == WM_SETFONT && itemHeight_ > 0)
    ::SendMessageW(handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
  return result;
}

void ListBox::Clear() { ::SendMessageW(handle(), LB_RESETCONTENT, 0, 0); }

int ListBox::Add(const std::wstring& line) {
  return static_cast<int>(::SendMessageW(handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str())));
}

void ListBox::Change(int index, const std::wstring& line) {
  // A list box has no "replace": the line is taken out and put back in place.
  ::SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  ::SendMessageW(handle(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.c_str()));
  ::SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(handle(), nullptr, TRUE);
}

std::wstring ListBox::Line(int index) const {
  const LRESULT length = ::SendMessageW(handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::wstring line(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      ::SendMessageW(handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.data()));
  line.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return line;
}

int ListBox::Count() const { return static_cast<int>(::SendMessageW(handle(), LB_GETCOUNT, 0, 0)); }

void ListBox::ShowLine(int index) {
  RECT client{};
  ::GetClientRect(handle(), &client);
  const int itemHeight = static_cast<int>(::SendMessageW(handle(), LB_GETITEMHEIGHT, 0, 0));
  const int visible = itemHeight > 0 ? std::max(1, static_cast<int>(client.bottom / itemHeight)) : 1;
  const int top = static_cast<int>(::SendMessageW(handle(), LB_GETTOPINDEX, 0, 0));
  if (index < top)
    ::SendMessageW(handle(), LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  else if (index >= top + visible)
    ::SendMessageW(handle(), LB_SETTOPINDEX, static_cast<WPARAM>(index - visible + 1), 0);
}

}  // namespace tk
