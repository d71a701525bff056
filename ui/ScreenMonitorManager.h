// ScreenMonitorManager: the monitor the suite's windows appear on, and its
// size. TmyScreen wraps the toolkit's screen object; start-up creates the one
// instance myScreen and selects monitor 0; the message window and the
// launch-wait window place themselves by its values.
#pragma once

#include "toolkit/Screen.h"

#include <cstdint>

class TmyScreen {
 public:
  // Create: over the toolkit's screen object.
  TmyScreen();
  // The same over another screen object (a test's monitors); not owned.
  explicit TmyScreen(tk::Screen& screen);
  TmyScreen(const TmyScreen&) = delete;
  TmyScreen& operator=(const TmyScreen&) = delete;

  // The screen's monitor `Index`, in the system's order; throws tk::EListError
  // for an index outside the list.
  tk::Monitor GetMonitor(int Index) const;
  tk::Monitor Monitors(int Index) const { return GetMonitor(Index); }
  tk::TCursor GetCursor() const;
  // Sets the screen's cursor; an error doing so is swallowed (after giving up
  // the rest of the time slice once).
  void SetCursor(tk::TCursor Value);

 private:
  friend void SelectMonitor(std::uint8_t Index);
  tk::Screen* FScreen;  // not owned

 public:
  tk::TCursor FCursor = 0;         // the cursor last set through the manager
  std::int32_t MonitorCount = 0;   // monitors when the manager was created
  std::int32_t Width = 0;          // the selected monitor's full width (the primary's before SelectMonitor)
  std::int32_t Height = 0;
  std::int32_t WorkAreaWidth = 0;  // the selected monitor's work area (the primary's before SelectMonitor)
  std::int32_t WorkAreaHeight = 0;
  std::int32_t Monitornumber = 0;  // index of the selected monitor
  std::int32_t PixelsPerInch = 0;  // the screen's logical pixels per inch at creation
  double ScaleKoef = 0;            // the selected monitor's pixels per inch / 96
};

static_assert(sizeof(tk::TCursor) == 2, "a cursor identifier is a signed 16-bit number");

// The one manager; null until start-up creates it.
extern TmyScreen* myScreen;

// Creates myScreen (start-up, once); it lives until the process ends.
void CreateMyScreen();

// Selects monitor `Index` of myScreen (which must exist): an index beyond the
// last monitor selects monitor 0. Width, Height and the work area become the
// selected monitor's, ScaleKoef its pixels per inch / 96.
void SelectMonitor(std::uint8_t Index);
