// Install.exe as the user meets it: started as its own process, its windows
// found by caption and its buttons pressed from this process, through the
// start page, the target checks, the components page with its driver warning,
// back and on again, and out through Cancel. No installation is started.
#include "common/Handles.h"
#include "common/TextUtil.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class RunningInstaller {
 public:
  RunningInstaller() {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + InstallExePath() + L"\"";
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      return;
    process_.reset(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    id_ = info.dwProcessId;
  }
  ~RunningInstaller() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 99);
  }
  DWORD id() const { return id_; }
  bool Ended(DWORD* exitCode) const {
    if (::WaitForSingleObject(process_.get(), 20000) != WAIT_OBJECT_0) return false;
    ::GetExitCodeProcess(process_.get(), exitCode);
    return true;
  }

 private:
  win::UniqueHandle process_;
  DWORD id_ = 0;
};

// The visible read-only text boxes of a window: the page's text.
std::wstring PageText(HWND main) {
  for (HWND edit : uidriver::VisibleChildren(main, L"Edit"))
    if (::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE) return uidriver::TextOf(edit);
  return {};
}

bool PageStartsWith(HWND main, const std::wstring& start) { return PageText(main).rfind(start, 0) == 0; }

// The single-line field of the target page.
HWND PathField(HWND main) {
  for (HWND edit : uidriver::VisibleChildren(main, L"Edit"))
    if (!(::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE)) return edit;
  return nullptr;
}

void SetText(HWND window, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
}

// A top-level window of the process, other than the two given, that shows a
// text beginning with `start` (the message window, whatever its kind).
HWND WaitForWindowShowing(DWORD process, const std::wstring& start, HWND except1, HWND except2) {
  HWND found = nullptr;
  uidriver::WaitUntil([&] {
    for (HWND top : uidriver::TopLevelWindows(process)) {
      if (top == except1 || top == except2) continue;
      for (HWND child : uidriver::Descendants(top))
        if (uidriver::TextOf(child).rfind(start, 0) == 0) {
          found = top;
          return true;
        }
    }
    return false;
  });
  return found;
}

void PressVisible(HWND root, const std::wstring& caption) {
  HWND button = uidriver::FindVisibleChild(root, caption);
  ASSERT_TRUE(button) << Utf8(caption);
  uidriver::Press(button);
}

}  // namespace

