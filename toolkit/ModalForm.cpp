#include "toolkit/ModalForm.h"

#include <vector>

namespace tk {
namespace {

// Disables the enabled, visible top-level windows of this thread except one,
// and enables them again when it goes.
class DisabledThreadWindows {
 public:
  explicit DisabledThreadWindows(HWND except) : except_(except) {
    ::EnumThreadWindows(::GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    for (HWND window : windows_) ::EnableWindow(window, FALSE);
  }
  DisabledThreadWindows(const DisabledThreadWindows&) = delete;
  DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;
  ~DisabledThreadWindows() { Restore(); }

  void Restore() noexcept {
    for (HWND window : windows_)
      if (::IsWindow(window)) ::EnableWindow(window, TRUE);
    windows_.clear();
  }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* self = reinterpret_cast<DisabledThreadWindows*>(param);
    if (window != self->except_ && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
      self->windows_.push_back(window);
    return TRUE;
  }

  HWND except_;
  std::vector<HWND> windows_;
};

}  // namespace

int ModalForm::ShowModal() {
  modalResult_ = mrNone;
  const HWND previous = ::GetActiveWindow();
  {
    DisabledThreadWindows disabled(handle());
    modal_ = true;
    Show();
    ::SetForegroundWindow(handle());
    RunLoop();
    modal_ = false;
    // Enabled again before the form hides, so that the system hands the
    // activation to one of them and not to another program's window.
    disabled.Restore();
  }
  if (handle())
    ::SetWindowPos(handle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (previous && ::IsWindow(previous) && ::IsWindowVisible(previous)) ::SetActiveWindow(previous);
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  return modalResult_;
}

void ModalForm::RunLoop() {
  MSG message;
  while (modalResult_ == mrNone && handle()) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is quitting: the request stays for the loop that owns it.
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      modalResult_ = mrCancel;
      return;
    }
    // Tab and Shift+Tab through the controls, Space and Enter on the focused button.
    if (::IsDialogMessageW(handle(), &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void ModalForm::CloseRequest() {
  bool canClose = true;
  if (onCloseQuery) onCloseQuery(canClose);
  if (!canClose) return;
  if (onClose) onClose();
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  DestroyHandle();
}

LRESULT ModalForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    CloseRequest();
    return 0;
  }
  return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace tk
