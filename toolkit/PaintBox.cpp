#include "toolkit/PaintBox.h"

#include "toolkit/Graphics.h"

namespace tk {
namespace {
constexpr wchar_t kPaintBoxClass[] = L"TkPaintBox";
}

void PaintBox::Create(HWND parent, const Bounds& bounds) {
  RegisterOwnClass(kPaintBoxClass);
  // Clips its siblings: the controls standing on the picture are painted by
  // themselves, never over.
  CreateOwn(kPaintBoxClass, {parent, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, bounds});
}

void PaintBox::Repaint() { ::RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

LRESULT PaintBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      buffer_.SetSize(LOWORD(lParam), HIWORD(lParam));
      if (onResize) onResize();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;  // the buffer covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(handle(), &paint);
      DrawBitmap32(dc, 0, 0, buffer_);
      ::EndPaint(handle(), &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      DrawBitmap32(reinterpret_cast<HDC>(wParam), 0, 0, buffer_);
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace tk
