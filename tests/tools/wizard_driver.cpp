// Drives a running Install.exe from outside, one step per call, for scripts
// (scripts/screenshots.sh): finds its main window by caption and its controls
// and boxes by their texts, and presses, types, waits or reports.
//
//   wizard_driver wait-page TEXT       until the page's text begins with TEXT
//   wizard_driver click CAPTION        presses the visible button CAPTION
//   wizard_driver set-path TEXT        types TEXT into the target field
//   wizard_driver wait-window TEXT     until a window other than the main one
//                                      shows a text beginning with TEXT
//   wizard_driver answer CAPTION       presses CAPTION in that other window
//   wizard_driver rect                 prints the main window's frame as
//                                      WIDTHxHEIGHT+LEFT+TOP (for cropping)
//   wizard_driver rect-other TEXT      the same for the window showing TEXT
//   wizard_driver settle               has the main window and its other
//                                      windows paint themselves now
//   wizard_driver close                asks the main window to close
//
// Exit code 0 when done, 1 when the window or the state did not come.
#include "tests/win/UiDriver.h"

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t kCaption[] = L"Установка комплекса";

HWND MainWindow() {
  HWND found = nullptr;
  uidriver::WaitUntil([&] {
    found = ::FindWindowW(nullptr, kCaption);
    return found != nullptr && ::IsWindowVisible(found);
  });
  return found;
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  return process;
}

std::wstring PageText(HWND main) {
  for (HWND edit : uidriver::VisibleChildren(main, L"Edit"))
    if (::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE) return uidriver::TextOf(edit);
  return {};
}

HWND OtherWindowShowing(HWND main, const std::wstring& start) {
  HWND found = nullptr;
  uidriver::WaitUntil([&] {
    for (HWND top : uidriver::TopLevelWindows(ProcessOf(main))) {
      if (top == main || top == ::GetWindow(main, GW_OWNER)) continue;
      if (uidriver::TextOf(top).rfind(start, 0) == 0) found = top;
      for (HWND child : uidriver::Descendants(top))
        if (uidriver::TextOf(child).rfind(start, 0) == 0) found = top;
      if (found) return true;
    }
    return false;
  });
  return found;
}

int PrintRect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  return 0;
}

int Run(const std::wstring& command, const std::wstring& argument) {
  const HWND main = MainWindow();
  if (!main) return 1;
  if (command == L"wait-page")
    return uidriver::WaitUntil([&] { return PageText(main).rfind(argument, 0) == 0; }) ? 0 : 1;
  if (command == L"click") {
    HWND button = uidriver::FindVisibleChild(main, argument);
    if (!button) return 1;
    uidriver::Press(button);
    return 0;
  }
  if (command == L"set-path") {
    for (HWND edit : uidriver::VisibleChildren(main, L"Edit"))
      if (!(::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE)) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argument.c_str()), SMTO_ABORTIFHUNG,
                              5000, &ignored);
        return 0;
      }
    return 1;
  }
  if (command == L"wait-window") return OtherWindowShowing(main, argument) ? 0 : 1;
  if (command == L"rect-other") {
    const HWND other = OtherWindowShowing(main, argument);
    return other ? PrintRect(other) : 1;
  }
  if (command == L"answer") {
    for (HWND top : uidriver::TopLevelWindows(ProcessOf(main))) {
      if (top == main) continue;
      if (HWND button = uidriver::FindVisibleChild(top, argument)) {
        uidriver::Press(button);
        return 0;
      }
    }
    return 1;
  }
  if (command == L"rect") return PrintRect(main);
  if (command == L"settle") {
    // Painting of another process's windows, waited for: UpdateWindow sends.
    for (HWND top : uidriver::TopLevelWindows(ProcessOf(main)))
      ::RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return 0;
  }
  if (command == L"close") {
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    return 0;
  }
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 1;
  return Run(argv[1], argc > 2 ? argv[2] : L"");
}
