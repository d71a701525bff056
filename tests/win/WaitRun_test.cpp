// The launch-wait window: made hidden and centred on the selected monitor,
// titled by the kind of work when shown, stepped by Next, which keeps every
// error to itself; and the hidden window of the real program after start-up.
#include "common/ComPtr.h"
#include "common/Handles.h"
#include "tests/win/InventedScreen.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"
#include "toolkit/Form.h"
#include "ui/WaitRun.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace testsupport;
using namespace uidriver;

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT ScreenRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

RECT ClientOnScreen(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  ::MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Puts back how Next lets messages run when the test ends.
class ScopedProcessMessages {
 public:
  explicit ScopedProcessMessages(std::function<void()> replacement)
      : previous_(std::exchange(TFWaitRun::ProcessMessagesForTesting(), std::move(replacement))) {}
  ScopedProcessMessages(const ScopedProcessMessages&) = delete;
  ScopedProcessMessages& operator=(const ScopedProcessMessages&) = delete;
  ~ScopedProcessMessages() { TFWaitRun::ProcessMessagesForTesting() = std::move(previous_); }

 private:
  std::function<void()> previous_;
};

class WaitRunTest : public testing::Test {
 protected:
  win::ComScope com_{COINIT_APARTMENTTHREADED};
  InventedScreen screen_{std::vector<InventedScreen::Placement>{{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}}}};
  ScopedScreenManager manager_{screen_, 0};
};

}  // namespace

using WaitRun = WaitRunTest;

TEST(WaitRunPlacement, MadeHiddenTitledLaunchingWithAnEmptyBarAndCentredOnTheSelectedMonitor) {
  struct Case {
    const char* name;
    std::vector<InventedScreen::Placement> monitors;
    std::uint8_t select;
    RECT expectedMonitor;
  };
  const RECT primary{0, 0, 1280, 1024};
  const RECT right{1280, 0, 3200, 1080};
  const RECT aboveLeft{-1920, -1080, 0, 0};
  const Case cases[] = {
      {"one monitor", {{primary, primary}}, 0, primary},
      {"an index beyond the last selects monitor 0", {{primary, primary}}, 2, primary},
      {"second monitor on the right", {{primary, primary}, {right, right}}, 1, right},
      {"second monitor above on the left", {{primary, primary}, {aboveLeft, aboveLeft}}, 1, aboveLeft},
  };
  win::ComScope com(COINIT_APARTMENTTHREADED);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InventedScreen screen(c.monitors);
    ScopedScreenManager manager(screen, c.select);
    TFWaitRun form;
    form.Create(nullptr);
    EXPECT_EQ(FWaitRun, &form);
    EXPECT_FALSE(::IsWindowVisible(form.handle()));
    EXPECT_EQ(form.Text(), L"Launching ");
    EXPECT_EQ(form.ProgressBar.Position(), 0);
    const RECT window = ScreenRect(form.handle());
    const RECT& m = c.expectedMonitor;
    EXPECT_EQ(window.left, m.left + (Width(m) - Width(window)) / 2);
    EXPECT_EQ(window.top, m.top + (Height(m) - Height(window)) / 2);
  }
  EXPECT_EQ(FWaitRun, nullptr) << "gone with its window";
}

TEST_F(WaitRun, ItsFrameTextAndBarAreAsDesigned) {
  TFWaitRun form;
  form.Create(nullptr);
  const LONG_PTR style = ::GetWindowLongPtrW(form.handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_SYSMENU) << "no buttons in the title bar";
  EXPECT_FALSE(style & WS_THICKFRAME) << "a fixed frame";
  EXPECT_TRUE(::GetWindowLongPtrW(form.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // 471 x 59 at 144 pixels per inch are 314 x 39 at 96; the inner border of 2 is 1.
  const RECT client = ClientOnScreen(form.handle());
  EXPECT_EQ(Width(client), 314);
  EXPECT_EQ(Height(client), 39);
  const RECT bar = ScreenRect(form.ProgressBar.handle());
  const RECT text = ScreenRect(form.LblProgress.handle());
  EXPECT_EQ(Height(bar), 20);
  EXPECT_EQ(bar.bottom, client.bottom - 1);
  EXPECT_EQ(bar.left, client.left + 1);
  EXPECT_EQ(bar.right, client.right - 1);
  EXPECT_EQ(text.top, client.top + 1);
  EXPECT_EQ(text.bottom, bar.top);
  EXPECT_EQ(text.left, bar.left);
  EXPECT_EQ(text.right, bar.right);
  EXPECT_EQ(form.LblProgress.Text(), L"");

  EXPECT_EQ(form.ProgressBar.Min(), 0);
  EXPECT_EQ(form.ProgressBar.Max(), 25);
  EXPECT_TRUE(::GetWindowLongPtrW(form.ProgressBar.handle(), GWL_STYLE) & PBS_SMOOTH);

  LOGFONTW font{};
  ::GetObjectW(form.LblProgress.Font(), sizeof(font), &font);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"Tahoma");
  EXPECT_EQ(font.lfHeight, -13) << "20 pixels at 144 pixels per inch";
  EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);
}

