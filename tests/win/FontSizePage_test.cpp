// The font-size page at the end of an installation, on a real main window with
// the real standard dialog: a user on another thread reads and answers the
// boxes that "Изменить настройки" brings up. Wine has no setup library
// (syssetup.dll), so the font size itself never changes here; the restart goes
// to the recorder the test program puts in place of ExitWindowsEx.
#include "common/ComPtr.h"
#include "common/SH_Common_Proc.h"
#include "common/SystemLibrary.h"
#include "tests/win/Screenshot.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"
#include "toolkit/Application.h"
#include "wizard/Main.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace testsupport;
using namespace uidriver;

namespace {

// The page's text as the user reads it, line by line.
const std::vector<std::wstring> kPageLines = {
    L"В настройках операционной системы Вашего компьютера выбрано использование ",
    L"\"мелкого\" размера шрифта.",
    L"",
    L"Для корректной работы программы \"Севрон-Rezezi\" требуется использование ",
    L"\"крупного\" размера шрифта.",
    L"",
    L"Рекомендуется произвести изменения. Для этого надо нажать кнопку \"Изменить ",
    L"настройки\". В появившемся окне надо ответить \"Да\".",
    L"",
    L"Если Вы считаете, что установка \"крупного\" размера шрифта Вам не нужна, ",
    L"нажмите кнопку \"Выход\".",
};

const std::wstring kRestartQuestion =
    L"Изменения в настройки внесены, для того чтобы они\r\n"
    L"вступили в силу, требуется перзагрузить операционную систему.\r\n"
    L"Выполнить перезагрузку сейчас?";

constexpr UINT kRestartFlags = EWX_REBOOT | EWX_FORCEIFHUNG;

std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? L"\r\n" : L"") + lines[i];
  return text;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// While it lives, the restart request fails (as without the shutdown privilege).
class RefusedRestart {
 public:
  RefusedRestart() : previous_(SetExitWindowsExForTesting(Refuse)) {}
  RefusedRestart(const RefusedRestart&) = delete;
  RefusedRestart& operator=(const RefusedRestart&) = delete;
  ~RefusedRestart() { SetExitWindowsExForTesting(previous_); }

 private:
  static BOOL WINAPI Refuse(UINT flags, DWORD reason) {
    RecordExitWindowsEx(flags, reason);
    ::SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
  }
  ExitWindowsExFn previous_;
};

// A main window at the end of a complete installation on a display with small
// fonts: the font-size page is the active one and the window may close.
class FontSizePageTest : public testing::Test {
 protected:
  void SetUp() override {
    ExitWindowsCalls().clear();
    form_ = std::make_unique<TFMain>();
    form_->Create(::GetModuleHandleW(nullptr), nullptr);
    FMain = form_.get();
    tk::Application::Instance().SetMainWindow(form_->handle());
    form_->Show();
    IInstallerView& view = *form_;
    view.SetCanClose(true);
    view.ShowPage(WizardPage::tsChangeFontSize);
    Pump();
  }

  void TearDown() override {
    tk::Application::Instance().SetMainWindow(nullptr);
    form_.reset();
    FMain = nullptr;
    EXPECT_EQ(errors_, std::vector<std::wstring>{}) << "no error is shown";
  }

  TFMain& Form() { return *form_; }
  bool WindowAlive() const { return form_->handle() && ::IsWindow(form_->handle()); }
  void Pump() { tk::Application::Instance().ProcessMessages(); }

  // Presses "Изменить настройки" as the user does; a user on another thread
  // answers the first box with `answer` and any further one with whatever
  // closes it. Returns every box that came up before the press was handled.
  std::vector<Box> ChangeSettings(const std::wstring& answer) {
    std::vector<Box> boxes;
    std::atomic<bool> handled{false};
    {
      std::jthread user([&] {
        while (!handled) {
          const Box box = WaitForBox(::GetCurrentProcessId(), 200);
          if (!box.window) continue;
          boxes.push_back(box);
          for (const wchar_t* caption : {answer.c_str(), L"OK", L"No", L"Cancel"})
            if (Answer(box, caption)) break;
          WaitUntil([&] { return !::IsWindowVisible(box.window); });
        }
      });
      ::SendMessageW(Form().BtnChangeFont.handle(), BM_CLICK, 0, 0);
      handled = true;
    }
    Pump();
    return boxes;
  }

  void ExpectRestartQuestion(const Box& box) {
    EXPECT_EQ(box.title, L"Warning");
    EXPECT_EQ(box.texts, std::vector<std::wstring>{kRestartQuestion});
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
    EXPECT_EQ(box.icon, ::LoadIconW(nullptr, IDI_WARNING));
  }

  std::vector<std::wstring> errors_;

 private:
  win::ComScope com_{COINIT_APARTMENTTHREADED};
  tk::Application::ScopedErrorDisplay errorDisplay_{[this](const std::wstring& text) { errors_.push_back(text); }};
  std::unique_ptr<TFMain> form_;
};

}  // namespace

using FontSizePage = FontSizePageTest;

