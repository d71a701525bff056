// Where the message window and the launch-wait window go on invented monitor
// arrangements, the countdown's seconds label, and the countdown a number of
// seconds gives: plain arithmetic, checked case by case.
#include "ui/WindowPlacement.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>

using ui::Area;
using ui::SelectedMonitor;

namespace {

// A monitor as the screen manager gives it after SelectMonitor: Width and
// Height are its full size.
SelectedMonitor Monitor(Area bounds, Area workArea) { return {bounds.width, bounds.height, bounds, workArea}; }
SelectedMonitor Monitor(Area bounds) { return Monitor(bounds, bounds); }

const Area kPrimary{0, 0, 1280, 1024};

}  // namespace

TEST(MessageFormPlacement, LowerEdgeAtHalfTheMonitorAndCentredAcrossIt) {
  struct Case {
    const char* name;
    SelectedMonitor monitor;
    int width, height;
    Area expected;
  };
  const Case cases[] = {
      {"primary", Monitor(kPrimary), 458, 200, {411, 312, 458, 200}},
      {"odd difference truncates", Monitor(kPrimary), 459, 201, {410, 311, 459, 201}},
      {"odd monitor height", Monitor({0, 0, 1280, 1025}), 458, 200, {411, 312, 458, 200}},
      {"second monitor on the right", Monitor({1280, 0, 1920, 1080}), 458, 200, {2011, 340, 458, 200}},
      {"second monitor on the left", Monitor({-1920, 0, 1920, 1080}), 458, 200, {-1189, 340, 458, 200}},
      // The monitor's own top counts: below or above the primary monitor the
      // window stays on the selected one.
      {"second monitor below", Monitor({0, 1024, 1280, 1024}), 458, 200, {411, 1336, 458, 200}},
      {"second monitor above", Monitor({0, -1080, 1920, 1080}), 458, 200, {731, -740, 458, 200}},
      {"exactly half the height", Monitor(kPrimary), 458, 512, {411, 0, 458, 512}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ui::PlaceMessageWindow(c.monitor, c.width, c.height), c.expected);
  }
}

TEST(MessageFormPlacement, AWindowTallerThanHalfTheMonitorStaysOnIt) {
  struct Case {
    const char* name;
    SelectedMonitor monitor;
    int width, height;
    Area expected;
  };
  const Area taskbarBelow{0, 0, 1280, 984};
  const Area taskbarAbove{0, 40, 1280, 984};
  const Case cases[] = {
      // By the halves alone the top would be 512 - 700 = -188, above the desktop.
      {"primary", Monitor(kPrimary), 458, 700, {411, 0, 458, 700}},
      {"taskbar above", Monitor(kPrimary, taskbarAbove), 458, 600, {411, 40, 458, 600}},
      {"as tall as the work area", Monitor(kPrimary, taskbarBelow), 458, 984, {411, 0, 458, 984}},
      {"second monitor below", Monitor({0, 1024, 1280, 1024}), 458, 700, {411, 1024, 458, 700}},
      {"second monitor on the left", Monitor({-1920, -56, 1920, 1080}), 458, 900, {-1189, -56, 458, 900}},
      // Larger than the work area (the window limits its height, so only by
      // mistake): its upper left corner stays on the monitor.
      {"taller than the work area", Monitor(kPrimary, taskbarAbove), 458, 1100, {411, 40, 458, 1100}},
      {"wider than the monitor", Monitor({100, 0, 400, 300}), 458, 100, {100, 50, 458, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ui::PlaceMessageWindow(c.monitor, c.width, c.height), c.expected);
  }
}

TEST(MessageFormPlacement, TheTallestWindowIsTheWorkAreasHeight) {
  EXPECT_EQ(ui::MessageWindowMaxHeight(Monitor(kPrimary)), 1024);
  EXPECT_EQ(ui::MessageWindowMaxHeight(Monitor(kPrimary, {0, 0, 1280, 984})), 984);
  EXPECT_EQ(ui::MessageWindowMaxHeight(Monitor({1280, 0, 1920, 1080}, {1280, 0, 1920, 1040})), 1040);
}

TEST(MessageFormPlacement, TheLaunchWaitWindowIsCentredOnTheMonitor) {
  struct Case {
    const char* name;
    Area monitor;
    int width, height;
    Area expected;
  };
  const Case cases[] = {
      {"primary", kPrimary, 320, 70, {480, 477, 320, 70}},
      {"odd differences truncate", kPrimary, 321, 71, {479, 476, 321, 71}},
      {"second monitor on the right", {1280, 0, 1920, 1080}, 320, 70, {2080, 505, 320, 70}},
      {"second monitor above on the left", {-1920, -1080, 1920, 1080}, 320, 70, {-1120, -575, 320, 70}},
      {"second monitor below", {0, 1024, 1280, 1024}, 320, 70, {480, 1501, 320, 70}},
      // -1 div 2 is 0: toward zero, not down.
      {"one pixel wider than the monitor", {0, 0, 457, 300}, 458, 101, {0, 99, 458, 101}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ui::PlaceWaitRunWindow(c.monitor, c.width, c.height), c.expected);
  }
}

TEST(MessageFormPlacement, TheSecondsLabelShowsTheRoundedSecondsLeft) {
  struct Case {
    unsigned countdownMs;
    double elapsed;
    std::wstring expected;
  };
  const Case cases[] = {
      {20000, 1.0, L"  19с"},         // the first tick of the designed countdown
      {20000, 1.4, L"  19с"},
      {20000, 1.6, L"  18с"},
      {20000, 0.0, L"  20с"},
      {60000, 1.02, L"  59с"},
      {20999, 1.0, L"  19с"},         // whole seconds of the countdown
      {3000, 2.9, L"  0с"},
      {3000, 3.4, L"  0с"},           // a tick after the end shows 0, never -1
      {2147483000, 1.0, L"  2147482с"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.countdownMs) + " ms, " + std::to_string(c.elapsed) + " s");
    EXPECT_EQ(ui::CountdownCaption(c.countdownMs, c.elapsed), c.expected);
  }
}

TEST(MessageFormPlacement, SecondsGiveTheCountdownOrAnErrorBeforeAnythingIsShown) {
  EXPECT_EQ(ui::CountdownMilliseconds(0), 20000u);
  EXPECT_EQ(ui::CountdownMilliseconds(1), 1000u);
  EXPECT_EQ(ui::CountdownMilliseconds(60), 60000u);
  EXPECT_EQ(ui::CountdownMilliseconds(2147483), 2147483000u);
  for (int seconds : {-1, -20, 2147484, INT_MAX, INT_MIN}) {
    SCOPED_TRACE(seconds);
    EXPECT_THROW(ui::CountdownMilliseconds(seconds), std::out_of_range);
  }
}
