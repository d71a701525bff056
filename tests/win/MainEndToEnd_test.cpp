// Install.exe as the user meets it: started as its own process, its windows
// found by caption and its buttons pressed from this process, through the
// start page, the target checks, the components page with its driver warning,
// back and on again, and out through Cancel. No installation is started.
#include "common/Handles.h"
#include "common/TextUtil.h"
#include "tests/win/InstallerSession.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <gtest/gtest.h>

using namespace testsupport;

using namespace installer;

namespace {

void PressOrFail(HWND root, const std::wstring& caption) { ASSERT_TRUE(PressVisible(root, caption)) << Utf8(caption); }

}  // namespace

TEST(MainEndToEnd, WalkThroughThePagesAndCancel) {
  TempFolder temp(L"конец в конец");
  const std::wstring target = temp / L"Dazide";
  Running installer(InstallExePath());
  ASSERT_TRUE(installer.Started());
  HWND main = installer.WaitForMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitForPage(main, L"Добро пожаловать"));
  // The taskbar button's window carries the application title.
  HWND application = ::GetWindow(main, GW_OWNER);
  EXPECT_EQ(uidriver::TextOf(application), L"Установка комплекса \"Севрон-Rezezi\"");
  EXPECT_EQ(PageText(main),
            L"Добро пожаловать в программу установки комплекса "
            L"\r\n\"СЕВРОН-ХОЛТЕР\"!\r\n\r\nДля продолжения "
            L"установки, нажмите кнопку \"Далее\".\r\n\r\nДля "
            L"выхода из программы установки нажмите кнопку "
            L"\"Отмена\".");
  EXPECT_TRUE(uidriver::FindVisibleChild(main, L"Отмена"));
  EXPECT_FALSE(uidriver::FindVisibleChild(main, L"Выход"));

  // The target page.
  PressOrFail(main, L"Далее");
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
    PressOrFail(main, L"Далее");
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

  // An accepted target: the folders, the components page and its warning,
  // twice.
  SetText(field, L"  " + target + L" ");
  for (int showing = 1; showing <= 2; ++showing) {
    SCOPED_TRACE(showing);
    PressOrFail(main, L"Далее");
    const HWND warning = WaitForWindowShowing(installer.id(), L"Внимание!", main, application);
    ASSERT_TRUE(warning);
    EXPECT_TRUE(uidriver::FindVisibleChild(warning, L"OK"));
    EXPECT_FALSE(::IsWindowEnabled(main));  // modal over the page
    PressOrFail(warning, L"OK");
    ASSERT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(warning) && ::IsWindowEnabled(main); }));
    EXPECT_TRUE(PageStartsWith(main, L" - Если у Вас есть 2-х канальный кабель"));
    HWND driver = uidriver::FindVisibleChild(main, L"Устанавливать драйвер", L"Button");
    ASSERT_TRUE(driver);
    EXPECT_EQ(::SendMessageW(driver, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(uidriver::FindVisibleChild(main, L"Начать установку"));
    EXPECT_TRUE(IsFolder(target + L"\\Settings"));
    if (showing == 1) {
      PressOrFail(main, L"Назад");
      ASSERT_TRUE(uidriver::WaitUntil([&] { return PageStartsWith(main, L"Пожалуйста, задайте путь"); }));
      EXPECT_EQ(uidriver::TextOf(PathField(main)), target + L"\\");
    }
  }

  // Cancel: No keeps the page, Yes leads to the cancel page.
  for (const wchar_t* answer : {L"No", L"Yes"}) {
    PressOrFail(main, L"Отмена");
    const uidriver::Box box = uidriver::WaitForBox(installer.id());
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.title, L"Confirm");
    EXPECT_EQ(box.texts, std::vector<std::wstring>{L"Вы уверены, что хотите отменить процесс установки?"});
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
    ASSERT_TRUE(uidriver::Answer(box, answer));
    ASSERT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(box.window); }));
  }
  ASSERT_TRUE(
      uidriver::WaitUntil([&] { return PageStartsWith(main, L"Установка комплекса \"Севрон-Rezezi\" отменена!"); }));
  EXPECT_EQ(PageText(main),
            L"Установка комплекса \"Севрон-Rezezi\" отменена!\r\n\r\nНажмите "
            L"кнопку \"Выход\", для выхода из "
            L"программы установки.");

  PressOrFail(main, L"Выход");
  DWORD exitCode = 1;
  ASSERT_TRUE(installer.Ended(&exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(IsFolder(target + L"\\Settings"));  // Cancel removes nothing
}

TEST(MainEndToEnd, TheCloseBoxEndsTheProgramAtOnce) {
  Running installer(InstallExePath());
  HWND main = installer.WaitForMainWindow();
  ASSERT_TRUE(main);
  ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(installer.Ended(&exitCode));
  EXPECT_EQ(exitCode, 0u);
}