TEST_F(FontSizePage, ShowsItsTextAndItsTwoButtons) {
  TFMain& f = Form();
  EXPECT_EQ(f.ActiveWizardPage(), WizardPage::tsChangeFontSize);
  EXPECT_TRUE(::IsWindowVisible(f.MemoChangeFontSize.handle()));
  EXPECT_EQ(TextOf(f.MemoChangeFontSize.handle()), Joined(kPageLines));

  const LONG_PTR style = ::GetWindowLongPtrW(f.MemoChangeFontSize.handle(), GWL_STYLE);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(f.MemoChangeFontSize.handle(), GWL_EXSTYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_FALSE(style & WS_BORDER);
  EXPECT_FALSE(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  LOGFONTW font{};
  ::GetObjectW(f.MemoChangeFontSize.Font(), sizeof(font), &font);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"Tahoma");
  EXPECT_EQ(font.lfHeight, -15) << "characters 15 pixels high";

  // The text fills the page above the button bar of 37 pixels.
  const RECT page = ScreenRect(f.tsChangeFontSize.handle());
  const RECT text = ScreenRect(f.MemoChangeFontSize.handle());
  const RECT bar = ScreenRect(f.PnlChangeFontSizeButtons.handle());
  EXPECT_EQ(Height(bar), 37);
  EXPECT_EQ(bar.bottom, page.bottom);
  EXPECT_EQ(text.top, page.top);
  EXPECT_EQ(text.bottom, bar.top);
  EXPECT_EQ(Width(text), Width(page));

  // "Изменить настройки" at the left end, "Выход" at the right end.
  const RECT change = ScreenRect(f.BtnChangeFont.handle());
  const RECT exit = ScreenRect(f.BtnExitOnChangefont.handle());
  EXPECT_EQ(TextOf(f.BtnChangeFont.handle()), L"Изменить настройки");
  EXPECT_EQ(TextOf(f.BtnExitOnChangefont.handle()), L"Выход");
  EXPECT_EQ(Width(change), 196);
  EXPECT_EQ(change.left - bar.left, bar.right - exit.right);
  EXPECT_LT(change.right, exit.left);
  for (const RECT& button : {change, exit}) {
    EXPECT_GE(button.top, bar.top);
    EXPECT_LE(button.bottom, bar.bottom);
  }
  EXPECT_TRUE(f.BtnChangeFont.Enabled());
  EXPECT_TRUE(f.BtnExitOnChangefont.Enabled());
}

TEST_F(FontSizePage, WithoutTheSetupLibraryChangeSettingsGoesStraightToTheRestartQuestion) {
  ASSERT_FALSE(win::LoadSystemLibrary(L"syssetup.dll")) << "this system has the setup library";
  const std::vector<Box> boxes = ChangeSettings(L"No");
  ASSERT_EQ(boxes.size(), 1u) << "only the restart question, no message about the missing library";
  ExpectRestartQuestion(boxes[0]);
  EXPECT_EQ(::GetModuleHandleW(L"syssetup.dll"), nullptr);
}

TEST_F(FontSizePage, NoLeavesThePageAndAskingAgainAsksAgain) {
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    const std::vector<Box> boxes = ChangeSettings(L"No");
    ASSERT_EQ(boxes.size(), 1u);
    ExpectRestartQuestion(boxes[0]);
    EXPECT_TRUE(ExitWindowsCalls().empty()) << "no restart";
    ASSERT_TRUE(WindowAlive());
    EXPECT_EQ(Form().ActiveWizardPage(), WizardPage::tsChangeFontSize);
    EXPECT_TRUE(::IsWindowVisible(Form().BtnChangeFont.handle()));
  }
}

// The restart lets Windows ask programs with unsaved work instead of ending
// them by force: EWX_REBOOT | EWX_FORCEIFHUNG.
TEST_F(FontSizePage, YesAsksForARestartWithoutForceAndClosesTheWindow) {
  const std::vector<Box> boxes = ChangeSettings(L"Yes");
  ASSERT_EQ(boxes.size(), 1u);
  ExpectRestartQuestion(boxes[0]);
  ASSERT_EQ(ExitWindowsCalls().size(), 1u);
  EXPECT_EQ(ExitWindowsCalls()[0].flags, kRestartFlags);
  EXPECT_FALSE(ExitWindowsCalls()[0].flags & EWX_FORCE) << "other programs are not ended by force";
  EXPECT_FALSE(WindowAlive());
}

TEST_F(FontSizePage, YesClosesTheWindowAlsoWhenTheRestartIsRefused) {
  RefusedRestart refused;
  const std::vector<Box> boxes = ChangeSettings(L"Yes");
  ASSERT_EQ(boxes.size(), 1u) << "no message about the refusal";
  EXPECT_EQ(ExitWindowsCalls().size(), 1u);
  EXPECT_FALSE(WindowAlive());
}

TEST_F(FontSizePage, ExitClosesWithoutChangingAnything) {
  ::SendMessageW(Form().BtnExitOnChangefont.handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_FALSE(WindowAlive());
  EXPECT_TRUE(ExitWindowsCalls().empty());
}

// Run by scripts/screenshots-messages.sh only.
TEST_F(FontSizePage, DISABLED_Screenshots) {
  ASSERT_FALSE(ScreenshotFolder().empty()) << "INSTALL_SCREENSHOT_DIR is not set";
  EXPECT_TRUE(SaveWindowScreenshot(Form().handle(), L"font-size-page"));
  std::atomic<bool> saved{false};
  {
    std::jthread user([&] {
      const Box box = WaitForBox(::GetCurrentProcessId());
      if (!box.window) return;
      saved = SaveWindowScreenshot(box.window, L"font-size-restart-question");
      Answer(box, L"No");
    });
    ::SendMessageW(Form().BtnChangeFont.handle(), BM_CLICK, 0, 0);
  }
  EXPECT_TRUE(saved);
}
