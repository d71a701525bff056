// The screen object of the toolkit: the monitors as the system enumerates
// them, the screen's logical pixels per inch and work area, and the cursor for
// the whole program (the hourglass while the installer is busy).
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tk {

// Cursor identifiers as the classic desktop toolkits number them.
using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crHourGlass = -11;

// The toolkit's list-index error: "List index out of bounds (%d)".
class EListError : public std::out_of_range {
 public:
  explicit EListError(int index);
};

struct Monitor {
  HMONITOR handle = nullptr;
  int MonitorNum = 0;
  RECT BoundsRect{};    // the whole monitor, taskbar included
  RECT WorkareaRect{};  // without the taskbar
  bool Primary = false;
  // The monitor's effective vertical resolution where the system reports one
  // per monitor (0 when that query fails), else the screen's logical one.
  int PixelsPerInch = 0;

  int Left() const { return BoundsRect.left; }
  int Top() const { return BoundsRect.top; }
  int Width() const { return BoundsRect.right - BoundsRect.left; }
  int Height() const { return BoundsRect.bottom - BoundsRect.top; }
};

class Screen {
 public:
  virtual ~Screen() = default;
  // The program's one screen object.
  static Screen& Instance();

  // Asked from the system on every call.
  virtual int MonitorCount() const;
  // Throws EListError for an index outside the list.
  virtual Monitor Monitors(int index) const;
  virtual int PixelsPerInch() const;  // the screen's vertical logical resolution
  virtual int Width() const;          // the primary screen
  virtual int Height() const;
  virtual RECT WorkAreaRect() const;  // the primary monitor without the taskbar

  TCursor Cursor() const { return cursor_; }
  // Shows the cursor at once and keeps it over every window of the toolkit
  // until another one is set; crDefault gives each window its own again.
  virtual void SetCursor(TCursor cursor);
  HCURSOR CursorHandle() const;

 protected:
  Screen() = default;

 private:
  TCursor cursor_ = crDefault;
};

}  // namespace tk
