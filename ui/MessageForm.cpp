#include "ui/MessageForm.h"

#include "toolkit/Application.h"
#include "toolkit/Graphics.h"
#include "toolkit/Screen.h"
#include "ui/ScreenMonitorManager.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace {

std::function<bool(const ui::MessageWindowCall&)>& Replacement() {
  static std::function<bool(const ui::MessageWindowCall&)> answer;
  return answer;
}

constexpr DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

const wchar_t kCloseCaption[] = L"Окно закроется через";
const wchar_t kSecondsCaption[] = L"  сек";  // until the first tick of the countdown

ui::Area AreaOf(const RECT& rect) { return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }

// The height the frame adds to the client area.
int FrameHeight(HWND window) {
  RECT frame{0, 0, 100, 100};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)));
  return frame.bottom - frame.top - 100;
}

}  // namespace

TFMessageform::TFMessageform() {
  pixelsPerInch_ = tk::Screen::Instance().PixelsPerInch();
  if (pixelsPerInch_ <= 0) pixelsPerInch_ = 96;
  baseFont_ = tk::CreatePixelFont(L"Tahoma", Scaled(10));
  CreateForm(tk::Application::Instance().handle(), L"", Scaled(kClientWidth),
             Scaled(kButtonsHeight + kCloseRowHeight) + kExtraHeight, kFrameStyle);
  // Stay-on-top (the form is made without extended styles).
  ::SetWindowPos(handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CreateControls();
  ConnectHandlers();
  LayoutControls();
}

TFMessageform::~TFMessageform() { DestroyHandle(); }

int TFMessageform::Scaled(int pixels) const { return ::MulDiv(pixels, pixelsPerInch_, 96); }

// Created in Tab order: the text area (when shown), Cancel, OK, "остановить".
void TFMessageform::CreateControls() {
  const COLORREF face = BackgroundColor();
  lblMessage.Create(handle(), L"", {0, 0, Scaled(kClientWidth), 0},
                    {tk::Label::Alignment::Left, /*wordWrap=*/true, /*verticalCentre=*/true});
  memoMessage.Create(handle(), {0, 0, Scaled(kClientWidth), 0}, ::GetSysColor(COLOR_BTNTEXT), face);

  pnlButtons.Create(handle(), {0, 0, Scaled(kClientWidth), Scaled(kButtonsHeight)}, {face});
  btnCancel.Create(pnlButtons.handle(), L"Отмена", {0, 0, Scaled(kCancelWidth), Scaled(kButtonsHeight)},
                   L"MSG_CROSS", L"MSG_CROSS_D");
  btnOK.Create(pnlButtons.handle(), L"OK", {0, 0, Scaled(kOkWidth), Scaled(kButtonsHeight)}, L"MSG_TICK",
               L"MSG_TICK_D");

  pnlClose.Create(handle(), {0, 0, Scaled(kClientWidth), Scaled(kCloseRowHeight)}, {face});
  btnStop.Create(pnlClose.handle(), L"остановить", {0, 0, Scaled(kStopWidth), Scaled(kCloseRowHeight)}, nullptr,
                 nullptr);
  lblClose.Create(pnlClose.handle(), kCloseCaption, {0, 0, Scaled(kCloseLabelWidth), Scaled(kCloseRowHeight)},
                  {tk::Label::Alignment::Centre, false, true});
  lblSec.Create(pnlClose.handle(), kSecondsCaption, {0, 0, Scaled(kSecondsLabelWidth), Scaled(kCloseRowHeight)},
                {tk::Label::Alignment::Left, false, true});

  for (tk::Window* control : std::initializer_list<tk::Window*>{&lblMessage, &memoMessage, &btnCancel, &btnOK,
                                                                  &btnStop, &lblClose, &lblSec})
    control->SetFont(baseFont_.get());
  memoMessage.SetVisible(false);
}

void TFMessageform::ConnectHandlers() {
  btnOK.onClick = [this] { btnOKClick(); };
  btnCancel.onClick = [this] { btnCancelClick(); };
  btnStop.onClick = [this] { btnStopClick(); };
  StayUpTimer.onTimer = [this] { StayUpTimerTimer(); };
  StopTimer.onTimer = [this] { StopTimerTimer(); };
  onClose = [this] { FormClose(); };
}

bool TFMessageform::Showmes(const std::wstring& Text, TMessageType tip, const std::wstring& CaptionText,
                            bool smodal) {
  FShowResult = false;
  FMessageTtype = tip;
  FMessageText = Text;
  FCaptionText = CaptionText;
  Fsmodal = smodal;
  btnCancel.SetVisible(tip == mtDialog);
  btnOK.SetVisible(smodal);
  btnStop.SetVisible(smodal);
  if (!smodal) btnCancel.SetVisible(false);
  FormShow();
  if (smodal)
    ShowModal();
  else
    Show();
  return FShowResult;
}

void TFMessageform::FormShow() {
  if (Fsmodal) {
    StayUpTimer.SetTimerEnabled(true);
    StopTimer.SetTimerEnabled(true);
  } else {
    StayUpTimer.SetTimerEnabled(false);
    StopTimer.SetTimerEnabled(false);
  }
  lblClose.SetVisible(Fsmodal);
  lblSec.SetVisible(Fsmodal);
  lblSec.SetText(kSecondsCaption);
  pnlClose.SetVisible(true);

  SetMessageFont();
  const std::wstring shown = tk::TextArea::WithCrLf(FMessageText);
  lblMessage.SetText(shown);
  memoMessage.SetText(shown);
  SetText(FCaptionText);

  SizeAndPlace();
  BringToFront();
  tt = std::chrono::steady_clock::now();
}

void TFMessageform::SetMessageFont() {
  // 10 points at the screen's pixels per inch.
  win::UniqueFont font = tk::CreatePixelFont(L"Tahoma", ::MulDiv(10, pixelsPerInch_, 72));
  lblMessage.SetFont(font.get());
  memoMessage.SetFont(font.get());
  messageFont_ = std::move(font);
}

// The height is the text's wrapped height + the two rows + 60, the width stays;
// a window that would be taller than the monitor gets the monitor's height and
// the text its scroll bar.
void TFMessageform::SizeAndPlace() {
  RECT client{};
  ::GetClientRect(handle(), &client);
  const int frameHeight = FrameHeight(handle());
  const int textHeight = lblMessage.MeasureText(client.right).cy;
  const int rows = Scaled(kButtonsHeight) + kRowGap + Scaled(kCloseRowHeight);
  const int designed = textHeight + Scaled(kButtonsHeight) + Scaled(kCloseRowHeight) + kExtraHeight;
  // A frame thicker than the 58 pixels the design leaves for it must not cut
  // the text: the window then grows by the difference.
  const int height = std::max(designed, frameHeight + textHeight + rows);
  gapBelowMessage_ = height - frameHeight - textHeight - rows;

  const ui::SelectedMonitor monitor = ui::MessageWindowMonitor();
  const int width = GetBounds().width;
  const ui::Area place =
      ui::PlaceMessageWindow(monitor, width, std::min(height, ui::MessageWindowMaxHeight(monitor)));
  ::SetWindowPos(handle(), nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls();
}

// From the bottom up: the countdown row, 2 pixels, the buttons; the text fills
// what is left above them less the free height the design leaves.
void TFMessageform::LayoutControls() {
  if (!pnlClose.handle()) return;  // still being made
  RECT client{};
  ::GetClientRect(handle(), &client);
  const int width = client.right;
  const int closeHeight = Scaled(kCloseRowHeight);
  const int buttonsHeight = Scaled(kButtonsHeight);
  const int closeTop = client.bottom - closeHeight;
  const int buttonsTop = closeTop - kRowGap - buttonsHeight;

  pnlClose.SetBounds({0, closeTop, width, closeHeight});
  pnlButtons.SetBounds({0, buttonsTop, width, buttonsHeight});
  const int okLeft = width - Scaled(kOkWidth);
  btnOK.SetBounds({okLeft, 0, Scaled(kOkWidth), buttonsHeight});
  btnCancel.SetBounds({0, 0, std::clamp(okLeft - Scaled(kSpacerWidth), 0, Scaled(kCancelWidth)), buttonsHeight});
  btnStop.SetBounds({0, 0, Scaled(kStopWidth), closeHeight});
  lblClose.SetBounds({Scaled(kStopWidth), 0, Scaled(kCloseLabelWidth), closeHeight});
  FitSecondsLabel();

  LayoutMessage({0, 0, width, std::max(0, buttonsTop - gapBelowMessage_)});
}

void TFMessageform::LayoutMessage(const tk::Bounds& area) {
  const bool fits = lblMessage.MeasureText(area.width).cy <= area.height;
  lblMessage.SetBounds(area);
  memoMessage.SetBounds(area);
  lblMessage.SetVisible(fits);
  memoMessage.SetVisible(!fits);
}

// The seconds label keeps its designed width and grows with a longer number.
void TFMessageform::FitSecondsLabel() {
  const int closeHeight = Scaled(kCloseRowHeight);
  const int width = std::max(Scaled(kSecondsLabelWidth), static_cast<int>(lblSec.MeasureText(0).cx));
  lblSec.SetBounds({Scaled(kStopWidth) + Scaled(kCloseLabelWidth), 0, width, closeHeight});
}

void TFMessageform::BringToFront() {
  ::SetWindowPos(handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFMessageform::StayUpTimerTimer() {
  if (!Visible()) return;
  BringToFront();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - tt;
  lblSec.SetText(ui::CountdownCaption(StopTimer.Interval(), elapsed.count()));
  FitSecondsLabel();
}

void TFMessageform::StopTimerTimer() { btnCancelClick(); }

void TFMessageform::btnOKClick() {
  FShowResult = true;
  Close();
}

void TFMessageform::btnCancelClick() {
  FShowResult = false;
  Close();
}

void TFMessageform::btnStopClick() {
  StopTimer.SetTimerEnabled(false);
  pnlClose.SetVisible(false);
}

void TFMessageform::FormClose() {
  StayUpTimer.SetTimerEnabled(false);
  StopTimer.SetTimerEnabled(false);
}

LRESULT TFMessageform::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) LayoutControls();  // the frame is sizeable
  return ModalForm::HandleMessage(message, wParam, lParam);
}

bool ShowMessageWindow(const std::wstring& text, TMessageType kind, const std::wstring& caption, int seconds) {
  const unsigned countdown = ui::CountdownMilliseconds(seconds);
  if (Replacement()) return Replacement()({text, kind, caption, seconds});
  const auto window = std::make_unique<TFMessageform>();  // freed on every way out
  window->StopTimer.SetInterval(countdown);
  return window->Showmes(text, kind, caption, true);
}

namespace ui {

SelectedMonitor MessageWindowMonitor() {
  if (myScreen) {
    const tk::Monitor monitor = myScreen->GetMonitor(myScreen->Monitornumber);
    return {myScreen->Width, myScreen->Height, AreaOf(monitor.BoundsRect), AreaOf(monitor.WorkareaRect)};
  }
  const tk::Monitor monitor = tk::Screen::Instance().Monitors(0);
  return {monitor.Width(), monitor.Height(), AreaOf(monitor.BoundsRect), AreaOf(monitor.WorkareaRect)};
}

ScopedMessageWindow::ScopedMessageWindow(std::function<bool(const MessageWindowCall&)> answer)
    : previous_(std::exchange(Replacement(), std::move(answer))) {}

ScopedMessageWindow::~ScopedMessageWindow() { Replacement() = std::move(previous_); }

}  // namespace ui
