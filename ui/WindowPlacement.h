// Where the suite's small windows go, as plain arithmetic on the values the
// screen manager gives (platform-neutral, so any monitor arrangement can be
// tried without having it), and the text of the message window's countdown.
#pragma once

#include <string>

namespace ui {

// A rectangle in desktop coordinates: left and top edge, width and height.
struct Area {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Area&) const = default;
};

// The selected monitor as the message window sees it: the screen manager's
// Width and Height, and the monitor's full bounds and work area (GetMonitor of
// Monitornumber).
struct SelectedMonitor {
  int width = 0;
  int height = 0;
  Area bounds;
  Area workArea;
};

// The message window of `width` x `height` (outer size): its lower edge at
// half the selected monitor's height, centred across the monitor, then moved
// as little as needed to lie within the monitor's work area (its upper left
// corner wins when it is larger). Integer halves truncate toward zero.
Area PlaceMessageWindow(const SelectedMonitor& monitor, int width, int height);

// The tallest the message window may be so that all of it, title bar and
// buttons included, stays on the monitor: the height of its work area.
int MessageWindowMaxHeight(const SelectedMonitor& monitor);

// The launch-wait window of `width` x `height`, centred on the monitor's full
// bounds.
Area PlaceWaitRunWindow(const Area& monitor, int width, int height);

// The countdown's seconds label: two blanks, the seconds left (the countdown's
// whole seconds less those elapsed, rounded, never below 0) and "с".
std::wstring CountdownCaption(unsigned countdownMs, double elapsedSeconds);

// The countdown for ShowMessageWindow's `seconds`: 0 keeps the designed 20 s.
// Throws std::out_of_range for a negative number of seconds or one that gives
// more milliseconds than a signed 32-bit number holds.
unsigned CountdownMilliseconds(int seconds);

inline constexpr unsigned kDesignedCountdownMs = 20000;

}  // namespace ui
