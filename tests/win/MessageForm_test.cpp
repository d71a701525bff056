// The message window on the virtual display: a user on another thread finds
// it, reads what it shows and presses its buttons while ShowMessageWindow runs
// its modal loop on the test's thread. Countdowns are short (1 to 3 s) where
// the window has to run out or keep going past its end.
#include "common/ComPtr.h"
#include "tests/win/InventedScreen.h"
#include "tests/win/Screenshot.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"
#include "toolkit/Form.h"
#include "ui/MessageForm.h"
#include "ui/ScreenMonitorManager.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace testsupport;
using namespace uidriver;

namespace {

const std::wstring kDriverWarning =
    L"Внимание!\r Если на вашем компьютере уже установлен комплекс \"Севрон-Rezezi\",\r снимите галочку "
    L"установки драйвера!";
// As the window shows it: each line on a line of its own.
const std::wstring kDriverWarningShown =
    L"Внимание!\r\n Если на вашем компьютере уже установлен комплекс \"Севрон-Rezezi\",\r\n снимите галочку "
    L"установки драйвера!";

std::wstring Lines(int count) {
  std::wstring text;
  for (int i = 1; i <= count; ++i) text += std::wstring(i > 1 ? L"\r\n" : L"") + L"Строка номер " + std::to_wstring(i);
  return text;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

// The client area of `window` in screen coordinates.
RECT ClientOnScreen(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  ::MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The message window's controls, found as the user sees them: by kind and caption.
struct MessageWindow {
  HWND window = nullptr;
  HWND label = nullptr;     // lblMessage
  HWND textArea = nullptr;  // the scrollable text in its place
  HWND buttons = nullptr;   // pnlButtons
  HWND ok = nullptr;
  HWND cancel = nullptr;
  HWND closeRow = nullptr;  // pnlClose
  HWND stop = nullptr;
  HWND closeLabel = nullptr;
  HWND seconds = nullptr;

  explicit operator bool() const { return window != nullptr; }
  bool Open() const { return window && ::IsWindow(window) && ::IsWindowVisible(window); }
  std::wstring Seconds() const { return TextOf(seconds); }
  std::wstring Message() const { return TextOf(::IsWindowVisible(label) ? label : textArea); }
  // Visible buttons of the button row, left to right.
  std::vector<std::wstring> VisibleButtons() const {
    std::vector<std::wstring> captions;
    for (HWND button : {cancel, ok})
      if (::IsWindowVisible(button)) captions.push_back(TextOf(button));
    return captions;
  }
};

MessageWindow Identify(HWND window) {
  MessageWindow found;
  found.window = window;
  HWND previous = nullptr;
  for (HWND child : Descendants(window)) {
    const std::wstring kind = ClassOf(child);
    const std::wstring text = TextOf(child);
    if (kind == L"TkLabel" && !found.label) found.label = child;
    if (lstrcmpiW(kind.c_str(), L"Edit") == 0) found.textArea = child;
    if (kind == L"TkPanel") (found.buttons ? found.closeRow : found.buttons) = child;
    if (kind == L"Button" && text == L"OK") found.ok = child;
    if (kind == L"Button" && text == L"Отмена") found.cancel = child;
    if (kind == L"Button" && text == L"остановить") found.stop = child;
    if (kind == L"TkLabel" && text == L"Окно закроется через") found.closeLabel = child;
    if (kind == L"TkLabel" && previous && previous == found.closeLabel) found.seconds = child;
    previous = child;
  }
  return found;
}

// The visible message window of this process, once it is there.
MessageWindow WaitForMessageWindow() {
  MessageWindow found;
  WaitUntil([&] {
    for (HWND window : TopLevelWindows(::GetCurrentProcessId(), L"TkForm")) {
      const MessageWindow candidate = Identify(window);
      if (candidate.closeLabel) {
        found = candidate;
        return true;
      }
    }
    return false;
  });
  return found;
}

// Runs `show` on this thread while `user` works with the window on another.
// The user always leaves the window closed, so `show` returns.
template <class Show>
auto WithUser(const std::function<void(const MessageWindow&)>& user, Show show) {
  std::jthread thread([&] {
    const MessageWindow window = WaitForMessageWindow();
    if (!window) return;
    user(window);
    if (window.Open()) ::PostMessageW(window.window, WM_CLOSE, 0, 0);
  });
  return show();
}

// Waits until the window has closed (by itself or by the user).
bool WaitClosed(const MessageWindow& window) {
  return WaitUntil([&] { return !window.Open(); }, 60000);
}

// The height DrawText gives `text` in `font`, wrapped at `width`.
int WrappedHeight(const std::wstring& text, HFONT font, int width) {
  win::WindowDc dc(nullptr);
  win::SelectObjectScope select(dc.get(), font);
  RECT rect{0, 0, width, 0};
  ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
  return rect.bottom;
}

// The thread is a COM apartment, as in the program (the buttons' pictures are
// decoded by the imaging component).
class MessageFormTest : public testing::Test {
 protected:
  win::ComScope com_{COINIT_APARTMENTTHREADED};
};

// A screen manager over a monitor like the virtual display's, monitor 0.
class MessageWindowTest : public MessageFormTest {
 protected:
  InventedScreen screen_{std::vector<InventedScreen::Placement>{{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}}}};
  ScopedScreenManager manager_{screen_, 0};
};

}  // namespace

using MessageFormWindow = MessageWindowTest;
using MessageFormOnScreen = MessageFormTest;

TEST_F(MessageFormWindow, ShowsTheTextTheButtonsOfItsKindAndTheCountdownRow) {
  struct Case {
    TMessageType kind;
    std::wstring caption;
    std::vector<std::wstring> buttons;
    std::wstring press;
    bool result;
  };
  const Case cases[] = {
      {mtMessage, L"Сообщение", {L"OK"}, L"OK", true},
      {mtDialog, L"Вопрос", {L"Отмена", L"OK"}, L"OK", true},
      {mtDialog, L"", {L"Отмена", L"OK"}, L"Отмена", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.caption));
    struct {
      std::wstring title, message, closeText, seconds;
      std::vector<std::wstring> buttons;
      bool topmost = false, labelShown = false, textAreaShown = true;
      RECT window{}, client{}, label{}, buttonRow{}, ok{}, cancel{}, closeRow{}, stop{}, closeLabel{}, seconds_{};
      LOGFONTW font{};
      int textHeight = 0;
      HWND handle = nullptr;
    } seen;
    const bool result = WithUser(
        [&](const MessageWindow& w) {
          seen.handle = w.window;
          seen.title = TextOf(w.window);
          seen.message = TextOf(w.label);
          seen.labelShown = ::IsWindowVisible(w.label);
          seen.textAreaShown = ::IsWindowVisible(w.textArea);
          seen.closeText = TextOf(w.closeLabel);
          seen.seconds = w.Seconds();
          seen.buttons = w.VisibleButtons();
          seen.topmost = (::GetWindowLongPtrW(w.window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
          seen.window = ScreenRect(w.window);
          seen.client = ClientOnScreen(w.window);
          seen.label = ScreenRect(w.label);
          seen.buttonRow = ScreenRect(w.buttons);
          seen.ok = ScreenRect(w.ok);
          seen.cancel = ScreenRect(w.cancel);
          seen.closeRow = ScreenRect(w.closeRow);
          seen.stop = ScreenRect(w.stop);
          seen.closeLabel = ScreenRect(w.closeLabel);
          seen.seconds_ = ScreenRect(w.seconds);
          const auto font = reinterpret_cast<HFONT>(::SendMessageW(w.label, WM_GETFONT, 0, 0));
          ::GetObjectW(font, sizeof(seen.font), &seen.font);
          seen.textHeight = WrappedHeight(seen.message, font, Width(seen.client));
          Press(c.press == L"OK" ? w.ok : w.cancel);
          WaitClosed(w);
        },
        [&] { return ShowMessageWindow(kDriverWarning, c.kind, c.caption, 0); });

    EXPECT_EQ(result, c.result);
    EXPECT_FALSE(::IsWindow(seen.handle)) << "the window is freed";
    EXPECT_EQ(seen.title, c.caption);
    EXPECT_EQ(seen.message, kDriverWarningShown);
    EXPECT_TRUE(seen.labelShown);
    EXPECT_FALSE(seen.textAreaShown);
    EXPECT_EQ(seen.buttons, c.buttons);
    EXPECT_EQ(seen.closeText, L"Окно закроется через");
    EXPECT_EQ(seen.seconds, L"  сек");
    EXPECT_TRUE(seen.topmost);
    EXPECT_EQ(std::wstring(seen.font.lfFaceName), L"Tahoma");
    EXPECT_EQ(seen.font.lfHeight, -13) << "10 points at 96 pixels per inch";

    // Width as designed; height: the wrapped text + 24 + 16 + 60.
    EXPECT_EQ(Width(seen.client), 446);
    EXPECT_GT(seen.textHeight, 0);
    EXPECT_EQ(Height(seen.window), seen.textHeight + 24 + 16 + 60);
    // The text at the top across the whole width.
    EXPECT_EQ(seen.label.top, seen.client.top);
    EXPECT_EQ(Width(seen.label), 446);
    EXPECT_EQ(Height(seen.label), seen.textHeight);
    // The countdown row is the lowest, 2 pixels below the buttons.
    EXPECT_EQ(seen.closeRow.bottom, seen.client.bottom);
    EXPECT_EQ(Height(seen.closeRow), 16);
    EXPECT_EQ(seen.closeRow.top, seen.buttonRow.bottom + 2);
    EXPECT_EQ(Height(seen.buttonRow), 24);
    EXPECT_GE(seen.buttonRow.top, seen.label.bottom);
    // OK at the right end, Cancel at the left end.
    EXPECT_EQ(seen.ok.right, seen.client.right);
    EXPECT_EQ(Width(seen.ok), 70);
    EXPECT_EQ(Height(seen.ok), 24);
    EXPECT_EQ(seen.cancel.left, seen.client.left);
    EXPECT_EQ(Width(seen.cancel), 73);
    // "остановить", the text and the seconds, left to right.
    EXPECT_EQ(seen.stop.left, seen.client.left);
    EXPECT_EQ(Width(seen.stop), 80);
    EXPECT_EQ(Height(seen.stop), 16);
    EXPECT_EQ(seen.closeLabel.left, seen.stop.right);
    EXPECT_EQ(Width(seen.closeLabel), 107);
    EXPECT_EQ(seen.seconds_.left, seen.closeLabel.right);
    EXPECT_GE(Width(seen.seconds_), 22);
  }
}

TEST_F(MessageFormWindow, RunningOutClosesAsCancelAlsoWithOnlyOk) {
  for (TMessageType kind : {mtMessage, mtDialog}) {
    SCOPED_TRACE(static_cast<int>(kind));
    bool shown = false;
    bool closedByItself = false;
    const bool result = WithUser(
        [&](const MessageWindow& w) {
          shown = w.Open();
          closedByItself = WaitClosed(w);
        },
        [&] { return ShowMessageWindow(L"Истекает через секунду", kind, L"", 1); });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closedByItself);
    EXPECT_FALSE(result);
  }
}

TEST_F(MessageFormWindow, TheSecondsLabelShowsTheSecondsLeftFromTheFirstTick) {
  struct Case {
    int seconds;
    int most;   // the whole countdown less the first second
    int least;  // a first tick up to five seconds late still counts
  };
  for (const Case& c : {Case{3, 2, 0}, Case{0, 19, 15}}) {
    SCOPED_TRACE(c.seconds);
    std::wstring before, after;
    const bool result = WithUser(
        [&](const MessageWindow& w) {
          before = w.Seconds();
          WaitUntil([&] { return w.Seconds() != L"  сек" || !w.Open(); });
          after = w.Seconds();
          Press(w.ok);
          WaitClosed(w);
        },
        [&] { return ShowMessageWindow(L"Отсчёт", mtMessage, L"", c.seconds); });
    EXPECT_TRUE(result);
    EXPECT_EQ(before, L"  сек");
    std::wsmatch number;
    ASSERT_TRUE(std::regex_match(after, number, std::wregex(L"  ([0-9]+)с"))) << Utf8(after);
    EXPECT_LE(std::stoi(number[1].str()), c.most);
    EXPECT_GE(std::stoi(number[1].str()), c.least);
  }
}

TEST_F(MessageFormWindow, StopKeepsTheWindowOpenPastTheCountdownUntilAButton) {
  bool rowHidden = false;
  bool stillOpen = false;
  const bool result = WithUser(
      [&](const MessageWindow& w) {
        Press(w.stop);
        rowHidden = WaitUntil([&] { return !::IsWindowVisible(w.closeRow); });
        // Well past the 2 s the window would have had.
        std::this_thread::sleep_for(std::chrono::milliseconds(3500));
        stillOpen = w.Open();
        Press(w.ok);
        WaitClosed(w);
      },
      [&] { return ShowMessageWindow(L"Не закрывайся", mtDialog, L"", 2); });
  EXPECT_TRUE(rowHidden);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(result);
}

TEST_F(MessageFormWindow, ClosingByTheFrameReturnsFalse) {
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
  };
  const Case cases[] = {{"close request", WM_CLOSE, 0}, {"close box / Alt+F4", WM_SYSCOMMAND, SC_CLOSE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool closed = false;
    const bool result = WithUser(
        [&](const MessageWindow& w) {
          ::PostMessageW(w.window, c.message, c.wParam, 0);
          closed = WaitClosed(w);
        },
        [&] { return ShowMessageWindow(L"Закрыть рамкой", mtDialog, L"Вопрос", 0); });
    EXPECT_TRUE(closed);
    EXPECT_FALSE(result);
  }
}

TEST_F(MessageFormWindow, EscIsNoCancelKey) {
  bool openAfterEsc = false;
  const bool result = WithUser(
      [&](const MessageWindow& w) {
        GUITHREADINFO gui{sizeof(gui)};
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(w.window, nullptr), &gui);
        const HWND target = gui.hwndFocus ? gui.hwndFocus : w.window;
        ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
        ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        // Posted messages run in order: once the stop has hidden the countdown
        // row, Esc has been handled.
        Press(w.stop);
        WaitUntil([&] { return !::IsWindowVisible(w.closeRow) || !w.Open(); });
        openAfterEsc = w.Open();
        Press(w.ok);
        WaitClosed(w);
      },
      [&] { return ShowMessageWindow(L"Esc ничего не делает", mtDialog, L"", 0); });
  EXPECT_TRUE(openAfterEsc);
  EXPECT_TRUE(result);
}

