// Invented monitor arrangements for the windows that place themselves by the
// screen manager: a toolkit screen object with the monitors a test gives, and
// a scope in which myScreen is a manager over it.
#pragma once

#include "toolkit/Screen.h"
#include "ui/ScreenMonitorManager.h"

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace testsupport {

class InventedScreen final : public tk::Screen {
 public:
  // Monitors by their full bounds and work areas; the first is the primary one.
  struct Placement {
    RECT bounds;
    RECT workArea;
  };
  explicit InventedScreen(std::vector<Placement> monitors) : monitors_(std::move(monitors)) {}

  int MonitorCount() const override { return static_cast<int>(monitors_.size()); }
  tk::Monitor Monitors(int index) const override {
    if (index < 0 || index >= MonitorCount()) throw tk::EListError(index);
    tk::Monitor monitor;
    monitor.MonitorNum = index;
    monitor.BoundsRect = monitors_[static_cast<size_t>(index)].bounds;
    monitor.WorkareaRect = monitors_[static_cast<size_t>(index)].workArea;
    monitor.Primary = index == 0;
    monitor.PixelsPerInch = 96;
    return monitor;
  }
  int PixelsPerInch() const override { return 96; }
  int Width() const override { return monitors_[0].bounds.right - monitors_[0].bounds.left; }
  int Height() const override { return monitors_[0].bounds.bottom - monitors_[0].bounds.top; }
  RECT WorkAreaRect() const override { return monitors_[0].workArea; }

 private:
  std::vector<Placement> monitors_;
};

// While it lives, myScreen is a manager over `screen` with monitor `index`
// selected; afterwards myScreen is what it was.
class ScopedScreenManager {
 public:
  ScopedScreenManager(tk::Screen& screen, std::uint8_t index) : manager_(screen), previous_(myScreen) {
    myScreen = &manager_;
    SelectMonitor(index);
  }
  ScopedScreenManager(const ScopedScreenManager&) = delete;
  ScopedScreenManager& operator=(const ScopedScreenManager&) = delete;
  ~ScopedScreenManager() { myScreen = previous_; }

 private:
  TmyScreen manager_;
  TmyScreen* previous_;
};

}  // namespace testsupport
