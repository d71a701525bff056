#include "toolkit/Timer.h"

namespace tk {
namespace {
constexpr wchar_t kTimerClass[] = L"TkTimer";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

Timer::Timer(unsigned interval) : interval_(interval) {
  RegisterOwnClass(kTimerClass);
  // A message-only window: WM_TIMER finds this object without a table of timers.
  CreateOwn(kTimerClass, {HWND_MESSAGE, L"", 0, 0, {}});
}

void Timer::SetInterval(unsigned interval) {
  interval_ = interval;
  Restart();
}

void Timer::SetTimerEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void Timer::Restart() {
  ::KillTimer(handle(), kTimerId);
  if (enabled_ && interval_ > 0) ::SetTimer(handle(), kTimerId, interval_, nullptr);
}

LRESULT Timer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (enabled_ && onTimer) onTimer();
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tk