TEST_F(MessageFormWindow, TheProgramsOtherWindowsWaitWhileItIsShown) {
  tk::Form other;
  other.CreateForm(nullptr, L"Другое окно", 200, 100, WS_OVERLAPPEDWINDOW);
  other.Show();
  bool otherEnabled = true;
  WithUser(
      [&](const MessageWindow& w) {
        otherEnabled = ::IsWindowEnabled(other.handle()) != FALSE;
        Press(w.ok);
        WaitClosed(w);
      },
      [&] { return ShowMessageWindow(L"Модально", mtMessage, L"", 0); });
  EXPECT_FALSE(otherEnabled);
  EXPECT_TRUE(::IsWindowEnabled(other.handle()));
}

TEST_F(MessageFormOnScreen, PlacedByTheScreenManagersValuesOnEveryArrangement) {
  struct Case {
    const char* name;
    std::vector<InventedScreen::Placement> monitors;
    std::uint8_t select;
    RECT expectedMonitor;  // where the window must be
  };
  const RECT primary{0, 0, 1280, 1024};
  const RECT right{1280, 0, 3200, 1080};
  const RECT below{0, 1024, 1280, 2048};
  const Case cases[] = {
      {"one monitor", {{primary, primary}}, 0, primary},
      {"an index beyond the last selects monitor 0", {{primary, primary}}, 3, primary},
      {"second monitor on the right", {{primary, primary}, {right, right}}, 1, right},
      {"second monitor below", {{primary, primary}, {below, below}}, 1, below},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InventedScreen screen(c.monitors);
    ScopedScreenManager manager(screen, c.select);
    RECT window{};
    WithUser(
        [&](const MessageWindow& w) {
          window = ScreenRect(w.window);
          Press(w.ok);
          WaitClosed(w);
        },
        [&] { return ShowMessageWindow(kDriverWarning, mtMessage, L"", 0); });
    // Lower edge at half the monitor's height, centred across it.
    const RECT& m = c.expectedMonitor;
    EXPECT_EQ(window.left, m.left + (Width(m) - Width(window)) / 2);
    EXPECT_EQ(window.bottom, m.top + Height(m) / 2);
  }
}

