// A form that can be shown modally, as the classic desktop toolkits do it: the
// other windows of the thread are disabled, a message loop runs until the form
// gets a modal result, then the windows are enabled again, the form is hidden
// (not destroyed: its owner frees it) and the window that was active before
// becomes active again.
//
// A close request on a modal form (close box, system menu, Alt+F4, Close())
// that onCloseQuery allows runs onClose and ends the loop with mrCancel unless
// a result was set before; on a form shown without a loop it runs onClose and
// destroys the window, as for any form.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/MessageDialog.h"

#include <functional>

namespace tk {

class ModalForm : public Form {
 public:
  // Shows the window and returns its modal result once the loop has ended
  // (mrCancel when the window was destroyed or the program is quitting).
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  // A result other than mrNone ends the modal loop.
  void SetModalResult(int result) { modalResult_ = result; }

  // Runs when a close request has been allowed, before the form closes.
  std::function<void()> onClose;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void RunLoop();
  void CloseRequest();

  bool modal_ = false;
  int modalResult_ = mrNone;
};

}  // namespace tk
