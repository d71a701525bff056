// Driving windows as a user does, for the Windows tests and the helper
// programs: finding windows by class and caption (also in another process),
// reading their texts, pressing buttons, waiting for a state, and taking the
// pixels of a window. Header-only, so a helper program can use it without the
// test support library.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace uidriver {

// The text of a window, also of one in another process or another thread
// (WM_GETTEXT with a time limit, so a hung window cannot hang the caller).
inline std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied))
    return {};
  text.resize(static_cast<size_t>(copied));
  return text;
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[128];
  const int length = ::GetClassNameW(window, name, 128);
  return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

inline std::wstring WithoutAccessKey(std::wstring caption) {
  std::erase(caption, L'&');
  return caption;
}

// Visible top-level windows of process `processId` with class `className`
// (empty: any class).
inline std::vector<HWND> TopLevelWindows(DWORD processId, const std::wstring& className = {}) {
  struct Search {
    DWORD processId;
    std::wstring className;
    std::vector<HWND> found;
  } search{processId, className, {}};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process == s->processId && ::IsWindowVisible(window) &&
            (s->className.empty() || ClassOf(window) == s->className))
          s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Every descendant of `root`, in the order of the window tree (which is the
// Tab order of controls made one after the other).
inline std::vector<HWND> Descendants(HWND root) {
  std::vector<HWND> all;
  ::EnumChildWindows(
      root,
      [](HWND window, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// True when the window and all its ancestors are visible: the user can see it.
inline bool ReallyVisible(HWND window) { return ::IsWindowVisible(window) != FALSE; }

// The visible descendant of `root` whose caption (without "&") is `caption`,
// of class `className` when one is given; null when there is none.
inline HWND FindVisibleChild(HWND root, const std::wstring& caption, const std::wstring& className = {}) {
  for (HWND window : Descendants(root))
    if (ReallyVisible(window) && (className.empty() || ClassOf(window) == className) &&
        WithoutAccessKey(TextOf(window)) == caption)
      return window;
  return nullptr;
}

// Visible descendants of `root` of class `className`.
inline std::vector<HWND> VisibleChildren(HWND root, const std::wstring& className) {
  std::vector<HWND> found;
  for (HWND window : Descendants(root))
    if (ReallyVisible(window) && ClassOf(window) == className) found.push_back(window);
  return found;
}

// Waits until `condition` holds, checking every 20 ms; false after `timeoutMs`.
// A deadline against a hang, not a measure of time: tests assert the state.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The control with the keyboard focus in `top`, a window of the calling
// thread. Tests run side by side on one desktop, and another program's window
// may take the activation (and with it this thread's focus) at any moment; so
// `top` is made the active window again first, which gives the focus back to
// the control that had it.
inline HWND FocusIn(HWND top) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (::GetActiveWindow() != top) {
      ::SetForegroundWindow(top);
      ::SetActiveWindow(top);
    }
    const HWND focus = ::GetFocus();
    if (focus && (focus == top || ::IsChild(top, focus))) return focus;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ::GetFocus();
}

// The control with the focus in the active window of thread `threadId` (of
// any process), asking that window to come to the front when another took it.
inline HWND FocusOfThread(DWORD threadId, HWND top) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    GUITHREADINFO gui{sizeof(gui)};
    if (::GetGUIThreadInfo(threadId, &gui) && gui.hwndFocus) return gui.hwndFocus;
    ::SetForegroundWindow(top);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return nullptr;
}

// Presses a button without waiting for what the press sets off (which may be
// a modal box that only a later step answers).
inline void Press(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

// A box of the dialog manager (#32770) as the user sees it.
struct Box {
  HWND window = nullptr;
  std::wstring title;
  std::vector<std::wstring> texts;    // static texts, in order
  std::vector<std::wstring> buttons;  // button captions as written, in order
  HICON icon = nullptr;               // the icon of its icon control
};

inline Box ReadBox(HWND window) {
  Box box;
  box.window = window;
  box.title = TextOf(window);
  for (HWND child : Descendants(window)) {
    if (!::IsWindowVisible(child)) continue;
    const std::wstring className = ClassOf(child);
    if (lstrcmpiW(className.c_str(), L"Button") == 0) {
      box.buttons.push_back(TextOf(child));
    } else if (lstrcmpiW(className.c_str(), L"Static") == 0) {
      if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        DWORD_PTR icon = 0;
        ::SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
        box.icon = reinterpret_cast<HICON>(icon);
      } else if (const std::wstring text = TextOf(child); !text.empty()) {
        box.texts.push_back(text);
      }
    }
  }
  return box;
}

// Waits for a visible dialog box of `processId` and reads it; an empty Box
// after `timeoutMs`.
inline Box WaitForBox(DWORD processId, DWORD timeoutMs = 20000) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> boxes = TopLevelWindows(processId, L"#32770");
        found = boxes.empty() ? nullptr : boxes.front();
        return found != nullptr;
      },
      timeoutMs);
  return found ? ReadBox(found) : Box{};
}

// Presses the button of `box` captioned `caption` (compared without "&");
// false when it has none.
inline bool Answer(const Box& box, const std::wstring& caption) {
  HWND button = FindVisibleChild(box.window, caption, L"Button");
  if (!button) return false;
  Press(button);
  return true;
}

// The pixels of a window's client area as the screen shows them, as 0xRRGGBB
// values, rows from the top.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<DWORD> values;
  DWORD At(int x, int y) const { return values[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

inline Pixels Capture(HWND window) {
  Pixels pixels;
  RECT client{};
  ::GetClientRect(window, &client);
  pixels.width = client.right;
  pixels.height = client.bottom;
  if (pixels.width <= 0 || pixels.height <= 0) return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::WindowDc screen(window);
  win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  win::UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return pixels;
  {
    win::SelectObjectScope select(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, pixels.width, pixels.height, screen.get(), 0, 0, SRCCOPY);
    ::GdiFlush();
  }
  const DWORD* from = static_cast<const DWORD*>(bits);
  pixels.values.assign(from, from + static_cast<size_t>(pixels.width) * pixels.height);
  return pixels;
}

// 0xRRGGBB of a GDI colour.
inline DWORD Rgb(COLORREF color) { return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color); }

}  // namespace uidriver