TEST_F(MessageFormWindow, ATextTallerThanHalfTheMonitorKeepsTheWindowOnIt) {
  // 40 lines: taller than half of 1024 pixels, shorter than all of it.
  const std::wstring text = Lines(40);
  RECT window{}, label{};
  bool labelShown = false, textAreaShown = true;
  std::wstring shown;
  WithUser(
      [&](const MessageWindow& w) {
        window = ScreenRect(w.window);
        label = ScreenRect(w.label);
        labelShown = ::IsWindowVisible(w.label);
        textAreaShown = ::IsWindowVisible(w.textArea);
        shown = w.Message();
        Press(w.ok);
        WaitClosed(w);
      },
      [&] { return ShowMessageWindow(text, mtMessage, L"", 0); });
  EXPECT_GT(Height(window), 512);
  EXPECT_EQ(window.top, 0) << "by the halves alone it would start above the desktop";
  EXPECT_EQ(Height(window), Height(label) + 24 + 16 + 60);
  EXPECT_TRUE(labelShown);
  EXPECT_FALSE(textAreaShown);
  EXPECT_EQ(shown, text);
}

TEST_F(MessageFormOnScreen, ATextTallerThanTheMonitorScrollsAndTheButtonsStayOnIt) {
  // A monitor with a taskbar at the bottom: the window fits the work area.
  InventedScreen screen(std::vector<InventedScreen::Placement>{{{0, 0, 1280, 1024}, {0, 0, 1280, 984}}});
  ScopedScreenManager manager(screen, 0);
  const std::wstring text = Lines(150);
  struct {
    RECT window{}, ok{}, stop{};
    bool labelShown = true, textAreaShown = false, scrollBar = false, okShown = false;
    std::wstring shown;
    LRESULT lines = 0, firstAtStart = -1, firstAtEnd = -1;
  } seen;
  const bool result = WithUser(
      [&](const MessageWindow& w) {
        seen.window = ScreenRect(w.window);
        seen.ok = ScreenRect(w.ok);
        seen.stop = ScreenRect(w.stop);
        seen.okShown = ::IsWindowVisible(w.ok);
        seen.labelShown = ::IsWindowVisible(w.label);
        seen.textAreaShown = ::IsWindowVisible(w.textArea);
        seen.scrollBar = (::GetWindowLongPtrW(w.textArea, GWL_STYLE) & WS_VSCROLL) != 0;
        seen.shown = TextOf(w.textArea);
        seen.lines = ::SendMessageW(w.textArea, EM_GETLINECOUNT, 0, 0);
        seen.firstAtStart = ::SendMessageW(w.textArea, EM_GETFIRSTVISIBLELINE, 0, 0);
        ::SendMessageW(w.textArea, WM_VSCROLL, SB_BOTTOM, 0);
        seen.firstAtEnd = ::SendMessageW(w.textArea, EM_GETFIRSTVISIBLELINE, 0, 0);
        Press(w.ok);
        WaitClosed(w);
      },
      [&] { return ShowMessageWindow(text, mtDialog, L"Длинный текст", 0); });
  EXPECT_TRUE(result);
  // The whole window on the work area, as tall as it.
  EXPECT_EQ(seen.window.top, 0);
  EXPECT_EQ(seen.window.bottom, 984);
  EXPECT_TRUE(seen.okShown);
  EXPECT_LE(seen.ok.bottom, 984);
  EXPECT_LE(seen.stop.bottom, 984);
  // The whole text, to be scrolled to its end.
  EXPECT_FALSE(seen.labelShown);
  EXPECT_TRUE(seen.textAreaShown);
  EXPECT_TRUE(seen.scrollBar);
  EXPECT_EQ(seen.shown, text);
  EXPECT_EQ(seen.lines, 150);
  EXPECT_EQ(seen.firstAtStart, 0);
  EXPECT_GT(seen.firstAtEnd, 0);
}

