#include "toolkit/ModalDialog.h"

#include "toolkit/Application.h"
#include "toolkit/Graphics.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace tk {
namespace {

// DLGTEMPLATE as the system reads it: packed, DWORD-aligned in memory, then
// the menu, class and title arrays of WORDs.
static_assert(sizeof(DLGTEMPLATE) == 18, "DLGTEMPLATE is a packed 18-byte header");

std::vector<WORD> MakeTemplate(const std::wstring& caption, DWORD style, DWORD exStyle) {
  DLGTEMPLATE header{};
  header.style = style;
  header.dwExtendedStyle = exStyle;
  header.cdit = 0;  // controls are made in OnInit
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof(header));
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog manager's own class
  words.insert(words.end(), caption.begin(), caption.end());
  words.push_back(0);
  return words;
}

int ScreenPixelsPerInch() {
  const HDC dc = ::GetDC(nullptr);
  const int value = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(nullptr, dc);
  return value > 0 ? value : 96;
}

}  // namespace

HWND ModalOwner() {
  const HWND active = ::GetActiveWindow();
  if (active && ::IsWindowVisible(active)) return active;
  return Application::Instance().MainWindow();
}

INT_PTR ModalDialog::ShowModal(HWND owner, const std::wstring& caption, DWORD style, DWORD exStyle) {
  font_ = CreateMessageFont();
  pixelsPerInch_ = ScreenPixelsPerInch();
  const std::vector<WORD> dialogTemplate = MakeTemplate(caption, style, exStyle);
  return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                   reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
}

HWND ModalDialog::AddControl(HWND dialog, const wchar_t* className, const std::wstring& text, DWORD style,
                             const RECT& r, int id) {
  const HWND control = ::CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                         r.right - r.left, r.bottom - r.top, dialog,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         ::GetModuleHandleW(nullptr), nullptr);
  if (!control) throw std::runtime_error("cannot create a control of a dialog box");
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return control;
}

int ModalDialog::Scaled(int pixels) const { return ::MulDiv(pixels, pixelsPerInch_, 96); }

void ModalDialog::PlaceCentred(HWND dialog, HWND owner, int clientWidth, int clientHeight) {
  RECT frame{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  MONITORINFO monitor{sizeof(monitor)};
  ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  ::SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  try {
    switch (message) {
      case WM_INITDIALOG:
        return self->OnInit(dialog) ? FALSE : TRUE;
      case WM_COMMAND:
        self->OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      default:
        return FALSE;
    }
  } catch (const std::exception& error) {
    // Never across the dialog manager: the box closes and the error is shown.
    ::EndDialog(dialog, -1);
    Application::Instance().ShowException(error);
    return TRUE;
  }
}

}  // namespace tk
