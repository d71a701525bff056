// Install.exe started from a complete sample distribution, driven as the user
// drives it: through the pages to "Начать установку", the driver question
// answered Yes, the installation run to its end on the font-size page (the test
// prefix works at 96 pixels per inch), and out through "Выход". Then the target
// tree, the progress list and the desktop shortcut are looked at.
#include "common/Handles.h"
#include "common/TextUtil.h"
#include "install/RuntimeFiles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/InstallerSession.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <gtest/gtest.h>

using namespace testsupport;
using namespace enginetest;

using namespace installer;

TEST(InstallEndToEnd, CompleteInstallationFromASampleDistribution) {
  SystemStateLock lock;
  FontsRestorer fonts;
  const std::wstring shortcut = DesktopFolder() + L"\\Севрон - Rezezi.lnk";
  FileRestorer restoreShortcut(shortcut);
  ::DeleteFileW(shortcut.c_str());

  TempFolder distribution(L"дистрибутив");
  const std::wstring source = distribution.path() + L"\\";
  sample::Build(source, {.driverProgram = ToolPath(L"recorder.exe")});
  ASSERT_TRUE(::CopyFileW(InstallExePath().c_str(), (source + L"Install.exe").c_str(), FALSE));
  TempFolder targetParent(L"цель");
  const std::wstring target = targetParent / L"Dazide\\";

  Running installer(source + L"Install.exe");
  ASSERT_TRUE(installer.Started());
  HWND main = installer.WaitForMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitForPage(main, L"Добро пожаловать"));
  HWND application = ::GetWindow(main, GW_OWNER);

  uidriver::Press(uidriver::FindVisibleChild(main, L"Далее"));
  ASSERT_TRUE(uidriver::WaitUntil([&] { return PageStartsWith(main, L"Пожалуйста, задайте путь"); }));
  SetText(PathField(main), target);
  uidriver::Press(uidriver::FindVisibleChild(main, L"Далее"));

  // The driver warning of the components page.
  HWND warning = nullptr;
  ASSERT_TRUE(uidriver::WaitUntil([&] {
    for (HWND top : uidriver::TopLevelWindows(installer.id()))
      if (top != main && top != application && uidriver::FindVisibleChild(top, L"OK")) warning = top;
    return warning != nullptr;
  }));
  uidriver::Press(uidriver::FindVisibleChild(warning, L"OK"));
  ASSERT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(warning) && ::IsWindowEnabled(main); }));

  uidriver::Press(uidriver::FindVisibleChild(main, L"Начать установку"));
  const uidriver::Box question = uidriver::WaitForBox(installer.id(), 60000);
  ASSERT_TRUE(question.window);
  EXPECT_EQ(question.title, L"Confirm");
  EXPECT_EQ(question.texts, std::vector<std::wstring>{L"Подключите интерфейсный блок и нажмите \"Yes\"?"});
  ASSERT_TRUE(uidriver::Answer(question, L"Yes"));

  // 96 pixels per inch: the run ends on the font-size page.
  ASSERT_TRUE(uidriver::WaitUntil([&] { return PageStartsWith(main, L"В настройках операционной системы"); }, 60000));

  // The progress list as the user saw it last.
  std::vector<std::wstring> expected = {L"Создание настроечных файлов....Завершено", L"Каталог <DTAfb> создан...",
                                        L"Копирование файла S12.FDB....Завершено"};
  const auto copied = [&](const wchar_t* name) {
    expected.push_back(L"Копирование файла " + std::wstring(name) + L"....Завершено");
  };
  for (const wchar_t* name : runtime::kWindows7Files) copied(name);
  for (const wchar_t* name : runtime::kIntlFiles) copied(name);
  for (const wchar_t* name : runtime::kUdfFiles) copied(name);
  for (const wchar_t* name : runtime::kLibraries) copied(name);
  for (const sample::FontSource& font : sample::kFonts)
    expected.push_back(L"Шрифт <" + std::wstring(font.faceName) + L"> уcтановлен");
  expected.push_back(L"Началась установка драйверов устройства...");
  expected.push_back(L"Установка драйверов устройства завершена");
  EXPECT_EQ(ProgressLines(main), expected);

  uidriver::Press(uidriver::FindVisibleChild(main, L"Выход"));
  DWORD exitCode = 1;
  ASSERT_TRUE(installer.Ended(&exitCode));
  EXPECT_EQ(exitCode, 0u);

  EXPECT_EQ(ReadBytes(target + L"DTAfb\\S12.FDB"), ReadBytes(source + L"DTAfb\\S12.FDB"));
  EXPECT_EQ(ReadBytes(target + L"Settings\\vavova.ini"), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
  EXPECT_TRUE(Exists(target + L"backup\\r010320\\Install.ran"));
  EXPECT_FALSE(Exists(target + L"backup\\r150219\\Install.ran"));
  EXPECT_NE(ReadBytes(target + L"ReleaseInfo").find("<Level>010320</Level>"), std::string::npos);
  // The driver installer ran hidden from the target, in the installer's own
  // folder.
  const std::string log = ReadBytes(target + L"FTDIDriverInstall\\FTDIDriverInstall.exe.log");
  EXPECT_NE(log.find("show=0\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("folder=" + Utf8(distribution.path()) + "\r\n"), std::string::npos) << log;
  for (const sample::FontSource& font : sample::kFonts)
    EXPECT_EQ(FontValue(std::wstring(font.faceName) + L" (TrueType)"), std::wstring(font.fileName));
  EXPECT_TRUE(Exists(shortcut));
}