TEST_F(MessageFormWindow, ShownWithoutModalLoopItReturnsAtOnceWithoutButtonsOrCountdown) {
  TFMessageform form;
  EXPECT_FALSE(form.Showmes(L"Без ожидания", mtDialog, L"Заголовок", false));
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.Text(), L"Заголовок");
  EXPECT_EQ(form.lblMessage.Text(), L"Без ожидания");
  for (tk::Window* hidden : std::initializer_list<tk::Window*>{&form.btnOK, &form.btnCancel, &form.btnStop,
                                                                 &form.lblClose, &form.lblSec})
    EXPECT_FALSE(hidden->Visible()) << Utf8(hidden->Text());
  EXPECT_TRUE(form.pnlClose.Visible());
  EXPECT_FALSE(form.StayUpTimer.TimerEnabled());
  EXPECT_FALSE(form.StopTimer.TimerEnabled());
}

TEST_F(MessageFormWindow, ABadNumberOfSecondsRaisesBeforeAnythingIsShown) {
  for (int seconds : {-1, 2147484, INT_MIN}) {
    SCOPED_TRACE(seconds);
    EXPECT_THROW(ShowMessageWindow(L"Никогда не видно", mtMessage, L"", seconds), std::out_of_range);
    EXPECT_TRUE(TopLevelWindows(::GetCurrentProcessId(), L"TkForm").empty());
  }
  // The largest countdown there is still shows.
  const bool result = WithUser(
      [&](const MessageWindow& w) {
        Press(w.ok);
        WaitClosed(w);
      },
      [&] { return ShowMessageWindow(L"Почти вечно", mtMessage, L"", 2147483); });
  EXPECT_TRUE(result);
}