TEST_F(WaitRun, TheTitleFollowsTheKindOfWorkWhenShown) {
  struct Case {
    std::uint8_t typemessage;
    std::wstring title;
  };
  const Case cases[] = {
      {0, L"Launching "},
      {1, L"Launching "},
      {2, L"Запись данных ЭКГ"},
      {3, L"Преобразование данных ЭКГ в формат Севрон-Rezezi"},
      {4, L""},
      {5, L"Launching "},
      {255, L"Launching "},
  };
  TFWaitRun form;
  form.Create(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typemessage);
    form.SetVisible(false);
    form.SetText(L"(прежний заголовок)");
    form.typemessage = c.typemessage;
    EXPECT_EQ(form.Text(), L"(прежний заголовок)") << "the kind counts only when shown";
    form.Show();
    EXPECT_TRUE(::IsWindowVisible(form.handle()));
    EXPECT_EQ(TextOf(form.handle()), c.title);
  }
}

TEST_F(WaitRun, NextStepsTheBarShowsTheTextAndLetsQueuedMessagesRun) {
  TFWaitRun form;
  form.Create(nullptr);
  form.typemessage = 2;
  form.Show();
  tk::Form other;
  other.CreateForm(nullptr, L"Другое окно", 100, 50, WS_OVERLAPPEDWINDOW);
  ::PostMessageW(other.handle(), WM_CLOSE, 0, 0);

  form.Next(L"Подготовка данных");
  EXPECT_EQ(form.ProgressBar.Position(), 1);
  EXPECT_EQ(TextOf(form.LblProgress.handle()), L"Подготовка данных");
  EXPECT_EQ(other.handle(), nullptr) << "the queued close request ran inside Next";

  for (int step = 2; step <= 25; ++step) form.Next(L"Шаг " + std::to_wstring(step));
  EXPECT_EQ(form.ProgressBar.Position(), 25);
  EXPECT_EQ(form.LblProgress.Text(), L"Шаг 25");
}

TEST_F(WaitRun, AnErrorInsideNextDoesNotReachTheCaller) {
  TFWaitRun form;
  form.Create(nullptr);
  form.Show();
  struct Case {
    const char* name;
    std::function<void()> failing;
  };
  const Case cases[] = {
      {"a runtime error", [] { throw std::runtime_error("repaint failed"); }},
      {"an exception of no error class", [] { throw 42; }},
  };
  int steps = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedProcessMessages failing(c.failing);
    EXPECT_NO_THROW(form.Next(L"Ошибка внутри"));
    ++steps;
    EXPECT_EQ(form.ProgressBar.Position(), steps) << "the step before the error stays";
    EXPECT_EQ(form.LblProgress.Text(), L"Ошибка внутри");
  }
}

// The real program: start-up makes the window hidden, after the main window,
// owned by the application window.
TEST(WaitRunAtStartUp, InstallHasItHiddenWithAnEmptyBarCentredOnMonitorZero) {
  TempFolder folder(L"дистрибутив");
  const std::wstring exe = folder / L"Install.exe";
  ASSERT_TRUE(::CopyFileW(InstallExePath().c_str(), exe.c_str(), FALSE));
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  ASSERT_TRUE(::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.path().c_str(), &startup, &info));
  win::UniqueHandle process(info.hProcess);
  win::UniqueHandle thread(info.hThread);

  HWND mainWindow = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<HWND> shown = TopLevelWindows(info.dwProcessId, L"TkForm");
    mainWindow = shown.empty() ? nullptr : shown.front();
    return mainWindow != nullptr;
  })) << "Install.exe showed no main window";

  struct Search {
    DWORD processId;
    std::vector<HWND> found;
  } search{info.dwProcessId, {}};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process == s->processId && ClassOf(window) == L"TkForm" && TextOf(window) == L"Launching ")
          s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  ASSERT_EQ(search.found.size(), 1u);
  const HWND waitRun = search.found.front();
  EXPECT_FALSE(::IsWindowVisible(waitRun));
  EXPECT_EQ(ClassOf(::GetWindow(waitRun, GW_OWNER)), L"InstallApplication");
  const HWND bar = ::FindWindowExW(waitRun, nullptr, PROGRESS_CLASSW, nullptr);
  ASSERT_NE(bar, nullptr);
  DWORD_PTR position = 99;
  ASSERT_TRUE(::SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position));
  EXPECT_EQ(position, 0u);

  MONITORINFO monitor{sizeof(monitor)};
  ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& m = monitor.rcMonitor;
  const RECT window = ScreenRect(waitRun);
  EXPECT_EQ(window.left, m.left + (Width(m) - Width(window)) / 2);
  EXPECT_EQ(window.top, m.top + (Height(m) - Height(window)) / 2);

  ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}
