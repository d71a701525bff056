// A timer: runs onTimer every `interval` milliseconds while enabled, on the
// thread that made it (through that thread's message loop).
#pragma once

#include "toolkit/Window.h"

#include <functional>

namespace tk {

class Timer : public Window {
 public:
  explicit Timer(unsigned interval = 1000);

  unsigned Interval() const { return interval_; }
  // A new interval starts counting anew when the timer runs.
  void SetInterval(unsigned interval);
  bool TimerEnabled() const { return enabled_; }
  void SetTimerEnabled(bool enabled);

  std::function<void()> onTimer;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Restart();

  unsigned interval_;
  bool enabled_ = false;
};

}  // namespace tk