TEST(MessageFormSeam, TheWizardsStandInAnswersInsteadOfTheWindow) {
  std::vector<ui::MessageWindowCall> calls;
  {
    ui::ScopedMessageWindow standIn([&](const ui::MessageWindowCall& call) {
      calls.push_back(call);
      return true;
    });
    EXPECT_TRUE(ShowMessageWindow(kDriverWarning, mtMessage, L"", 0));
    EXPECT_TRUE(TopLevelWindows(::GetCurrentProcessId(), L"TkForm").empty());
  }
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].text, kDriverWarning);
  EXPECT_EQ(calls[0].kind, mtMessage);
  EXPECT_EQ(calls[0].caption, L"");
  EXPECT_EQ(calls[0].seconds, 0);
}

// Run by scripts/screenshots-messages.sh only: the windows as the user sees
// them, saved for looking at.
TEST_F(MessageFormWindow, DISABLED_Screenshots) {
  ASSERT_FALSE(ScreenshotFolder().empty()) << "INSTALL_SCREENSHOT_DIR is not set";
  struct Shot {
    const wchar_t* name;
    std::wstring text;
    TMessageType kind;
    const wchar_t* caption;
  };
  const Shot shots[] = {
      {L"message-window-driver-warning", kDriverWarning, mtMessage, L""},
      {L"message-window-question", L"Сохранить изменения в настройках комплекса перед выходом из программы?",
       mtDialog, L"Вопрос"},
      {L"message-window-tall-text", Lines(150), mtDialog, L"Длинный текст"},
  };
  for (const Shot& shot : shots) {
    bool saved = false;
    WithUser(
        [&](const MessageWindow& w) {
          WaitUntil([&] { return w.Seconds() != L"  сек" || !w.Open(); });  // after the first tick
          saved = SaveWindowScreenshot(w.window, shot.name);
          Press(w.ok);
          WaitClosed(w);
        },
        [&] { return ShowMessageWindow(shot.text, shot.kind, shot.caption, 0); });
    EXPECT_TRUE(saved) << Utf8(shot.name);
  }
}
