// Install.exe run as its own process and driven from the test as the user
// drives it: started (from any folder, in any working folder), its main window
// found by caption, the page's text, the target field and the progress list
// read, buttons pressed by caption. Header-only, over UiDriver.h.
#pragma once

#include "common/Handles.h"
#include "tests/win/UiDriver.h"

#include <windows.h>

#include <string>
#include <vector>

namespace installer {

inline constexpr wchar_t kMainCaption[] = L"Установка комплекса";

// Install.exe (or another program) started with its quoted path as the
// command line; terminated at the end of the test if it is still running.
class Running {
 public:
  explicit Running(const std::wstring& program, const std::wstring& workingFolder = {}) {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + program + L"\"";
    if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info))
      return;
    process_.reset(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    id_ = info.dwProcessId;
  }
  ~Running() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 99);
  }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

  bool Started() const { return id_ != 0; }
  DWORD id() const { return id_; }

  // True with the exit code once the program has ended within `timeoutMs`.
  bool Ended(DWORD* exitCode, DWORD timeoutMs = 20000) const {
    if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    ::GetExitCodeProcess(process_.get(), exitCode);
    return true;
  }

  // The visible main window ("Установка комплекса") once it is up; null when
  // none came within `timeoutMs`.
  HWND WaitForMainWindow(DWORD timeoutMs = 30000) const {
    HWND main = nullptr;
    uidriver::WaitUntil(
        [&] {
          for (HWND top : uidriver::TopLevelWindows(id_))
            if (uidriver::TextOf(top) == kMainCaption) main = top;
          return main != nullptr;
        },
        timeoutMs);
    return main;
  }

 private:
  win::UniqueHandle process_;
  DWORD id_ = 0;
};

// The visible multi-line read-only text box of the main window: the page's
// text.
inline std::wstring PageText(HWND main) {
  for (HWND edit : uidriver::VisibleChildren(main, L"Edit"))
    if (::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE) return uidriver::TextOf(edit);
  return {};
}

inline bool PageStartsWith(HWND main, const std::wstring& start) { return PageText(main).rfind(start, 0) == 0; }

inline bool WaitForPage(HWND main, const std::wstring& start, DWORD timeoutMs = 20000) {
  return uidriver::WaitUntil([&] { return PageStartsWith(main, start); }, timeoutMs);
}

// The single-line field of the target page.
inline HWND PathField(HWND main) {
  for (HWND edit : uidriver::VisibleChildren(main, L"Edit"))
    if (!(::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE)) return edit;
  return nullptr;
}

inline void SetText(HWND window, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
}

// Presses the visible button captioned `caption`; false when there is none.
inline bool PressVisible(HWND root, const std::wstring& caption) {
  HWND button = uidriver::FindVisibleChild(root, caption);
  if (!button) return false;
  uidriver::Press(button);
  return true;
}

// A top-level window of the process, other than the two given, that shows a
// text beginning with `start` (the message window, whatever its kind).
inline HWND WaitForWindowShowing(DWORD process, const std::wstring& start, HWND except1, HWND except2,
                                 DWORD timeoutMs = 20000) {
  HWND found = nullptr;
  uidriver::WaitUntil(
      [&] {
        for (HWND top : uidriver::TopLevelWindows(process)) {
          if (top == except1 || top == except2) continue;
          for (HWND child : uidriver::Descendants(top))
            if (uidriver::TextOf(child).rfind(start, 0) == 0) {
              found = top;
              return true;
            }
        }
        return false;
      },
      timeoutMs);
  return found;
}

// The lines of a list box, read from the other process.
inline std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> lines;
  DWORD_PTR count = 0;
  ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring line(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), SMTO_ABORTIFHUNG, 5000, &copied);
    line.resize(copied);
    lines.push_back(line);
  }
  return lines;
}

// The progress list of the main window as the user sees it (the list box
// that has lines; empty before the installation starts).
inline std::vector<std::wstring> ProgressLines(HWND main) {
  for (HWND list : uidriver::Descendants(main))
    if (lstrcmpiW(uidriver::ClassOf(list).c_str(), L"ListBox") == 0) {
      DWORD_PTR count = 0;
      ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
      if (count > 0) return ListLines(list);
    }
  return {};
}

}  // namespace installer