TEST(MainEndToEnd, WalkThroughThePagesAndCancel) {
  TempFolder temp(L"конец в конец");
  const std::wstring target = temp / L"Dazide";
  RunningInstaller installer;
  ASSERT_NE(installer.id(), 0u);

  HWND main = nullptr;
  ASSERT_TRUE(uidriver::WaitUntil([&] {
    for (HWND top : uidriver::TopLevelWindows(installer.id()))
      if (uidriver::TextOf(top) == L"Установка комплекса") main = top;
    return main != nullptr && PageStartsWith(main, L"Добро пожаловать");
  }));
  // The taskbar button's window carries the application title.
  HWND application = ::GetWindow(main, GW_OWNER);
  EXPECT_EQ(uidriver::TextOf(application), L"Установка комплекса \"Севрон-Rezezi\"");
  EXPECT_EQ(PageText(main),
            L"Добро пожаловать в программу установки комплекса \r\n\"СЕВРОН-ХОЛТЕР\"!\r\n\r\nДля продолжения "
            L"установки, нажмите кнопку \"Далее\".\r\n\r\nДля выхода из программы установки нажмите кнопку "
            L"\"Отмена\".");
  EXPECT_TRUE(uidriver::FindVisibleChild(main, L"Отмена"));
  EXPECT_FALSE(uidriver::FindVisibleChild(main, L"Выход"));

  // The target page.
  PressVisible(main, L"Далее");
  ASSERT_TRUE(uidriver::WaitUntil([&] { return PageStartsWith(main, L"Пожалуйста, задайте путь"); }));
  HWND field = PathField(main);
  ASSERT_TRUE(field);
  EXPECT_EQ(uidriver::TextOf(field), L"C:\\Dazide");
  EXPECT_TRUE(uidriver::FindVisibleChild(main, L"Выбрать"));
  EXPECT_FALSE(uidriver::FindVisibleChild(main, L"Назад"));

  // The checks, answered as the user answers them.
  struct Check {
    std::wstring typed;
    const wchar_t* title;
    const wchar_t* message;
    std::wstring fieldAfter;
  };
  for (const Check& check : {Check{L"  ", L"Error", L"Не выбран путь для установки программы!", L"  "},
                             Check{L"C:", L"Warning", L"Программу нелзя устанавливать в корневой каталог!", L"C:\\"}}) {
    SetText(field, check.typed);
    PressVisible(main, L"Далее");
    const uidriver::Box box = uidriver::WaitForBox(installer.id());
    ASSERT_TRUE(box.window) << Utf8(check.message);
    EXPECT_EQ(box.title, check.title);
    EXPECT_EQ(box.texts, std::vector<std::wstring>{check.message});
    EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
    ASSERT_TRUE(uidriver::Answer(box, L"OK"));
    ASSERT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(box.window); }));
    EXPECT_TRUE(PageStartsWith(main, L"Пожалуйста, задайте путь"));
    EXPECT_EQ(uidriver::TextOf(field), check.fieldAfter);
  }

  // An accepted target: the folders, the components page and its warning, twice.
  SetText(field, L"  " + target + L" ");
  for (int showing = 1; showing <= 2; ++showing) {
    SCOPED_TRACE(showing);
    PressVisible(main, L"Далее");
    const HWND warning = WaitForWindowShowing(installer.id(), L"Внимание!", main, application);
    ASSERT_TRUE(warning);
    EXPECT_TRUE(uidriver::FindVisibleChild(warning, L"OK"));
    EXPECT_FALSE(::IsWindowEnabled(main));  // modal over the page
    PressVisible(warning, L"OK");
    ASSERT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(warning) && ::IsWindowEnabled(main); }));
    EXPECT_TRUE(PageStartsWith(main, L" - Если у Вас есть 2-х канальный кабель"));
    HWND driver = uidriver::FindVisibleChild(main, L"Устанавливать драйвер", L"Button");
    ASSERT_TRUE(driver);
    EXPECT_EQ(::SendMessageW(driver, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(uidriver::FindVisibleChild(main, L"Начать установку"));
    EXPECT_TRUE(IsFolder(target + L"\\Settings"));
    if (showing == 1) {
      PressVisible(main, L"Назад");
      ASSERT_TRUE(uidriver::WaitUntil([&] { return PageStartsWith(main, L"Пожалуйста, задайте путь"); }));
      EXPECT_EQ(uidriver::TextOf(PathField(main)), target + L"\\");
    }
  }

  // Cancel: No keeps the page, Yes leads to the cancel page.
  for (const wchar_t* answer : {L"No", L"Yes"}) {
    PressVisible(main, L"Отмена");
    const uidriver::Box box = uidriver::WaitForBox(installer.id());
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.title, L"Confirm");
    EXPECT_EQ(box.texts, std::vector<std::wstring>{L"Вы уверены, что хотите отменить процесс установки?"});
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
    ASSERT_TRUE(uidriver::Answer(box, answer));
    ASSERT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(box.window); }));
  }
  ASSERT_TRUE(uidriver::WaitUntil([&] { return PageStartsWith(main, L"Установка комплекса \"Севрон-Rezezi\" отменена!"); }));
  EXPECT_EQ(PageText(main),
            L"Установка комплекса \"Севрон-Rezezi\" отменена!\r\n\r\nНажмите кнопку \"Выход\", для выхода из "
            L"программы установки.");

  PressVisible(main, L"Выход");
  DWORD exitCode = 1;
  ASSERT_TRUE(installer.Ended(&exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(IsFolder(target + L"\\Settings"));  // Cancel removes nothing
}

TEST(MainEndToEnd, TheCloseBoxEndsTheProgramAtOnce) {
  RunningInstaller installer;
  HWND main = nullptr;
  ASSERT_TRUE(uidriver::WaitUntil([&] {
    for (HWND top : uidriver::TopLevelWindows(installer.id()))
      if (uidriver::TextOf(top) == L"Установка комплекса") main = top;
    return main != nullptr;
  }));
  ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(installer.Ended(&exitCode));
  EXPECT_EQ(exitCode, 0u);
}
