#include "toolkit/RichEdit.h"

#include "common/SystemLibrary.h"
#include "toolkit/Graphics.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tk {
namespace {

constexpr int kBevel = 1;

// The library stays loaded while the program runs: its window class lives in it.
void LoadRichEditLibrary() {
  static const HMODULE library = win::LoadSystemLibrary(L"Msftedit.dll").release();
  if (!library) throw std::runtime_error("Cannot load the rich edit library Msftedit.dll");
}

struct ReadPosition {
  std::string_view bytes;
  size_t offset = 0;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* position = reinterpret_cast<ReadPosition*>(cookie);
  const size_t count = std::min(static_cast<size_t>(wanted), position->bytes.size() - position->offset);
  std::memcpy(buffer, position->bytes.data() + position->offset, count);
  position->offset += count;
  *given = static_cast<LONG>(count);
  return 0;
}

}  // namespace

void RichEdit::Create(HWND parent, const Bounds& bounds, int innerBorder) {
  LoadRichEditLibrary();
  innerBorder_ = innerBorder;
  CreateSystem(MSFTEDIT_CLASS, {parent, L"",
                                WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                    ES_AUTOVSCROLL,
                                0, bounds});
  // The bevel and the border take their room now that messages reach the object.
  ::SetWindowPos(handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RichEdit::LoadRtf(std::string_view rtf) {
  ReadPosition position{rtf};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&position), 0, ReadRtf};
  ::SendMessageW(handle(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  if (stream.dwError != 0) throw std::runtime_error("Cannot load the rich text");
}

std::wstring RichEdit::PlainText() const { return Text(); }

void RichEdit::SetColor(COLORREF color) {
  color_ = color;
  ::SendMessageW(handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color));
  ::RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void RichEdit::PaintBorder() {
  HDC dc = ::GetWindowDC(handle());
  if (!dc) return;
  RECT window{};
  ::GetWindowRect(handle(), &window);
  RECT all{0, 0, window.right - window.left, window.bottom - window.top};
  RECT client{};
  ::GetClientRect(handle(), &client);
  // Everything between the bevel and the text is the background colour.
  RECT inside = all;
  ::InflateRect(&inside, -kBevel, -kBevel);
  DrawFrame(dc, inside, color_, innerBorder_);
  ::DrawEdge(dc, &all, BDR_RAISEDINNER, BF_RECT | BF_SOFT);
  ::ReleaseDC(handle(), dc);
}

LRESULT RichEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      auto* rect = reinterpret_cast<RECT*>(lParam);
      ::InflateRect(rect, -(kBevel + innerBorder_), -(kBevel + innerBorder_));
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      PaintBorder();
      return result;
    }
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace tk
