#include "toolkit/MessageDialog.h"

#include "toolkit/ModalDialog.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace tk {
namespace {

std::function<ModalResult(const MessageDlgCall&)>& Replacement() {
  static std::function<ModalResult(const MessageDlgCall&)> answer;
  return answer;
}

struct ButtonKind {
  MsgDlgBtn button;
  const wchar_t* caption;
  ModalResult result;
};
// In the order of the row.
constexpr ButtonKind kButtons[] = {
    {mbYes, L"&Yes", mrYes},
    {mbNo, L"&No", mrNo},
    {mbOK, L"OK", mrOk},
    {mbCancel, L"Cancel", mrCancel},
};

const wchar_t* IconOf(MsgDlgType type) {
  switch (type) {
    case MsgDlgType::mtWarning:
      return IDI_WARNING;
    case MsgDlgType::mtError:
      return IDI_ERROR;
    case MsgDlgType::mtInformation:
      return IDI_INFORMATION;
    case MsgDlgType::mtConfirmation:
      return IDI_QUESTION;
  }
  return IDI_INFORMATION;
}

ModalResult DefaultResult(MsgDlgButtons buttons) {
  if (buttons & mbOK) return mrOk;
  if (buttons & mbYes) return mrYes;
  return mrNone;
}

ModalResult CancelResult(MsgDlgButtons buttons) {
  if (buttons & mbCancel) return mrCancel;
  if (buttons & mbNo) return mrNo;
  if (buttons & mbOK) return mrOk;
  return mrCancel;
}

// Sizes at 96 pixels per inch.
constexpr int kMargin = 12;
constexpr int kIconSpacing = 15;
constexpr int kRowSpacing = 16;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonSpacing = 6;
constexpr int kTextSlack = 6;

class MessageDialogBox final : public ModalDialog {
 public:
  MessageDialogBox(const std::wstring& text, MsgDlgType type, MsgDlgButtons buttons)
      : text_(text), type_(type), buttons_(buttons) {}

 private:
  bool OnInit(HWND dialog) override;
  void OnCommand(HWND dialog, int id, int code) override;
  SIZE TextSize(HWND dialog, int maxWidth) const;

  std::wstring text_;
  MsgDlgType type_;
  MsgDlgButtons buttons_;
  HWND owner_ = nullptr;
};

SIZE MessageDialogBox::TextSize(HWND dialog, int maxWidth) const {
  const HDC dc = ::GetDC(dialog);
  const HGDIOBJ old = ::SelectObject(dc, DialogFont());
  RECT rect{0, 0, maxWidth, 0};
  ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  ::SelectObject(dc, old);
  ::ReleaseDC(dialog, dc);
  // A static control given exactly the measured width breaks the last
  // character of a line onto a line of its own under Wine (the "!" of a
  // message went missing): a few pixels to spare.
  return {rect.right - rect.left + Scaled(kTextSlack), rect.bottom - rect.top};
}

bool MessageDialogBox::OnInit(HWND dialog) {
  owner_ = ::GetWindow(dialog, GW_OWNER);
  const int margin = Scaled(kMargin);
  const int iconSize = ::GetSystemMetrics(SM_CXICON);
  const SIZE text = TextSize(dialog, ::GetSystemMetrics(SM_CXSCREEN) / 2);

  const HWND icon = AddControl(dialog, L"STATIC", L"", SS_ICON, {margin, margin, margin + iconSize, margin + iconSize},
                               -1);
  ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IconOf(type_))), 0);
  const int textLeft = margin + iconSize + Scaled(kIconSpacing);
  AddControl(dialog, L"STATIC", text_, SS_LEFT | SS_NOPREFIX,
             {textLeft, margin, textLeft + text.cx, margin + text.cy}, -1);

  std::vector<const ButtonKind*> row;
  for (const ButtonKind& kind : kButtons)
    if (buttons_ & kind.button) row.push_back(&kind);
  const int buttonWidth = Scaled(kButtonWidth);
  const int spacing = Scaled(kButtonSpacing);
  const int rowWidth = static_cast<int>(row.size()) * (buttonWidth + spacing) - spacing;
  const int clientWidth = std::max(textLeft + static_cast<int>(text.cx), rowWidth) + margin;
  const int rowTop = margin + std::max(iconSize, static_cast<int>(text.cy)) + Scaled(kRowSpacing);
  const int buttonHeight = Scaled(kButtonHeight);

  const ModalResult defaultResult = DefaultResult(buttons_);
  HWND focus = nullptr;
  int left = (clientWidth - rowWidth) / 2;
  for (const ButtonKind* kind : row) {
    const bool isDefault = kind->result == defaultResult;
    const HWND button = AddControl(dialog, L"BUTTON", kind->caption,
                                   WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                   {left, rowTop, left + buttonWidth, rowTop + buttonHeight}, kind->result);
    if (isDefault) focus = button;
    left += buttonWidth + spacing;
  }
  if (defaultResult != mrNone) ::SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(defaultResult), 0);
  PlaceCentred(dialog, owner_, clientWidth, rowTop + buttonHeight + margin);
  if (focus) ::SetFocus(focus);
  return focus != nullptr;
}

void MessageDialogBox::OnCommand(HWND dialog, int id, int code) {
  if (code != BN_CLICKED) return;
  for (const ButtonKind& kind : kButtons)
    if (id == kind.result && (buttons_ & kind.button)) return End(dialog, kind.result);
  // Esc and the close box arrive as IDCANCEL without a Cancel button.
  if (id == IDCANCEL) End(dialog, CancelResult(buttons_));
}

}  // namespace

const wchar_t* MessageDlgTitle(MsgDlgType type) {
  switch (type) {
    case MsgDlgType::mtWarning:
      return L"Warning";
    case MsgDlgType::mtError:
      return L"Error";
    case MsgDlgType::mtInformation:
      return L"Information";
    case MsgDlgType::mtConfirmation:
      return L"Confirm";
  }
  return L"";
}

ModalResult MessageDlg(const std::wstring& text, MsgDlgType type, MsgDlgButtons buttons) {
  if (Replacement()) return Replacement()({text, type, buttons});
  MessageDialogBox box(text, type, buttons);
  const INT_PTR result =
      box.ShowModal(ModalOwner(), MessageDlgTitle(type), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  return result > 0 ? static_cast<ModalResult>(result) : mrNone;
}

ScopedMessageDlg::ScopedMessageDlg(std::function<ModalResult(const MessageDlgCall&)> answer)
    : previous_(std::exchange(Replacement(), std::move(answer))) {}

ScopedMessageDlg::~ScopedMessageDlg() { Replacement() = std::move(previous_); }

}  // namespace tk
