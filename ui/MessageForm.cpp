#include "ui/MessageForm.h"

#include "toolkit/ModalDialog.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace {

std::function<bool(const ui::MessageWindowCall&)>& Replacement() {
  static std::function<bool(const ui::MessageWindowCall&)> answer;
  return answer;
}

constexpr int kClientWidth = 446;  // as designed at 96 pixels per inch
constexpr int kMargin = 12;
constexpr int kButtonHeight = 24;
constexpr int kOkWidth = 70;
constexpr int kCancelWidth = 73;
constexpr int kOkId = IDOK;
constexpr int kCancelId = IDCANCEL;

// The message's lines are separated by single carriage returns; a static
// control breaks lines at CR LF.
std::wstring WithLineBreaks(const std::wstring& text) {
  std::wstring result;
  for (size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) result += L'\n';
  }
  return result;
}

class MessageWindow final : public tk::ModalDialog {
 public:
  MessageWindow(const std::wstring& text, TMessageType kind) : text_(WithLineBreaks(text)), kind_(kind) {}

 private:
  bool OnInit(HWND dialog) override {
    const int width = Scaled(kClientWidth);
    const int margin = Scaled(kMargin);
    RECT textRect{0, 0, width - 2 * margin, 0};
    const HDC dc = ::GetDC(dialog);
    const HGDIOBJ old = ::SelectObject(dc, DialogFont());
    ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &textRect,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(dialog, dc);
    AddControl(dialog, L"STATIC", text_, SS_LEFT | SS_NOPREFIX,
               {margin, margin, width - margin, margin + textRect.bottom}, -1);
    const int top = margin + textRect.bottom + margin;
    const int height = Scaled(kButtonHeight);
    const HWND ok = AddControl(dialog, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON,
                               {width - margin - Scaled(kOkWidth), top, width - margin, top + height}, kOkId);
    if (kind_ == mtDialog)
      AddControl(dialog, L"BUTTON", L"Отмена", WS_TABSTOP | BS_PUSHBUTTON,
                 {margin, top, margin + Scaled(kCancelWidth), top + height}, kCancelId);
    PlaceCentred(dialog, ::GetWindow(dialog, GW_OWNER), width, top + height + margin);
    ::SetFocus(ok);
    return true;
  }

  void OnCommand(HWND dialog, int id, int) override {
    if (id == kOkId) End(dialog, 1);
    if (id == kCancelId) End(dialog, 0);  // also Esc and the close box
  }

  std::wstring text_;
  TMessageType kind_;
};

}  // namespace

bool ShowMessageWindow(const std::wstring& text, TMessageType kind, const std::wstring& caption, int seconds) {
  if (Replacement()) return Replacement()({text, kind, caption, seconds});
  MessageWindow window(text, kind);
  return window.ShowModal(tk::ModalOwner(), caption,
                          WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_TOPMOST) == 1;
}

namespace ui {

ScopedMessageWindow::ScopedMessageWindow(std::function<bool(const MessageWindowCall&)> answer)
    : previous_(std::exchange(Replacement(), std::move(answer))) {}

ScopedMessageWindow::~ScopedMessageWindow() { Replacement() = std::move(previous_); }

}  // namespace ui
