#include "ui/WaitRun.h"

#include "toolkit/Application.h"
#include "toolkit/Graphics.h"
#include "toolkit/Screen.h"
#include "ui/ScreenMonitorManager.h"
#include "ui/WindowPlacement.h"

TFWaitRun* FWaitRun = nullptr;

namespace {

// A single fixed frame with a title bar and no buttons in it.
constexpr DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;

tk::Monitor SelectedMonitor() {
  if (myScreen) return myScreen->GetMonitor(myScreen->Monitornumber);
  return tk::Screen::Instance().Monitors(0);
}

}  // namespace

std::wstring WaitRunTitle(std::uint8_t typemessage) {
  switch (typemessage) {
    case 2:
      return L"Запись данных ЭКГ";
    case 3:
      return L"Преобразование данных ЭКГ в формат Севрон-Rezezi";
    case 4:
      return L"";
    default:
      return L"Launching ";
  }
}

TFWaitRun::TFWaitRun() {
  pixelsPerInch_ = tk::Screen::Instance().PixelsPerInch();
  if (pixelsPerInch_ <= 0) pixelsPerInch_ = 96;
  FWaitRun = this;
}

TFWaitRun::~TFWaitRun() {
  DestroyHandle();
  if (FWaitRun == this) FWaitRun = nullptr;
}

int TFWaitRun::Scaled(int pixels) const { return ::MulDiv(pixels, pixelsPerInch_, kDesignPixelsPerInch); }

std::function<void()>& TFWaitRun::ProcessMessagesForTesting() {
  static std::function<void()> processMessages = [] { tk::Application::Instance().ProcessMessages(); };
  return processMessages;
}

void TFWaitRun::Create(HWND owner) {
  font_ = tk::CreatePixelFont(L"Tahoma", Scaled(kFontHeight), /*bold=*/false, RUSSIAN_CHARSET);
  const int width = Scaled(kClientWidth);
  const int height = Scaled(kClientHeight);
  CreateForm(owner, L"", width, height, kFrameStyle);
  ::SetWindowPos(handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // The controls sit inside the inner border: the text above, the bar at the bottom.
  const int border = Scaled(kBorderWidth);
  const int barHeight = Scaled(kBarHeight);
  const int innerWidth = width - 2 * border;
  LblProgress.Create(handle(), L"", {border, border, innerWidth, height - 2 * border - barHeight});
  ProgressBar.Create(handle(), {border, height - border - barHeight, innerWidth, barHeight},
                     {0, kSteps, 1, /*smooth=*/true});
  LblProgress.SetFont(font_.get());
  FormCreate();
}

void TFWaitRun::FormCreate() {
  ProgressBar.SetPosition(0);
  SetText(WaitRunTitle(typemessage));
  // Centred on the selected monitor (the frame's size, not the client's).
  const tk::Monitor monitor = SelectedMonitor();
  RECT frame{};
  ::GetWindowRect(handle(), &frame);
  const ui::Area place = ui::PlaceWaitRunWindow({monitor.Left(), monitor.Top(), monitor.Width(), monitor.Height()},
                                                frame.right - frame.left, frame.bottom - frame.top);
  ::SetWindowPos(handle(), nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFWaitRun::FormShow() { SetText(WaitRunTitle(typemessage)); }

void TFWaitRun::FormDestroy() {}

void TFWaitRun::Next(const std::wstring& msg) noexcept {
  try {
    ProgressBar.StepIt();
    LblProgress.SetText(msg);
    ProcessMessagesForTesting()();
  } catch (...) {
    // Whatever goes wrong while stepping or repainting stays here: the
    // caller's work goes on.
  }
}

LRESULT TFWaitRun::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam) FormShow();  // however the window is shown
      break;
    case WM_DESTROY:
      FormDestroy();
      break;
    default:
      break;
  }
  return Form::HandleMessage(message, wParam, lParam);
}
