// The application object: the default error display and the message loop's
// end when the main window goes.
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <gtest/gtest.h>

#include <thread>

using namespace testsupport;

TEST(ToolkitApplication, ErrorDisplayTextAddsAFullStopAfterCharactersAboveIt) {
  struct Case {
    const wchar_t* message;
    const wchar_t* shown;
  };
  for (const Case& c : {Case{L"Файл не найден", L"Файл не найден."}, Case{L"Done.", L"Done."},
                        Case{L"Вопрос?", L"Вопрос?."}, Case{L"(0)", L"(0)"}, Case{L"a-", L"a-"},
                        Case{L"a/", L"a/."}, Case{L"7", L"7."}, Case{L"", L""}, Case{L"end ", L"end "}})
    EXPECT_EQ(tk::Application::ErrorDisplayText(c.message), c.shown) << Utf8(c.message);
}

TEST(ToolkitApplication, TheErrorBoxHasTheStopIconTheApplicationTitleAndOneButton) {
  tk::Application& application = tk::Application::Instance();
  const std::wstring savedTitle = application.Title();
  application.SetTitle(L"Установка комплекса \"Севрон-Rezezi\"");
  uidriver::Box box;
  std::thread user([&] {
    box = uidriver::WaitForBox(::GetCurrentProcessId());
    if (!box.buttons.empty()) uidriver::Answer(box, uidriver::WithoutAccessKey(box.buttons.front()));
  });
  application.ShowException(std::runtime_error(Utf8(L"Cannot create file \"C:\\x\\vavova.ini\". Отказано в доступе")));
  user.join();
  application.SetTitle(savedTitle);
  EXPECT_EQ(box.title, L"Установка комплекса \"Севрон-Rezezi\"");
  ASSERT_EQ(box.texts.size(), 1u);
  EXPECT_EQ(box.texts[0], L"Cannot create file \"C:\\x\\vavova.ini\". Отказано в доступе.");
  EXPECT_EQ(box.buttons.size(), 1u);  // OK, in the language of Windows
  EXPECT_EQ(box.icon, ::LoadIconW(nullptr, IDI_HAND));
}

TEST(ToolkitApplication, TheMainWindowsEndEndsTheLoop) {
  tk::Application& application = tk::Application::Instance();
  tk::Form form;
  form.CreateForm(nullptr, L"главное", 100, 50, WS_OVERLAPPEDWINDOW);
  application.SetMainWindow(form.handle());
  form.Show();
  ::PostMessageW(form.handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(application.Run(), 0);  // returns once the window is gone
  EXPECT_EQ(form.handle(), nullptr);
  EXPECT_EQ(application.MainWindow(), nullptr);
  // No quit request is left behind for the next loop.
  MSG message;
  EXPECT_FALSE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}
