#include "toolkit/Form.h"

#include "toolkit/Application.h"
#include "toolkit/Graphics.h"

namespace tk {
namespace {

constexpr wchar_t kFormClass[] = L"TkForm";

Bounds CentredFrame(int clientWidth, int clientHeight, DWORD style) {
  RECT frame{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&frame, style, FALSE, 0);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  return {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2, width,
          height};
}

}  // namespace

void Form::CreateForm(HWND owner, const std::wstring& caption, int clientWidth, int clientHeight, DWORD style) {
  RegisterOwnClass(kFormClass);
  CreateOwn(kFormClass, {owner, caption, style, 0, CentredFrame(clientWidth, clientHeight, style)});
  // The frame is sized for the client area the system reports for it (the
  // caption's height differs with themes and pixels per inch).
  RECT client{};
  ::GetClientRect(handle(), &client);
  if (client.right != clientWidth || client.bottom != clientHeight) {
    const Bounds frame = GetBounds();
    SetBounds({frame.left, frame.top, frame.width + clientWidth - client.right,
               frame.height + clientHeight - client.bottom});
  }
}

void Form::Show() {
  ::ShowWindow(handle(), SW_SHOW);
  ::UpdateWindow(handle());
}

void Form::Close() { ::SendMessageW(handle(), WM_CLOSE, 0, 0); }

void Form::SetColor(COLORREF color) {
  color_ = color;
  Invalidate();
}

void Form::Activated(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE) {
    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(handle(), focus)) lastFocus_ = focus;
    return;
  }
  if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsChild(handle(), lastFocus_) && ::IsWindowVisible(lastFocus_) &&
      ::IsWindowEnabled(lastFocus_)) {
    ::SetFocus(lastFocus_);
    return;
  }
  const HWND first = ::GetNextDlgTabItem(handle(), nullptr, FALSE);
  ::SetFocus(first ? first : handle());
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: {
      bool canClose = true;
      if (onCloseQuery) onCloseQuery(canClose);
      if (canClose) DestroyHandle();
      return 0;
    }
    case WM_DESTROY:
      Application::Instance().WindowDestroyed(handle());
      return 0;
    case WM_ACTIVATE:
      // A plain window gives the focus to itself when activated; a form gives
      // it back to its control, as a dialog box does.
      if (HIWORD(wParam) == 0) {
        Activated(wParam);
        return 0;
      }
      break;
    case WM_ERASEBKGND: {
      RECT rect{};
      ::GetClientRect(handle(), &rect);
      FillSolid(reinterpret_cast<HDC>(wParam), rect, color_);
      return TRUE;
    }
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tk
