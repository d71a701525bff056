// A distribution folder is a place anyone may have put files into. A library
// planted beside Install.exe under the name of a system library must never be
// loaded by it: not at start-up, and not on any path of a complete installation
// (shell links and the shell's folder copy, fonts, the release's script and the
// driver installer, the font-size change through the setup library, the
// restart question).
#include "common/Handles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/InstallerSession.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace testsupport;

namespace {

// Libraries a Windows program loads on demand (not among the known DLLs):
// those the installer uses and those the system libraries it uses pull in
// (msimg32 by the drawing code, msxml3 through msxml6, urlmon, wininet and mpr
// through msxml3, the common controls through the manifest).
const wchar_t* const kPlantedNames[] = {
    L"version.dll", L"uxtheme.dll",  L"msftedit.dll", L"riched20.dll", L"riched32.dll", L"windowscodecs.dll",
    L"dwmapi.dll",  L"syssetup.dll", L"msxml3.dll",   L"msxml6.dll",   L"propsys.dll",  L"cryptbase.dll",
    L"winmm.dll",   L"usp10.dll",    L"msimg32.dll",  L"gdiplus.dll",  L"setupapi.dll", L"wintrust.dll",
    L"urlmon.dll",  L"wininet.dll",  L"mpr.dll",      L"comctl32.dll",
};

// Wine prefers its own built-in libraries; for the test every planted name is
// made "native first" for the programs below, so that a planted file beside
// them would be taken wherever the search order reaches it. version.dll stays
// built-in first: Wine's own user32 imports it at process start (the Windows
// user32 does not), before any program code runs.
class NativeFirst {
 public:
  explicit NativeFirst(const std::wstring& program) {
    key_ = L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides";
    HKEY raw = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr);
    win::UniqueKey key(raw);
    for (const wchar_t* name : kPlantedNames) {
      if (lstrcmpiW(name, L"version.dll") == 0) continue;
      std::wstring base(name);
      base.resize(base.size() - 4);
      const wchar_t value[] = L"native,builtin";
      ::RegSetValueExW(key.get(), base.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value));
    }
  }
  ~NativeFirst() { ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

 private:
  std::wstring key_;
};

void PlantLibraries(const std::wstring& folder) {
  for (const wchar_t* name : kPlantedNames)
    ASSERT_TRUE(::CopyFileW(ToolPath(L"planted.dll").c_str(), (folder + L"\\" + name).c_str(), FALSE));
}

std::vector<std::wstring> LoadedMarkers(const std::wstring& folder) {
  std::vector<std::wstring> loaded;
  for (const wchar_t* name : kPlantedNames)
    if (Exists(folder + L"\\" + name + L".loaded")) loaded.push_back(name);
  return loaded;
}

// What the user met on the way through a complete installation.
struct CompleteRun {
  std::vector<std::wstring> lines;     // the progress list on the font-size page
  std::vector<std::wstring> question;  // the restart question after "Изменить настройки"
  std::optional<DWORD> exitCode;       // after "Выход"
};

// The driver warning of the components page, closed with its OK.
void CloseDriverWarning(const installer::Running& install, HWND main) {
  const HWND application = ::GetWindow(main, GW_OWNER);
  HWND warning = nullptr;
  ASSERT_TRUE(uidriver::WaitUntil([&] {
    for (HWND top : uidriver::TopLevelWindows(install.id()))
      if (top != main && top != application && uidriver::FindVisibleChild(top, L"OK")) warning = top;
    return warning != nullptr;
  })) << "no driver warning";
  uidriver::Press(uidriver::FindVisibleChild(warning, L"OK"));
  ASSERT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(warning) && ::IsWindowEnabled(main); }));
}

// Waits for the next box of the process, answers it with `button` and returns its texts.
std::vector<std::wstring> AnswerBox(const installer::Running& install, const std::wstring& button) {
  const uidriver::Box box = uidriver::WaitForBox(install.id(), 60000);
  EXPECT_TRUE(box.window) << "no box";
  if (!box.window) return {};
  EXPECT_TRUE(uidriver::Answer(box, button)) << Utf8(button);
  EXPECT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(box.window); }));
  return box.texts;
}

// Start page, target page, components page, "Начать установку" with the driver
// question answered Yes, to the end on the font-size page (the test prefix
// works at 96 pixels per inch); there "Изменить настройки" (the setup library,
// then the restart question, answered No: nothing is restarted) and "Выход".
void RunCompleteInstallation(const installer::Running& install, const std::wstring& target, CompleteRun& run) {
  ASSERT_TRUE(install.Started());
  const HWND main = install.WaitForMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(installer::WaitForPage(main, L"Добро пожаловать"));
  ASSERT_TRUE(installer::PressVisible(main, L"Далее"));
  ASSERT_TRUE(installer::WaitForPage(main, L"Пожалуйста, задайте путь"));
  installer::SetText(installer::PathField(main), target);
  ASSERT_TRUE(installer::PressVisible(main, L"Далее"));
  ASSERT_NO_FATAL_FAILURE(CloseDriverWarning(install, main));
  ASSERT_TRUE(installer::PressVisible(main, L"Начать установку"));
  ASSERT_EQ(AnswerBox(install, L"Yes"), std::vector<std::wstring>{L"Подключите интерфейсный блок и нажмите \"Yes\"?"});
  ASSERT_TRUE(installer::WaitForPage(main, L"В настройках операционной системы", 120000));
  run.lines = installer::ProgressLines(main);
  ASSERT_TRUE(installer::PressVisible(main, L"Изменить настройки"));
  run.question = AnswerBox(install, L"No");
  ASSERT_TRUE(installer::PressVisible(main, L"Выход"));
  DWORD exitCode = 1;
  if (install.Ended(&exitCode, 30000)) run.exitCode = exitCode;
}

}  // namespace

