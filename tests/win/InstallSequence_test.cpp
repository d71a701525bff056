#include "install/InstallSequence.h"

#include "common/ComPtr.h"
#include "common/Handles.h"
#include "common/SH_Common_Proc.h"
#include "common/TextUtil.h"
#include "install/CreateNSI.h"
#include "install/InstallEngine.h"
#include "install/RuntimeFiles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"

#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

using namespace testsupport;
using namespace enginetest;

namespace {

const std::wstring kDone = L"Завершено";
const std::wstring kFailed = L"ОШИБКА!!!";
const std::wstring kFinalQuestion = L"Установка завершена. Выйти из программы установки?";
const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
std::wstring CopyLine(const std::wstring& name) { return L"Копирование файла " + name + L"...."; }

// The lines of a complete run over a target whose DTAfb\ is missing, with no
// font missing and the driver not installed.
std::vector<std::wstring> CompleteRunLines(int variant, bool databaseFolderCreated = true) {
  std::vector<std::wstring> lines = {L"Создание настроечных файлов...." + kDone};
  if (databaseFolderCreated) lines.push_back(L"Каталог <DTAfb> создан...");
  lines.push_back(CopyLine(L"S12.FDB") + kDone);
  for (const wchar_t* name : runtime::RuntimeFiles(variant)) lines.push_back(CopyLine(name) + kDone);
  for (const wchar_t* name : runtime::kIntlFiles) lines.push_back(CopyLine(name) + kDone);
  for (const wchar_t* name : runtime::kUdfFiles) lines.push_back(CopyLine(name) + kDone);
  for (const wchar_t* name : runtime::kLibraries) lines.push_back(CopyLine(name) + kDone);
  return lines;
}

std::wstring FromOem(const std::string& bytes) {
  const int n = ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text::Trim(text);
}

// The read call of CopyOneFile failing for one source file.
std::wstring g_failingSuffix;
BOOL WINAPI ReadFailingFor(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
  wchar_t path[MAX_PATH * 2];
  const std::wstring name(path, ::GetFinalPathNameByHandleW(file, path, MAX_PATH * 2, FILE_NAME_NORMALIZED));
  if (name.size() >= g_failingSuffix.size() &&
      lstrcmpiW(name.substr(name.size() - g_failingSuffix.size()).c_str(), g_failingSuffix.c_str()) == 0) {
    ::SetLastError(ERROR_CRC);
    return FALSE;
  }
  return ::ReadFile(file, buffer, size, read, overlapped);
}
class FailingReadScope {
 public:
  explicit FailingReadScope(const std::wstring& suffix) : previous_(SetCopyReadForTesting(ReadFailingFor)) {
    g_failingSuffix = suffix;
  }
  ~FailingReadScope() { SetCopyReadForTesting(previous_); }

 private:
  CopyReadFn previous_;
};

// A distribution S and a target T as the path page leaves them (T and
// T\Settings exist); the installer's folder S is the current folder; the
// prefix's fonts folder, font list and desktop shortcut are restored after.
class SequenceFixture : public ::testing::Test {
 protected:
  SequenceFixture() {
    ::DeleteFileW(shortcut_.c_str());
    MakeFolders(target_ + L"Settings");
    ::SetCurrentDirectoryW(source_.c_str());
    view_.target = L"  " + target_ + L" ";  // the field's text, blanks and all
    view_.answers = {true};
  }

  void Build(sample::Options options = {}) {
    if (options.driverProgram.empty()) options.driverProgram = ToolPath(L"recorder.exe");
    sample::Build(source_, options);
  }
  // All seven fonts in the fonts folder already: the run adds no font line.
  void PlaceFonts() {
    for (const sample::FontSource& font : sample::kFonts)
      ::CopyFileW(font.hostFile, (SystemFontsFolder() + font.fileName).c_str(), FALSE);
  }
  void Run() { RunInstallSequence(view_, environment_); }
  std::wstring RunRaising() {
    return RaisedMessage([&] { Run(); });
  }

