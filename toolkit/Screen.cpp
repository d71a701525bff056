#include "toolkit/Screen.h"

#include "common/SystemLibrary.h"

#include <vector>

namespace tk {
namespace {

// shcore.dll: Windows 8.1 and later, looked up at run time.
enum MonitorDpiType { MDT_EFFECTIVE_DPI = 0 };
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, MonitorDpiType, UINT*, UINT*);

GetDpiForMonitorFn DpiForMonitor() {
  static const GetDpiForMonitorFn function = [] {
    // Kept loaded for the life of the process.
    HMODULE shcore = win::LoadSystemLibrary(L"shcore.dll").release();
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                        reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  return function;
}

int ScreenLogicalPixels(int index) {
  const HDC dc = ::GetDC(nullptr);
  const int value = ::GetDeviceCaps(dc, index);
  ::ReleaseDC(nullptr, dc);
  return value;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
  return TRUE;
}

std::vector<HMONITOR> EnumerateMonitors() {
  std::vector<HMONITOR> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

class SystemScreen final : public Screen {};

}  // namespace

EListError::EListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

Screen& Screen::Instance() {
  static SystemScreen screen;
  return screen;
}

int Screen::MonitorCount() const { return static_cast<int>(EnumerateMonitors().size()); }

Monitor Screen::Monitors(int index) const {
  const std::vector<HMONITOR> monitors = EnumerateMonitors();
  if (index < 0 || index >= static_cast<int>(monitors.size())) throw EListError(index);
  Monitor result;
  result.handle = monitors[static_cast<size_t>(index)];
  result.MonitorNum = index;
  MONITORINFO info{sizeof(info)};
  ::GetMonitorInfoW(result.handle, &info);
  result.BoundsRect = info.rcMonitor;
  result.WorkareaRect = info.rcWork;
  result.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  if (const GetDpiForMonitorFn dpiForMonitor = DpiForMonitor()) {
    UINT dpiX = 0;
    UINT dpiY = 0;
    result.PixelsPerInch = SUCCEEDED(dpiForMonitor(result.handle, MDT_EFFECTIVE_DPI, &dpiX, &dpiY))
                               ? static_cast<int>(dpiY)
                               : 0;
  } else {
    result.PixelsPerInch = PixelsPerInch();
  }
  return result;
}

int Screen::PixelsPerInch() const { return ScreenLogicalPixels(LOGPIXELSY); }

int Screen::Width() const { return ::GetSystemMetrics(SM_CXSCREEN); }

int Screen::Height() const { return ::GetSystemMetrics(SM_CYSCREEN); }

RECT Screen::WorkAreaRect() const {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

void Screen::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (cursor_ != crDefault) {
    ::SetCursor(CursorHandle());
    return;
  }
  // Back to each window's own: the window of this thread under the mouse
  // chooses again, as if the mouse had moved.
  POINT point{};
  if (!::GetCursorPos(&point)) return;
  const HWND window = ::WindowFromPoint(point);
  if (window && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
    const LRESULT hit = ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(hit, WM_MOUSEMOVE));
    return;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

HCURSOR Screen::CursorHandle() const {
  switch (cursor_) {
    case crHourGlass:
      return ::LoadCursorW(nullptr, IDC_WAIT);
    default:
      return ::LoadCursorW(nullptr, IDC_ARROW);
  }
}

}  // namespace tk
