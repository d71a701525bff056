// The standard message dialog of the toolkit: an icon by kind, the text, and a
// row of buttons; it returns the button pressed. Its title and buttons are the
// toolkit's own English ones ("Warning", "Error", "Information", "Confirm";
// "&Yes", "&No", "OK", "Cancel") whatever the language of Windows: the system's
// message box would translate them, and the program's questions refer to the
// caption "Yes".
//
// Enter presses the focused button (at first the default one: OK where there
// is one, else Yes); Esc and the close box give the result of the cancelling
// button (Cancel where there is one, else No, else OK).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tk {

enum class MsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation };

enum MsgDlgBtn : std::uint8_t { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using MsgDlgButtons = std::uint8_t;  // a set of MsgDlgBtn

// The value of each result is the system's identifier of the same button.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

ModalResult MessageDlg(const std::wstring& text, MsgDlgType type, MsgDlgButtons buttons);

// The title of the box for a kind.
const wchar_t* MessageDlgTitle(MsgDlgType type);

// Test seam: while an object of this kind lives, MessageDlg calls `answer`
// instead of showing the box.
struct MessageDlgCall {
  std::wstring text;
  MsgDlgType type;
  MsgDlgButtons buttons;
};
class ScopedMessageDlg {
 public:
  explicit ScopedMessageDlg(std::function<ModalResult(const MessageDlgCall&)> answer);
  ScopedMessageDlg(const ScopedMessageDlg&) = delete;
  ScopedMessageDlg& operator=(const ScopedMessageDlg&) = delete;
  ~ScopedMessageDlg();

 private:
  std::function<ModalResult(const MessageDlgCall&)> previous_;
};

}  // namespace tk