  // The state of a run that stopped: closable, normal cursor, no exit button.
  void ExpectStopped() {
    EXPECT_TRUE(view_.canClose);
    EXPECT_FALSE(view_.busy);
    EXPECT_FALSE(view_.exitEnabled);
    EXPECT_FALSE(view_.closed);
    EXPECT_EQ(view_.page, WizardPage::tsProgressInstall);
    EXPECT_FALSE(Exists(shortcut_));
  }
  void ExpectCompleted() {
    EXPECT_TRUE(view_.canClose);
    EXPECT_FALSE(view_.busy);
    EXPECT_TRUE(view_.exitEnabled);
    EXPECT_TRUE(Exists(shortcut_));
  }
  std::string LevelText() const {
    const std::string info = ReadBytes(target_ + L"ReleaseInfo");
    const size_t open = info.find("<Level>");
    const size_t close = info.find("</Level>");
    return open == std::string::npos || close == std::string::npos ? "" : info.substr(open + 7, close - open - 7);
  }
  bool Ran(const std::wstring& release) const { return Exists(target_ + L"backup\\" + release + L"\\Install.ran"); }

  SystemStateLock lock_;
  FontsRestorer fonts_;
  const std::wstring shortcut_ = DesktopFolder() + L"\\Севрон - Rezezi.lnk";
  FileRestorer restoreShortcut_{shortcut_};
  TempFolder sourceFolder_{L"дистрибутив"};
  TempFolder targetParent_{L"цель"};
  CurrentFolderRestorer restoreFolder_;  // before the folders go
  const std::wstring source_ = sourceFolder_.path() + L"\\";
  const std::wstring target_ = targetParent_.path() + L"\\Dazide\\";
  ScriptedView view_;
  InstallEnvironment environment_{source_, SystemFontsFolder(), [] { return false; }};
};

}  // namespace