TEST(PlantedDll, AnOrdinaryProgramWouldLoadThePlantedLibrary) {
  // The control: without protection the planted file is what gets loaded.
  TempFolder folder(L"подброшенные библиотеки");
  PlantLibraries(folder.path());
  ASSERT_TRUE(::CopyFileW(ToolPath(L"dll_probe.exe").c_str(), (folder / L"dll_probe.exe").c_str(), FALSE));
  NativeFirst nativeFirst(L"dll_probe.exe");
  for (const wchar_t* name : {L"msftedit.dll", L"uxtheme.dll", L"syssetup.dll"}) {
    const ProcessResult result = RunAndCollect(L"\"" + (folder / L"dll_probe.exe") + L"\" " + name, folder.path());
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0u) << Utf8(name);
    EXPECT_TRUE(Exists(folder / name + L".loaded")) << Utf8(name);
  }
}

TEST(PlantedDll, InstallNeverLoadsALibraryPlantedBesideIt) {
  TempFolder folder(L"дистрибутив");
  PlantLibraries(folder.path());
  const std::wstring exe = folder / L"Install.exe";
  ASSERT_TRUE(::CopyFileW(InstallExePath().c_str(), exe.c_str(), FALSE));
  NativeFirst nativeFirst(L"Install.exe");

  installer::Running install(exe, folder.path());
  ASSERT_TRUE(install.Started());

  // Wait until the main window is up: by then every library of the start-up
  // (rich edit, imaging, common controls and themes) has been loaded.
  HWND main = install.WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "Install.exe showed no main window";
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(install.Ended(&exitCode, 30000));

  EXPECT_EQ(LoadedMarkers(folder.path()), std::vector<std::wstring>{});
}

TEST(PlantedDll, NoneIsLoadedThroughACompleteInstallation) {
  // Fonts, the desktop's shortcut: the prefix's shared state.
  enginetest::SystemStateLock lock;
  enginetest::FontsRestorer fonts;
  const std::wstring shortcut = enginetest::DesktopFolder() + L"\\Севрон - Rezezi.lnk";
  enginetest::FileRestorer restoreShortcut(shortcut);
  ::DeleteFileW(shortcut.c_str());

  TempFolder distribution(L"дистрибутив");
  const std::wstring source = distribution.path() + L"\\";
  sample::Build(source, {.driverProgram = ToolPath(L"recorder.exe")});
  PlantLibraries(distribution.path());
  ASSERT_TRUE(::CopyFileW(InstallExePath().c_str(), (source + L"Install.exe").c_str(), FALSE));
  TempFolder targetParent(L"цель");
  const std::wstring target = targetParent / L"Dazide\\";
  NativeFirst nativeFirst(L"Install.exe");

  CompleteRun run;
  {
    installer::Running install(source + L"Install.exe", distribution.path());
    ASSERT_NO_FATAL_FAILURE(RunCompleteInstallation(install, target, run));
  }

  EXPECT_EQ(LoadedMarkers(distribution.path()), std::vector<std::wstring>{});
  // Every path was taken: the fonts, the driver, the release, the shortcut,
  // the font-size change and its question.
  const auto shown = [&](const std::wstring& line) {
    return std::find(run.lines.begin(), run.lines.end(), line) != run.lines.end();
  };
  for (const sample::FontSource& font : sample::kFonts)
    EXPECT_TRUE(shown(L"Шрифт <" + std::wstring(font.faceName) + L"> уcтановлен")) << Utf8(font.faceName);
  EXPECT_TRUE(shown(L"Установка драйверов устройства завершена"));
  EXPECT_TRUE(Exists(target + L"FTDIDriverInstall\\FTDIDriverInstall.exe.log"));
  EXPECT_TRUE(Exists(target + L"backup\\r010320\\Install.ran"));
  EXPECT_NE(ReadBytes(target + L"ReleaseInfo").find("<Level>010320</Level>"), std::string::npos);
  EXPECT_TRUE(Exists(shortcut));
  EXPECT_EQ(run.question, std::vector<std::wstring>{L"Изменения в настройки внесены, для того чтобы они\r\n"
                                                    L"вступили в силу, требуется перзагрузить операционную систему.\r\n"
                                                    L"Выполнить перезагрузку сейчас?"});
  EXPECT_EQ(run.exitCode, std::optional<DWORD>(0));
}
