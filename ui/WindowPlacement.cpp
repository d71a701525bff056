#include "ui/WindowPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace ui {
namespace {

// `start` moved as little as needed for [start, start + size) to lie within
// [low, high); `low` when it is too large to fit.
int KeepWithin(int start, int size, int low, int high) {
  if (size >= high - low) return low;
  return std::clamp(start, low, high - size);
}

}  // namespace

Area PlaceMessageWindow(const SelectedMonitor& monitor, int width, int height) {
  // Lower edge at half the monitor's height, counted from the monitor's own top:
  // counted from the desktop's top, a monitor above or below the primary one
  // would get the window on another monitor.
  const int top = monitor.bounds.top + monitor.height / 2 - height;
  const int left = monitor.bounds.left + (monitor.width - width) / 2;
  const Area& work = monitor.workArea;
  return {KeepWithin(left, width, work.left, work.right()), KeepWithin(top, height, work.top, work.bottom()), width,
          height};
}

int MessageWindowMaxHeight(const SelectedMonitor& monitor) { return monitor.workArea.height; }

Area PlaceWaitRunWindow(const Area& monitor, int width, int height) {
  return {monitor.left + (monitor.width - width) / 2, monitor.top + (monitor.height - height) / 2, width, height};
}

std::wstring CountdownCaption(unsigned countdownMs, double elapsedSeconds) {
  const double left = static_cast<double>(countdownMs / 1000) - elapsedSeconds;
  // A tick that comes a little after the end must not show a negative number.
  const long seconds = std::max(0L, std::lround(left));
  return L"  " + std::to_wstring(seconds) + L"с";
}

unsigned CountdownMilliseconds(int seconds) {
  constexpr int kMaxSeconds = std::numeric_limits<std::int32_t>::max() / 1000;
  if (seconds < 0 || seconds > kMaxSeconds)
    throw std::out_of_range("the message window's countdown must be 0 to " + std::to_string(kMaxSeconds) +
                            " seconds, not " + std::to_string(seconds));
  return seconds == 0 ? kDesignedCountdownMs : static_cast<unsigned>(seconds) * 1000u;
}

}  // namespace ui
