// The screen manager over the real screen of the virtual display (one
// monitor) and over a screen object with the monitors a test gives it.
#include "tests/win/TestSupport.h"
#include "ui/ScreenMonitorManager.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

struct FakeMonitor {
  RECT bounds;
  RECT work;
  int pixelsPerInch;
};

class FakeScreen final : public tk::Screen {
 public:
  explicit FakeScreen(std::vector<FakeMonitor> monitors) : monitors_(std::move(monitors)) {}
  int MonitorCount() const override { return static_cast<int>(monitors_.size()); }
  tk::Monitor Monitors(int index) const override {
    if (index < 0 || index >= MonitorCount()) throw tk::EListError(index);
    tk::Monitor m;
    m.MonitorNum = index;
    m.BoundsRect = monitors_[static_cast<size_t>(index)].bounds;
    m.WorkareaRect = monitors_[static_cast<size_t>(index)].work;
    m.PixelsPerInch = monitors_[static_cast<size_t>(index)].pixelsPerInch;
    return m;
  }
  int PixelsPerInch() const override { return 96; }
  int Width() const override { return 1920; }
  int Height() const override { return 1080; }
  RECT WorkAreaRect() const override { return {0, 0, 1920, 1040}; }
  void SetCursor(tk::TCursor cursor) override {
    if (failCursor) throw std::runtime_error("no cursor");
    tk::Screen::SetCursor(cursor);
  }
  bool failCursor = false;

 private:
  std::vector<FakeMonitor> monitors_;
};

// SelectMonitor works on myScreen: point it at `screen` for the test.
struct Selected {
  explicit Selected(TmyScreen& screen) : saved(myScreen) { myScreen = &screen; }
  ~Selected() { myScreen = saved; }
  TmyScreen* saved;
};

const std::vector<FakeMonitor> kTwoMonitors = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
    {{1920, -200, 1920 + 1280, -200 + 1024}, {1920, -200, 1920 + 1280, -200 + 984}, 144},
};

}  // namespace

TEST(ScreenMonitorManager, CreateTakesThePrimaryScreen) {
  FakeScreen screen(kTwoMonitors);
  const TmyScreen manager(screen);
  EXPECT_EQ(manager.MonitorCount, 2);
  EXPECT_EQ(manager.Width, 1920);
  EXPECT_EQ(manager.Height, 1080);
  EXPECT_EQ(manager.WorkAreaWidth, 1920);
  EXPECT_EQ(manager.WorkAreaHeight, 1040);
  EXPECT_EQ(manager.PixelsPerInch, 96);
  EXPECT_EQ(manager.Monitornumber, 0);
  EXPECT_EQ(manager.ScaleKoef, 0.0);
  EXPECT_EQ(manager.GetCursor(), tk::crDefault);
}

TEST(ScreenMonitorManager, SelectMonitorTakesTheChosenMonitorsSizes) {
  struct Case {
    std::uint8_t index;
    int number, width, height, workWidth, workHeight;
    double scale;
  };
  FakeScreen screen(kTwoMonitors);
  TmyScreen manager(screen);
  Selected selected(manager);
  for (const Case& c : {Case{1, 1, 1280, 1024, 1280, 984, 1.5}, Case{0, 0, 1920, 1080, 1920, 1040, 1.0},
                        Case{2, 0, 1920, 1080, 1920, 1040, 1.0}, Case{255, 0, 1920, 1080, 1920, 1040, 1.0}}) {
    SCOPED_TRACE(static_cast<int>(c.index));
    SelectMonitor(c.index);
    EXPECT_EQ(manager.Monitornumber, c.number);
    EXPECT_EQ(manager.Width, c.width);
    EXPECT_EQ(manager.Height, c.height);
    EXPECT_EQ(manager.WorkAreaWidth, c.workWidth);
    EXPECT_EQ(manager.WorkAreaHeight, c.workHeight);
    EXPECT_DOUBLE_EQ(manager.ScaleKoef, c.scale);
  }
  EXPECT_EQ(manager.GetMonitor(1).Left(), 1920);
  EXPECT_EQ(manager.GetMonitor(1).Top(), -200);
}

TEST(ScreenMonitorManager, AMonitorOutsideTheListIsTheListIndexError) {
  FakeScreen screen(kTwoMonitors);
  const TmyScreen manager(screen);
  try {
    manager.GetMonitor(5);
    ADD_FAILURE() << "no error";
  } catch (const tk::EListError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (5)");
  }
}

TEST(ScreenMonitorManager, SetCursorKeepsTheValueAndSwallowsErrors) {
  FakeScreen screen(kTwoMonitors);
  TmyScreen manager(screen);
  manager.SetCursor(tk::crHourGlass);
  EXPECT_EQ(manager.FCursor, tk::crHourGlass);
  EXPECT_EQ(screen.Cursor(), tk::crHourGlass);
  screen.failCursor = true;
  EXPECT_NO_THROW(manager.SetCursor(tk::crArrow));
  EXPECT_EQ(manager.GetCursor(), tk::crArrow);
  screen.failCursor = false;
  manager.SetCursor(tk::crDefault);
}

TEST(ScreenMonitorManager, TheRealScreenHasOneMonitor) {
  // Under the test display: one monitor, 1280 x 1024, 96 pixels per inch.
  TmyScreen manager;
  Selected selected(manager);
  SelectMonitor(3);
  EXPECT_EQ(manager.MonitorCount, 1);
  EXPECT_EQ(manager.Monitornumber, 0);
  EXPECT_EQ(manager.Width, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(manager.Height, ::GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(manager.PixelsPerInch, 96);
  EXPECT_DOUBLE_EQ(manager.ScaleKoef, 1.0);
  EXPECT_TRUE(manager.GetMonitor(0).Primary);
}

TEST(ScreenMonitorManager, StartUpCreatesTheOneManager) {
  CreateMyScreen();
  TmyScreen* first = myScreen;
  ASSERT_NE(first, nullptr);
  CreateMyScreen();
  EXPECT_EQ(myScreen, first);
}
