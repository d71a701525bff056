// MessageForm: the suite's own message window. TFMessageform shows a wrapped
// text with an OK button (and a Cancel button for questions) and, below them, a
// countdown row "Окно закроется через" with the seconds left and a button
// "остановить" that stops it; when the countdown runs out the window closes as
// if Cancel had been pressed. ShowMessageWindow shows one modally and tells
// whether OK was pressed.
//
// The window places itself by the screen manager (myScreen): its lower edge at
// half the selected monitor's height, centred across it, and always on that
// monitor. A text too tall for the monitor is shown in a scrollable read-only
// text area in place of the label, so the window, its title bar and its buttons
// stay on the monitor and the whole text can still be read.
#pragma once

#include "common/Handles.h"
#include "toolkit/BitmapButton.h"
#include "toolkit/Label.h"
#include "toolkit/ModalForm.h"
#include "toolkit/Panel.h"
#include "toolkit/TextArea.h"
#include "toolkit/Timer.h"
#include "ui/WindowPlacement.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

enum TMessageType : std::uint8_t { mtMessage, mtDialog };
static_assert(sizeof(TMessageType) == 1, "TMessageType is one byte");

class TFMessageform final : public tk::ModalForm {
 public:
  // Sizes as designed at 96 pixels per inch; the window scales them to the
  // screen's pixels per inch.
  static constexpr int kClientWidth = 446;
  static constexpr int kButtonsHeight = 24;
  static constexpr int kOkWidth = 70;
  static constexpr int kCancelWidth = 73;
  static constexpr int kSpacerWidth = 10;  // keeps OK apart from the rest of the row
  static constexpr int kCloseRowHeight = 16;
  static constexpr int kStopWidth = 80;
  static constexpr int kCloseLabelWidth = 107;
  static constexpr int kSecondsLabelWidth = 22;
  // Plain pixels, never scaled: the gap above the countdown row and what the
  // window adds to the height of its rows.
  static constexpr int kRowGap = 2;
  static constexpr int kExtraHeight = 60;

  // Create: the hidden window with its controls, owned by the application window.
  TFMessageform();
  ~TFMessageform() override;

  // Shows the window with `Text`, the buttons of `tip` and the title
  // `CaptionText`; `smodal`: modally with the countdown, returning when the
  // window has closed, else at once. True only when OK was pressed.
  bool Showmes(const std::wstring& Text, TMessageType tip, const std::wstring& CaptionText, bool smodal);

  // Event handlers.
  void FormShow();
  void FormClose();
  void StayUpTimerTimer();
  void StopTimerTimer();
  void btnOKClick();
  void btnCancelClick();
  void btnStopClick();

  // The fonts come before the controls, so they outlive them.
 private:
  win::UniqueFont baseFont_;     // Tahoma, 10 pixels high characters (scaled)
  win::UniqueFont messageFont_;  // Tahoma, 10 points, made on show

 public:
  tk::Label lblMessage;
  // In place of lblMessage when the text would make the window taller than
  // the monitor: the same text, scrollable.
  tk::TextArea memoMessage;
  tk::Panel pnlButtons;
  tk::BitmapButton btnCancel;
  tk::BitmapButton btnOK;
  tk::Panel pnlClose;
  tk::BitmapButton btnStop;
  tk::Label lblClose;
  tk::Label lblSec;
  tk::Timer StayUpTimer{1000};
  tk::Timer StopTimer{ui::kDesignedCountdownMs};

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  void ConnectHandlers();
  int Scaled(int pixels) const;
  void SetMessageFont();
  void SizeAndPlace();
  void LayoutControls();
  void LayoutMessage(const tk::Bounds& area);
  void FitSecondsLabel();
  void BringToFront();

  std::chrono::steady_clock::time_point tt;  // when the window was laid out on show
  TMessageType FMessageTtype = mtMessage;
  std::wstring FMessageText;
  std::wstring FCaptionText;
  bool FShowResult = false;
  bool Fsmodal = false;

  int pixelsPerInch_ = 96;
  int gapBelowMessage_ = 0;  // free height between the text and the buttons
};

// Shows `text` modally with the buttons of `kind` and the title `caption`,
// closing by itself after `seconds` (0: the designed 20 s). True when the user
// pressed OK; false for Cancel, the end of the countdown and the close box.
// Throws std::out_of_range, before anything is shown, for a negative `seconds`
// or one whose milliseconds do not fit a signed 32-bit number.
bool ShowMessageWindow(const std::wstring& text, TMessageType kind, const std::wstring& caption, int seconds);

namespace ui {

// The selected monitor's values from myScreen (monitor 0 of the screen while
// there is no screen manager).
SelectedMonitor MessageWindowMonitor();

// Test seam: while an object of this kind lives, ShowMessageWindow calls
// `answer` with its arguments instead of showing the window.
struct MessageWindowCall {
  std::wstring text;
  TMessageType kind;
  std::wstring caption;
  int seconds;
};
class ScopedMessageWindow {
 public:
  explicit ScopedMessageWindow(std::function<bool(const MessageWindowCall&)> answer);
  ScopedMessageWindow(const ScopedMessageWindow&) = delete;
  ScopedMessageWindow& operator=(const ScopedMessageWindow&) = delete;
  ~ScopedMessageWindow();

 private:
  std::function<bool(const MessageWindowCall&)> previous_;
};

}  // namespace ui
