// Screenshots for looking at the windows: a part of the screen as the display
// shows it, saved as a 24-bit BMP file. Used only by the screenshot runs
// (scripts/screenshots-messages.sh), which name the folder in
// INSTALL_SCREENSHOT_DIR.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace testsupport {

// The folder screenshots go to, with a trailing backslash; empty when none is set.
inline std::wstring ScreenshotFolder() {
  const wchar_t* folder = _wgetenv(L"INSTALL_SCREENSHOT_DIR");
  if (!folder || !*folder) return {};
  std::wstring path = folder;
  if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path;
}

// Saves `area` of the screen, grown by `margin` on each side and kept within
// the screen, as `path`. False when it could not.
inline bool SaveScreenArea(RECT area, const std::wstring& path, int margin = 16) {
  const int screenWidth = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const int left = std::max(0L, area.left - margin);
  const int top = std::max(0L, area.top - margin);
  const int width = std::min<int>(screenWidth, area.right + margin) - left;
  const int height = std::min<int>(screenHeight, area.bottom + margin) - top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::WindowDc screen(nullptr);
  win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  win::UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || !bits) return false;
  {
    win::SelectObjectScope select(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), left, top, SRCCOPY);
    ::GdiFlush();
  }
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + imageBytes;
  info.bmiHeader.biSizeImage = imageBytes;

  win::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), &header, sizeof(header), &written, nullptr) &&
         ::WriteFile(file.get(), &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
         ::WriteFile(file.get(), bits, imageBytes, &written, nullptr);
}

inline bool SaveWindowScreenshot(HWND window, const std::wstring& name) {
  const std::wstring folder = ScreenshotFolder();
  RECT rect{};
  if (folder.empty() || !::GetWindowRect(window, &rect)) return false;
  return SaveScreenArea(rect, folder + name + L".bmp");
}

}  // namespace testsupport