TEST_F(SequenceFixture, CompleteRunWritesExactlyTheseLinesAndTheseFiles) {
  Build();
  PlaceFonts();
  Run();

  EXPECT_EQ(view_.lines, CompleteRunLines(0));
  EXPECT_EQ(view_.sourceFolder, source_);
  EXPECT_EQ(view_.questions, std::vector<std::wstring>{kFinalQuestion});
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_TRUE(view_.closed);
  ExpectCompleted();

  // Settings and data files.
  EXPECT_EQ(ReadBytes(target_ + L"Settings\\vavova.ini"), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
  EXPECT_EQ(ReadBytes(target_ + L"Settings\\lastnum.dta").size(), 14u);
  EXPECT_FALSE(Exists(target_ + L"btooth.ini"));
  // The database and its runtime.
  EXPECT_EQ(ReadBytes(target_ + L"DTAfb\\S12.FDB"), ReadBytes(source_ + L"DTAfb\\S12.FDB"));
  for (const wchar_t* name : runtime::kWindows7Files) EXPECT_TRUE(Exists(target_ + name)) << Utf8(name);
  for (const wchar_t* name : runtime::kLibraries) EXPECT_TRUE(Exists(target_ + L"udf\\" + name)) << Utf8(name);
  // Backup and updater trees; the updater's files writable; the newest release run and recorded.
  EXPECT_TRUE(Exists(target_ + L"backup\\r150219\\Install.cmd"));
  EXPECT_TRUE(Exists(target_ + L"backup\\WithOutAnswer\\Install.cmd"));
  EXPECT_TRUE(Exists(target_ + L"Updater.exe"));
  EXPECT_TRUE(Exists(target_ + L"Lang\\EngView.lng"));
  EXPECT_EQ(::GetFileAttributesW((target_ + L"ReleaseInfo").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(::GetFileAttributesW((target_ + L"Updater.exe.cfg").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_TRUE(Ran(L"r010320"));
  EXPECT_FALSE(Ran(L"r150219"));
  EXPECT_FALSE(Ran(L"WithOutAnswer"));
  EXPECT_EQ(LevelText(), "010320");
  // Nothing of the driver.
  EXPECT_FALSE(Exists(target_ + L"FTDIDriverInstall"));
  // The desktop shortcut.
  const ShortcutContents link = ReadShortcut(shortcut_);
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(lstrcmpiW(link.path.c_str(), (target_ + L"Rezezi.exe").c_str()), 0) << Utf8(link.path);
  EXPECT_EQ(link.workingFolder, target_);
  EXPECT_EQ(link.description, L"Комплекс суточного мониторирования электрокардиограмм \"Севрон - Rezezi\"");
  EXPECT_EQ(link.arguments, L"");
}

TEST_F(SequenceFixture, WindowStateThroughTheRun) {
  Build();
  PlaceFonts();
  Run();
  const std::vector<std::string> start(view_.events.begin(), view_.events.begin() + 10);
  EXPECT_EQ(start, (std::vector<std::string>{"clear", "page tsProgressInstall", "messages", "source", "canClose 0",
                                             "busy 1", "messages", "line 0", "messages", "change 0"}));
  for (size_t i = 0; i < view_.stateAtLine.size(); ++i) {
    EXPECT_FALSE(view_.stateAtLine[i].canClose) << Utf8(view_.lines[i]);
    EXPECT_TRUE(view_.stateAtLine[i].busy) << Utf8(view_.lines[i]);
  }
  const auto at = [&](const std::string& e) { return std::find(view_.events.begin(), view_.events.end(), e); };
  EXPECT_LT(at("canClose 1"), at("exit"));
  EXPECT_LT(at("busy 0"), at("exit"));
  EXPECT_LT(at("exit"), at("confirm"));
  EXPECT_LT(at("confirm"), at("close"));
}

TEST_F(SequenceFixture, FontAndDriverLinesComeWithTheWindowClosableAgain) {
  Build();
  view_.driverChecked = true;
  view_.answers = {true, true};
  Run();
  ASSERT_EQ(view_.lines.size(), CompleteRunLines(0).size() + 7 + 2);
  for (size_t i = CompleteRunLines(0).size(); i < view_.lines.size(); ++i) {
    EXPECT_TRUE(view_.stateAtLine[i].canClose) << Utf8(view_.lines[i]);
    EXPECT_FALSE(view_.stateAtLine[i].busy) << Utf8(view_.lines[i]);
  }
  EXPECT_EQ(view_.lines[CompleteRunLines(0).size()], L"Шрифт <Liberation Sans> уcтановлен");
  EXPECT_EQ(view_.lines[view_.lines.size() - 2], L"Началась установка драйверов устройства...");
  EXPECT_EQ(view_.lines.back(), L"Установка драйверов устройства завершена");
  EXPECT_EQ(view_.questions, (std::vector<std::wstring>{kDriverQuestion, kFinalQuestion}));
  // The driver installer ran from T, with the installer's folder as its current folder.
  const std::string log = ReadBytes(target_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe.log");
  EXPECT_NE(log.find("folder=" + Utf8(sourceFolder_.path())), std::string::npos) << log;
  ExpectCompleted();
}

TEST_F(SequenceFixture, WindowsXpVariantHasTenRuntimeLines) {
  Build();
  PlaceFonts();
  view_.variant = 1;
  Run();
  EXPECT_EQ(view_.lines, CompleteRunLines(1));
  EXPECT_EQ(view_.lines.size(), CompleteRunLines(0).size() - 2);
  ExpectCompleted();
}

TEST_F(SequenceFixture, ATargetRemovedAfterThePathPageIsCreatedAgain) {
  Build();
  PlaceFonts();
  RemoveTree(text::WithoutTrailingBackslash(target_));
  Run();
  auto expected = CompleteRunLines(0);
  expected.insert(expected.begin(), L"Каталог создан...");
  EXPECT_EQ(view_.lines, expected);
  // Settings\ was made before vavova.ini is written.
  EXPECT_EQ(ReadBytes(target_ + L"Settings\\vavova.ini"), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
  EXPECT_EQ(view_.stateAtLine[0].canClose, true);  // made before the window refuses to close
  ExpectCompleted();
}

TEST_F(SequenceFixture, ReinstallationKeepsTheDatabaseTheSettingsAndTheRecord) {
  Build();
  PlaceFonts();
  Run();
  ASSERT_TRUE(view_.exitEnabled);
  WriteBytes(target_ + L"DTAfb\\S12.FDB", "a year of recordings");
  WriteBytes(target_ + L"Settings\\vavova.ini", "[options]\r\nFilterType=3\r\nLanguage=1\r\n[Monitor]\r\nNumber=2\r\n");
  const std::string record = ReadBytes(target_ + L"Settings\\lastnum.dta");

  ScriptedView again;
  again.target = target_;
  again.answers = {false};
  RunInstallSequence(again, environment_);

  ASSERT_GE(again.lines.size(), 3u);
  EXPECT_EQ(again.lines[1], CopyLine(L"S12.FDB") + kDone);
  const std::wregex keptLine(LR"(Прежний файл базы данных сохранён: DTAfb\\S12\.FDB\.[-_0-9]{19}\.bak)");
  EXPECT_TRUE(std::regex_match(again.lines[2], keptLine)) << Utf8(again.lines[2]);
  auto expected = CompleteRunLines(0, false);
  expected.insert(expected.begin() + 2, again.lines[2]);
  EXPECT_EQ(again.lines, expected);
  const std::wstring kept = target_ + again.lines[2].substr(again.lines[2].find(L"DTAfb\\"));
  EXPECT_EQ(ReadBytes(kept), "a year of recordings");
  EXPECT_EQ(ReadBytes(target_ + L"Settings\\vavova.ini"),
            "[options]\r\nFilterType=0\r\nLanguage=1\r\nHardwareType=1\r\n\r\n[Monitor]\r\nNumber=2\r\n\r\n");
  EXPECT_EQ(ReadBytes(target_ + L"Settings\\lastnum.dta"), record);
  // No: the progress page stays, the exit button is on.
  EXPECT_FALSE(again.closed);
  EXPECT_TRUE(again.exitEnabled);
  EXPECT_EQ(again.page, WizardPage::tsProgressInstall);
}

TEST_F(SequenceFixture, ReleaseScriptRunsInItsFolderAndTheTargetIsCurrentAfter) {
  Build({.releases = {{L"r150219"}, {L"r010320", 7}}});  // its exit code is not looked at
  PlaceFonts();
  Run();
  EXPECT_EQ(FromOem(ReadBytes(target_ + L"backup\\r010320\\Install.cd")), target_ + L"backup\\r010320");
  EXPECT_EQ(CurrentFolder(), text::WithoutTrailingBackslash(target_));
  EXPECT_EQ(LevelText(), "010320");
  ExpectCompleted();
}

TEST_F(SequenceFixture, EqualKeysChooseTheFirstInCaseInsensitiveOrder) {
  // By code, "B" comes before "a"; in the list's order "a010320" is first.
  Build({.releases = {{L"B010320"}, {L"a010320"}, {L"c150219"}}});
  PlaceFonts();
  Run();
  EXPECT_TRUE(Ran(L"a010320"));
  EXPECT_FALSE(Ran(L"B010320"));
  EXPECT_FALSE(Ran(L"c150219"));
  EXPECT_EQ(LevelText(), "010320");
}

TEST_F(SequenceFixture, AFolderNamedWithoutanswerInOtherLettersStops) {
  Build({.releases = {{L"r010320"}, {L"withoutanswer"}}});
  PlaceFonts();
  EXPECT_EQ(RunRaising(), L"'erswan' is not a valid integer value");
  EXPECT_FALSE(Ran(L"r010320"));
  EXPECT_EQ(LevelText(), "000000");
  ExpectStopped();
}

TEST_F(SequenceFixture, NoReleaseFolderStops) {
  Build({.releases = {}});  // only WithOutAnswer, which never counts
  PlaceFonts();
  EXPECT_EQ(RunRaising(), L"List index out of bounds (0)");
  EXPECT_FALSE(Ran(L"WithOutAnswer"));
  ExpectStopped();
}

TEST_F(SequenceFixture, AReleaseWithoutItsScriptStops) {
  Build();
  PlaceFonts();
  ::DeleteFileW((source_ + L"backup\\r010320\\Install.cmd").c_str());
  const std::wstring message = RunRaising();
  EXPECT_EQ(message, L"не смог создать процесс: " + target_ + L"backup\\r010320\\Install.cmd");
  EXPECT_EQ(LevelText(), "000000");
  EXPECT_EQ(CurrentFolder(), sourceFolder_.path());  // nothing was started from the release folder
  ExpectStopped();
}

TEST_F(SequenceFixture, AMissingReleaseInfoStops) {
  Build();
  PlaceFonts();
  ::SetFileAttributesW((source_ + L"Updater\\ReleaseInfo").c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW((source_ + L"Updater\\ReleaseInfo").c_str());
  EXPECT_EQ(RunRaising(), L"Release info file does not exist");
  EXPECT_TRUE(Ran(L"r010320"));
  ExpectStopped();
}

TEST_F(SequenceFixture, AReleaseInfoOfAnotherVersionStops) {
  const std::string info = "<ROOT><Version>2</Version><Level>0</Level></ROOT>";
  Build({.releaseInfo = info});
  PlaceFonts();
  EXPECT_EQ(RunRaising(), L"Cannot get release information, error: unknown release file version");
  EXPECT_EQ(ReadBytes(target_ + L"ReleaseInfo"), info);
  ExpectStopped();
}

TEST_F(SequenceFixture, SmallFontsEndOnTheFontSizePage) {
  Build();
  PlaceFonts();
  view_.answers = {};
  environment_.isSmallFonts = [] { return true; };
  Run();
  EXPECT_EQ(view_.page, WizardPage::tsChangeFontSize);
  EXPECT_TRUE(view_.questions.empty());
  EXPECT_TRUE(view_.exitEnabled);
  EXPECT_FALSE(view_.closed);
}

TEST_F(SequenceFixture, ProgramEnvironmentIsTheProgramsFolderAndTheSystemsFonts) {
  const InstallEnvironment program = ProgramEnvironment();
  EXPECT_EQ(program.sourceFolder, TestProgramFolder());
  EXPECT_EQ(lstrcmpiW(program.fontsFolder.c_str(), SystemFontsFolder().c_str()), 0) << Utf8(program.fontsFolder);
  EXPECT_EQ(program.isSmallFonts(), IsSmallFontsDpi(::GetDeviceCaps(win::WindowDc(nullptr).get(), LOGPIXELSX)));
}

// ---------------------------------------------------------------------------
// The failure table

TEST_F(SequenceFixture, TargetThatCannotBeCreatedShowsAnErrorBoxAndStopsUntouched) {
  Build();
  view_.target = targetParent_.path() + L"\\нет\\Dazide\\";  // one level only: the parent is missing
  Run();
  EXPECT_EQ(view_.errors, std::vector<std::wstring>{L"Ошибка при создании каталога!"});
  EXPECT_EQ(view_.lines, std::vector<std::wstring>{L"Ошибка при создании каталога!"});
  EXPECT_FALSE(view_.Happened("canClose 0"));
  EXPECT_FALSE(view_.Happened("busy 1"));
  ExpectStopped();
}

TEST_F(SequenceFixture, VavovaIniThatCannotBeWrittenStopsBeforeTheBusyPhase) {
  Build();
  RemoveTree(target_ + L"Settings");
  WriteBytes(target_ + L"Settings", "a file where the folder belongs");
  const std::wstring message = RunRaising();
  EXPECT_TRUE(message.starts_with(L"Cannot create file \"" + target_ + L"Settings\\vavova.ini\". ")) << Utf8(message);
  EXPECT_TRUE(view_.lines.empty());
  EXPECT_FALSE(view_.Happened("canClose 0"));
  ExpectStopped();
}

TEST_F(SequenceFixture, DatabaseFolderThatCannotBeCreatedStopsWithTheWindowClosable) {
  Build();
  WriteBytes(target_ + L"DTAfb", "a file");
  Run();
  EXPECT_EQ(view_.errors, std::vector<std::wstring>{L"Ошибка при создании каталога <DTAfb>!"});
  EXPECT_EQ(view_.lines, (std::vector<std::wstring>{L"Создание настроечных файлов....Завершено",
                                                    L"Ошибка при создании каталога <DTAfb>!"}));
  EXPECT_TRUE(view_.Happened("canClose 0"));
  ExpectStopped();
}

TEST_F(SequenceFixture, FailedCopyInTheEngineStepsStops) {
  Build();
  {
    FailingReadScope failing(L"\\Firebird\\fbclient.Dll");
    Run();
  }
  const auto complete = CompleteRunLines(0);
  std::vector<std::wstring> expected(complete.begin(), complete.begin() + 5);
  expected.push_back(CopyLine(L"fbclient.Dll") + kFailed);
  EXPECT_EQ(view_.lines, expected);
  EXPECT_FALSE(Exists(target_ + L"ib_util.Dll"));
  EXPECT_FALSE(Exists(target_ + L"Settings\\lastnum.dta"));  // the record is written after the copies
  ExpectStopped();
}

TEST_F(SequenceFixture, FailedLibraryCopyGoesOnToTheEnd) {
  Build();
  PlaceFonts();
  {
    FailingReadScope failing(L"\\UDF\\Tendis.Dll");
    Run();
  }
  auto expected = CompleteRunLines(0);
  expected[expected.size() - 3] = CopyLine(L"Tendis.Dll") + kFailed;
  EXPECT_EQ(view_.lines, expected);
  ExpectCompleted();
}

TEST_F(SequenceFixture, MissingRuntimeFileRaisesAndLeavesTheWindowClosable) {
  Build();
  ::DeleteFileW((source_ + L"Firebird\\icuuc30.Dll").c_str());
  const std::wstring message = RunRaising();
  EXPECT_TRUE(message.starts_with(L"Cannot open file \"" + source_ + L"Firebird\\icuuc30.Dll\". ")) << Utf8(message);
  EXPECT_GT(message.size(), (L"Cannot open file \"" + source_ + L"Firebird\\icuuc30.Dll\". ").size());
  EXPECT_EQ(view_.lines.back(), CopyLine(L"icuuc30.Dll"));
  // Closable and the normal cursor again, in that order, after the busy phase began.
  const auto at = [&](const std::string& e) { return std::find(view_.events.begin(), view_.events.end(), e); };
  EXPECT_LT(at("canClose 0"), at("canClose 1"));
  EXPECT_LT(at("busy 1"), at("busy 0"));
  ExpectStopped();
}

TEST_F(SequenceFixture, LastNumRecordThatCannotBeWrittenIsPassedOver) {
  Build();
  PlaceFonts();
  MakeFolders(target_ + L"Settings\\lastnum.dta");  // a folder in the file's place
  Run();
  EXPECT_EQ(view_.lines, CompleteRunLines(0));
  EXPECT_TRUE(view_.errors.empty());
  ExpectCompleted();
}

TEST_F(SequenceFixture, SiblingProductWritesBtoothIniAndStopsWhenItCannot) {
  Build();
  PlaceFonts();
  view_.sibling = true;
  Run();
  EXPECT_EQ(ReadBytes(target_ + L"btooth.ini"), "[Common]\r\nDisk=I\r\n\r\n");
  ExpectCompleted();

  ::DeleteFileW(shortcut_.c_str());
  ::DeleteFileW((target_ + L"btooth.ini").c_str());
  MakeFolders(target_ + L"btooth.ini");
  view_ = ScriptedView();
  view_.target = target_;
  view_.sibling = true;
  const std::wstring message = RunRaising();
  // A folder in its place cannot be read, and what cannot be read is not overwritten.
  EXPECT_TRUE(message.starts_with(L"Cannot open file \"" + target_ + L"btooth.ini\". ")) << Utf8(message);
  ExpectStopped();
}

TEST_F(SequenceFixture, MainProductLeavesAnExistingBtoothIniAlone) {
  Build();
  PlaceFonts();
  WriteBytes(target_ + L"btooth.ini", "[Common]\r\nDisk=C\r\n");
  Run();
  EXPECT_EQ(ReadBytes(target_ + L"btooth.ini"), "[Common]\r\nDisk=C\r\n");
}

TEST_F(SequenceFixture, AFontMissingFromTheDistributionEndsOnlyTheFontStep) {
  Build();
  ::DeleteFileW((source_ + L"fonts\\MICROSS.TTF").c_str());
  Run();
  auto expected = CompleteRunLines(0);
  for (const wchar_t* face : {L"Liberation Sans", L"Liberation Sans Narrow", L"Liberation Mono"})
    expected.push_back(L"Шрифт <" + std::wstring(face) + L"> уcтановлен");
  EXPECT_EQ(view_.lines, expected);
  EXPECT_FALSE(Exists(SystemFontsFolder() + L"TAHOMA.TTF"));
  ExpectCompleted();
}

TEST_F(SequenceFixture, DriverInstallerThatCannotStartGoesOn) {
  Build();
  PlaceFonts();
  RemoveTree(source_ + L"FTDIDriverInstall");  // no driver installer anywhere
  view_.driverChecked = true;
  view_.answers = {true, true};
  Run();
  auto expected = CompleteRunLines(0);
  expected.push_back(L"Началась установка драйверов устройства...");
  expected.push_back(L"Установка драйверов устройства завершена");
  EXPECT_EQ(view_.lines, expected);
  ExpectCompleted();
}

TEST_F(SequenceFixture, DriverDeclinedAddsNoLine) {
  Build();
  PlaceFonts();
  view_.driverChecked = true;
  view_.answers = {false, true};
  Run();
  EXPECT_EQ(view_.lines, CompleteRunLines(0));
  EXPECT_EQ(view_.questions, (std::vector<std::wstring>{kDriverQuestion, kFinalQuestion}));
  EXPECT_FALSE(Exists(target_ + L"FTDIDriverInstall"));
}

TEST_F(SequenceFixture, UpdaterFileThatCannotBeCopiedIsPassedOver) {
  Build();
  PlaceFonts();
  MakeFolders(target_ + L"Updater.exe");  // a folder in the file's place
  Run();
  EXPECT_TRUE(IsFolder(target_ + L"Updater.exe"));
  EXPECT_EQ(LevelText(), "010320");
  ExpectCompleted();
}
