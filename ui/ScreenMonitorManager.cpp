#include "ui/ScreenMonitorManager.h"

#include <windows.h>

#include <memory>

TmyScreen* myScreen = nullptr;

namespace {

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }

}  // namespace

TmyScreen::TmyScreen() : TmyScreen(tk::Screen::Instance()) {}

TmyScreen::TmyScreen(tk::Screen& screen) : FScreen(&screen) {
  FCursor = FScreen->Cursor();
  MonitorCount = FScreen->MonitorCount();
  const RECT work = FScreen->WorkAreaRect();
  WorkAreaWidth = RectWidth(work);
  WorkAreaHeight = RectHeight(work);
  Width = FScreen->Width();
  Height = FScreen->Height();
  PixelsPerInch = FScreen->PixelsPerInch();
}

tk::Monitor TmyScreen::GetMonitor(int Index) const { return FScreen->Monitors(Index); }

tk::TCursor TmyScreen::GetCursor() const { return FCursor; }

void TmyScreen::SetCursor(tk::TCursor Value) {
  FCursor = Value;
  try {
    FScreen->SetCursor(Value);
  } catch (...) {
    ::Sleep(0);
  }
}

void CreateMyScreen() {
  static std::unique_ptr<TmyScreen> instance;
  if (!instance) instance = std::make_unique<TmyScreen>();
  myScreen = instance.get();
}

void SelectMonitor(std::uint8_t Index) {
  TmyScreen& screen = *myScreen;
  const int count = screen.FScreen->MonitorCount();  // asked anew
  screen.Monitornumber = count - 1 < Index ? 0 : Index;
  const tk::Monitor monitor = screen.GetMonitor(screen.Monitornumber);
  screen.Width = monitor.Width();
  screen.Height = monitor.Height();
  // The work area of the selected monitor, taskbar excluded, where the name
  // says so (Create fills it the same way for the primary monitor).
  screen.WorkAreaWidth = RectWidth(monitor.WorkareaRect);
  screen.WorkAreaHeight = RectHeight(monitor.WorkareaRect);
  screen.ScaleKoef = monitor.PixelsPerInch / 96.0;
}
