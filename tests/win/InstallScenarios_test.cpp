// Install.exe driven as a user drives it, in the ways the plain walk
// (MainEndToEnd, InstallEndToEnd) does not go: Cancel on the start and the
// target page, the target checks for roots, short relative names, a missing
// parent and a network path, the close box on the components page; Back with
// another target and a close request while the files are copied; complete
// installations into targets with Cyrillic letters, with blanks and longer than
// 200 characters; a re-installation over an existing installation.
#include "common/TextUtil.h"
#include "install/RuntimeFiles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/InstallerSession.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cwchar>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

using namespace testsupport;
using enginetest::DesktopFolder;
using enginetest::FileRestorer;
using enginetest::NamesIn;
using enginetest::SystemStateLock;
using installer::PageStartsWith;
using installer::PageText;
using installer::PathField;
using installer::ProgressLines;
using installer::SetText;
using namespace installer::scenario;

namespace {

const std::wstring kShortcutName = L"Севрон - Rezezi.lnk";
const std::wstring kShortcutDescription = L"Комплекс суточного мониторирования электрокардиограмм \"Севрон - Rezezi\"";
const std::wstring kCancelQuestion = L"Вы уверены, что хотите отменить процесс установки?";

std::wstring ShortcutPath() { return DesktopFolder() + L"\\" + kShortcutName; }

// The folder where cmd.exe ran a release's Install.cmd, as the script wrote it
// (cmd writes in the OEM code page).
std::wstring FolderTheScriptRanIn(const std::wstring& release) {
  const std::string bytes = ReadBytes(release + L"\\Install.cd");
  const int n = ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text::Trim(text);
}

std::string LevelIn(const std::wstring& releaseInfo) {
  const std::string info = ReadBytes(releaseInfo);
  const size_t open = info.find("<Level>");
  const size_t close = info.find("</Level>");
  return open == std::string::npos || close == std::string::npos ? "" : info.substr(open + 7, close - open - 7);
}

bool IsReadOnly(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// What a complete run leaves in the target `target` (ending in a backslash)
// from the distribution `source`, and the desktop shortcut pointing into it.
void ExpectInstalledTree(const std::wstring& source, const std::wstring& target) {
  EXPECT_EQ(ReadBytes(target + L"DTAfb\\S12.FDB"), ReadBytes(source + L"DTAfb\\S12.FDB"));
  for (const wchar_t* name : runtime::kWindows7Files)
    EXPECT_EQ(ReadBytes(target + name), sample::PlaceholderBytes(name)) << Utf8(name);
  for (const wchar_t* name : runtime::kIntlFiles)
    EXPECT_EQ(ReadBytes(target + L"intl\\" + name), sample::PlaceholderBytes(name)) << Utf8(name);
  for (const wchar_t* name : runtime::kUdfFiles)
    EXPECT_EQ(ReadBytes(target + L"udf\\" + name), sample::PlaceholderBytes(name)) << Utf8(name);
  for (const wchar_t* name : runtime::kLibraries)
    EXPECT_EQ(ReadBytes(target + L"udf\\" + name), sample::PlaceholderBytes(name)) << Utf8(name);
  EXPECT_EQ(ReadBytes(target + L"Settings\\lastnum.dta").size(), 14u);
  EXPECT_TRUE(Exists(target + L"Updater.exe"));
  EXPECT_TRUE(Exists(target + L"Lang\\EngView.lng"));
  EXPECT_TRUE(Exists(target + L"backup\\r150219\\Install.cmd"));
  // The newest release's script ran in its own folder, and its level is recorded.
  EXPECT_EQ(FolderTheScriptRanIn(target + L"backup\\r010320"), target + L"backup\\r010320");
  EXPECT_FALSE(Exists(target + L"backup\\r150219\\Install.ran"));
  EXPECT_EQ(LevelIn(target + L"ReleaseInfo"), "010320");
  EXPECT_FALSE(IsReadOnly(target + L"ReleaseInfo"));
  EXPECT_FALSE(IsReadOnly(target + L"Updater.exe.cfg"));
  EXPECT_FALSE(Exists(target + L"FTDIDriverInstall"));  // the driver box was cleared

  const ShortcutContents link = ReadShortcut(ShortcutPath());
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(lstrcmpiW(link.path.c_str(), (target + L"Rezezi.exe").c_str()), 0) << Utf8(link.path);
  EXPECT_EQ(link.workingFolder, target);
  EXPECT_EQ(link.description, kShortcutDescription);
  EXPECT_EQ(link.arguments, L"");
}

// Held by every complete installation: the desktop shortcut is the prefix's
// one, removed first and put back after.
class DesktopShortcutGuard {
 public:
  DesktopShortcutGuard() { ::DeleteFileW(ShortcutPath().c_str()); }

 private:
  SystemStateLock lock_;
  FileRestorer restore_{ShortcutPath()};
};

}  // namespace

// ---------------------------------------------------------------------------
// Cancel on the pages before the components page (whose Cancel the plain walk
// answers): No keeps the page, Yes leads to the cancel page, which is left with
// "Выход" or the close box. Nothing is created before the target is accepted.

struct CancelCase {
  const char* name;
  bool onTargetPage;
  bool leaveWithCloseBox;
};

void PrintTo(const CancelCase& c, std::ostream* out) { *out << c.name; }

class CancelScenario : public ::testing::TestWithParam<CancelCase> {};

TEST_P(CancelScenario, NoKeepsThePageYesCancelsAndTheProgramEndsNormally) {
  const CancelCase& c = GetParam();
  TempFolder temp(L"отмена");
  const std::wstring target = temp / L"Dazide";
  Session session(InstallExePath());
  ASSERT_TRUE(session.Start());
  const wchar_t* page = kStartPage;
  if (c.onTargetPage) {
    ASSERT_TRUE(session.ToTargetPage());
    SetText(PathField(session.main()), target);
    page = kTargetPage;
  }

  for (const wchar_t* answer : {L"No", L"Yes"}) {
    SCOPED_TRACE(Utf8(answer));
    ASSERT_TRUE(session.Press(L"Отмена"));
    const uidriver::Box box = uidriver::WaitForBox(session.process().id());
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.title, L"Confirm");
    EXPECT_EQ(box.texts, std::vector<std::wstring>{kCancelQuestion});
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
    ASSERT_TRUE(session.Answer(box, answer));
    if (answer == std::wstring(L"No")) {
      EXPECT_TRUE(session.OnPage(page));
    }
  }
  ASSERT_TRUE(session.OnPage(kCancelPage));
  EXPECT_FALSE(uidriver::FindVisibleChild(session.main(), L"Далее"));
  EXPECT_FALSE(uidriver::FindVisibleChild(session.main(), L"Отмена"));
  EXPECT_TRUE(session.ExitEnabled());

  if (c.leaveWithCloseBox)
    session.CloseBox();
  else
    ASSERT_TRUE(session.Press(L"Выход"));
  EXPECT_TRUE(session.EndedNormally());
  EXPECT_FALSE(Exists(target));  // the target was never accepted
}

INSTANTIATE_TEST_SUITE_P(Pages, CancelScenario,
                         ::testing::Values(CancelCase{"StartPageLeftWithExit", false, false},
                                           CancelCase{"TargetPageLeftWithTheCloseBox", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The target checks, one walk through a table of typed targets: roots and
// two-character names are refused (the field shows them with the backslash
// added); a three-character name is a folder beside the installer (its current
// folder); a target whose parent is missing and a network path are accepted
// without a message. Each accepted target is left with Back, which shows it
// normalised. The close box on the components page ends the program at once.

TEST(TargetScenario, RootsShortNamesMissingParentsAndNetworkPaths) {
  TempFolder installerFolder(L"установщик");
  ASSERT_TRUE(::CopyFileW(InstallExePath().c_str(), (installerFolder / L"Install.exe").c_str(), FALSE));
  TempFolder temp(L"цели");
  const std::wstring missingParent = temp / L"нет\\Dazide";

  struct Typed {
    std::wstring text;
    bool accepted;
    std::wstring fieldAfter;  // refused: the field after the box; accepted: after Back
  };
  const Typed table[] = {
      {L"C:\\", false, L"C:\\"},
      {L" D:\\ ", false, L"D:\\"},
      {L"ab", false, L"ab\\"},
      {L"  abc ", true, L"abc\\"},
      {missingParent, true, missingParent + L"\\"},
      {L"\\\\server\\share\\Dazide", true, L"\\\\server\\share\\Dazide\\"},
  };

  Session session(installerFolder / L"Install.exe");
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.ToTargetPage());
  for (const Typed& typed : table) {
    SCOPED_TRACE(Utf8(typed.text));
    SetText(PathField(session.main()), typed.text);
    ASSERT_TRUE(session.Press(L"Далее"));
    if (typed.accepted) {
      ASSERT_TRUE(session.DismissDriverWarning());
      ASSERT_TRUE(session.OnPage(kComponentsPage));
      ASSERT_TRUE(session.Press(L"Назад"));
      ASSERT_TRUE(session.OnPage(kTargetPage));
    } else {
      const uidriver::Box box = uidriver::WaitForBox(session.process().id());
      ASSERT_TRUE(box.window);
      EXPECT_EQ(box.title, L"Warning");
      EXPECT_EQ(box.texts, std::vector<std::wstring>{L"Программу нелзя устанавливать в корневой каталог!"});
      ASSERT_TRUE(session.Answer(box, L"OK"));
      EXPECT_TRUE(session.OnPage(kTargetPage));
    }
    EXPECT_EQ(uidriver::TextOf(PathField(session.main())), typed.fieldAfter);
  }
  // "abc" was made beside the installer, with its settings folder; the target
  // under a missing parent was not made at all.
  EXPECT_TRUE(IsFolder(installerFolder / L"abc\\Settings"));
  EXPECT_FALSE(Exists(temp / L"нет"));

  // On the components page the close box ends the program without a question.
  ASSERT_TRUE(session.ToComponentsPage(temp / L"Dazide"));
  session.CloseBox();
  EXPECT_TRUE(session.EndedNormally());
  EXPECT_TRUE(IsFolder(temp / L"Dazide\\Settings"));
}

// ---------------------------------------------------------------------------
// Back from the components page with another target: the installation goes to
// the target accepted last, the first one keeps only the folders the path page
// made. A close request while the files are copied is refused without a
// message; after the run the close box ends the program.

namespace {

// The number of lines of the list box, read with a single message: the
// program answers it only between two of its steps, so the number is the one
// of that moment. Nothing when the program did not answer.
std::optional<int> LineCount(HWND list) {
  DWORD_PTR count = 0;
  if (!::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count) ||
      static_cast<LRESULT>(count) == LB_ERR)
    return std::nullopt;
  return static_cast<int>(count);
}

// Posts a close request at a moment the user could: while the files are
// copied. The first line comes when the window has begun to refuse closing
// (the target exists, so no line of its own comes before),
// and the last line of that part is the one of the last library; the program
// answers the request at its next step. So a line count read between one and
// the number of that part's lines less one means the request is handled while
// the window still refuses to close. False when the run was not caught there.
bool CloseRequestWhileCopying(const Session& session) {
  HWND list = nullptr;
  for (HWND child : uidriver::Descendants(session.main()))
    if (lstrcmpiW(uidriver::ClassOf(child).c_str(), L"ListBox") == 0) list = child;
  if (!list) return false;
  const int linesOfThatPart = static_cast<int>(DeployLines().size());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (std::chrono::steady_clock::now() < deadline && ::IsWindow(session.main())) {
    const int count = LineCount(list).value_or(0);
    if (count >= linesOfThatPart) return false;  // too late
    if (count > 0) {
      session.CloseBox();
      return true;
    }
    // A short pause lets the program leave its message loop between steps
    // (reads without a pause keep it answering them).
    ::Sleep(1);
  }
  return false;
}

}  // namespace

TEST(BackScenario, AnotherTargetAfterBackAndACloseRequestDuringTheCopies) {
  DesktopShortcutGuard desktop;
  // A database large enough that copying it takes a while: the close request
  // comes while it is copied.
  Distribution distribution({.databaseBytes = 256u << 20, .fonts = false});
  TempFolder parent(L"назад");
  const std::wstring first = parent / L"Первая";
  const std::wstring second = parent / L"Вторая\\";

  Session session(distribution.installer());
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.WalkToComponentsPage(first));
  ASSERT_TRUE(session.Press(L"Назад"));
  ASSERT_TRUE(session.OnPage(kTargetPage));
  ASSERT_TRUE(session.ToComponentsPage(second));
  ASSERT_TRUE(session.SetDriverOption(false));

  ASSERT_TRUE(session.Press(L"Начать установку"));
  ASSERT_TRUE(CloseRequestWhileCopying(session));
  const uidriver::Box box = session.WaitForBoxOrFontSizePage();
  EXPECT_FALSE(box.window) << Utf8(box.texts.empty() ? L"" : box.texts.front());
  ASSERT_TRUE(::IsWindow(session.main())) << "the close request was granted during the copies";
  ASSERT_TRUE(session.OnPage(kFontSizePage));  // the prefix works at 96 pixels per inch

  ExpectInstalledTree(distribution.source(), second);
  EXPECT_EQ(NamesIn(first), std::vector<std::wstring>{L"Settings"});
  EXPECT_TRUE(NamesIn(first + L"\\Settings").empty());

  session.CloseBox();
  EXPECT_TRUE(session.EndedNormally());
}

// ---------------------------------------------------------------------------
// Complete installations into unusual targets: the tree, the script's folder
// and the shortcut's target and working folder carry the path unchanged.

struct TargetCase {
  const char* name;
  std::wstring parentFolders;  // made by the test under its temporary folder
  std::wstring leaf;           // made by the path page
  std::wstring typedAround;    // blanks typed before and after the path
  size_t longerThan = 0;       // characters of the target, its backslash included
};

namespace {

// Nested folders under `folder` that make its path longer than `length`
// characters: a target there stays within the system's path limits, as its
// deepest file (backup\WithOutAnswer\Install.cmd) adds 32 characters.
std::wstring FoldersLongerThan(const std::wstring& folder, size_t length) {
  std::wstring path = folder;
  for (int level = 1; path.size() <= length; ++level) path += L"\\уровень " + std::to_wstring(level);
  return path;
}

}  // namespace

void PrintTo(const TargetCase& c, std::ostream* out) { *out << c.name; }

class TargetTreeScenario : public ::testing::TestWithParam<TargetCase> {};

TEST_P(TargetTreeScenario, CompleteInstallationLandsInTheTarget) {
  const TargetCase& c = GetParam();
  DesktopShortcutGuard desktop;
  Distribution distribution({.fonts = false});
  TempFolder temp(L"цель");
  std::wstring parent = temp.path();
  if (!c.parentFolders.empty()) parent += L"\\" + c.parentFolders;
  if (c.longerThan) parent = FoldersLongerThan(parent, c.longerThan - c.leaf.size() - 2);
  MakeFolders(parent);
  const std::wstring target = parent + L"\\" + c.leaf + L"\\";
  EXPECT_GT(target.size(), c.longerThan);

  Session session(distribution.installer());
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.WalkToComponentsPage(c.typedAround + parent + L"\\" + c.leaf + c.typedAround));
  ASSERT_TRUE(session.SetDriverOption(false));
  const uidriver::Box box = session.Install();
  ASSERT_FALSE(box.window) << Utf8(box.texts.empty() ? L"" : box.texts.front());
  ASSERT_TRUE(session.OnPage(kFontSizePage));

  EXPECT_EQ(ProgressLines(session.main()), DeployLines());
  ExpectInstalledTree(distribution.source(), target);
  EXPECT_TRUE(session.ExitEnabled());
  ASSERT_TRUE(session.Press(L"Выход"));
  EXPECT_TRUE(session.EndedNormally());
}

INSTANTIATE_TEST_SUITE_P(Targets, TargetTreeScenario,
                         ::testing::Values(TargetCase{"CyrillicLetters", L"", L"Суточное_ЭКГ", L""},
                                           TargetCase{"Blanks", L"Program Files (x86)", L"Sevron  Rezezi 2", L"  "},
                                           TargetCase{"LongerThan200Characters", L"", L"Dazide", L"", 200}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A re-installation over an existing installation: the clinic's database is
// kept beside the new one under a dated name, every runtime file is replaced,
// the settings keep their keys, the last-number record stays, and a
// ReleaseInfo left read-only by the first installation is written.

namespace {

// The folder tree of an earlier installation, with an older runtime and the
// clinic's own database.
void LayOutEarlierInstallation(const std::wstring& target) {
  for (const wchar_t* folder : {L"DTAfb", L"Settings", L"intl", L"udf", L"backup\\r150219"})
    MakeFolders(target + folder);
  WriteBytes(target + L"DTAfb\\S12.FDB", "the clinic's recordings of a whole year");
  for (const wchar_t* name : runtime::kWindows7Files) WriteBytes(target + name, "older version");
  for (const wchar_t* name : runtime::kIntlFiles) WriteBytes(target + L"intl\\" + name, "older version");
  for (const wchar_t* name : runtime::kUdfFiles) WriteBytes(target + L"udf\\" + name, "older version");
  for (const wchar_t* name : runtime::kLibraries) WriteBytes(target + L"udf\\" + name, "older version");
  WriteBytes(target + L"Settings\\vavova.ini", "[options]\r\nFilterType=3\r\nLanguage=1\r\n[Monitor]\r\nNumber=2\r\n");
  WriteBytes(target + L"Settings\\lastnum.dta", std::string("\0\0\x2a\0\0\0\x01\x02\x03\x04\x05\x06\x07\x40", 14));
  WriteBytes(target + L"ReleaseInfo",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ROOT>\r\n  <Version>1</Version>\r\n"
             "  <Level>150219</Level>\r\n</ROOT>\r\n");
  ::SetFileAttributesW((target + L"ReleaseInfo").c_str(), FILE_ATTRIBUTE_READONLY);
}

std::wstring LocalStamp() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  wchar_t stamp[32];
  std::swprintf(stamp, 32, L"%04d-%02d-%02d_%02d-%02d-%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                now.wSecond);
  return stamp;
}

}  // namespace

TEST(ReinstallationScenario, KeepsTheDatabaseReplacesTheRuntimeAndCreatesNoDatabaseFolder) {
  DesktopShortcutGuard desktop;
  Distribution distribution({.fonts = false});
  TempFolder parent(L"повторно");
  const std::wstring target = parent / L"Dazide\\";
  LayOutEarlierInstallation(target);
  const std::string record = ReadBytes(target + L"Settings\\lastnum.dta");

  Session session(distribution.installer());
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.WalkToComponentsPage(target));
  ASSERT_TRUE(session.SetDriverOption(false));
  const std::wstring before = LocalStamp();
  const uidriver::Box box = session.Install();
  const std::wstring after = LocalStamp();
  ASSERT_FALSE(box.window) << Utf8(box.texts.empty() ? L"" : box.texts.front());
  ASSERT_TRUE(session.OnPage(kFontSizePage));

  // The lines of a complete run without "Каталог <DTAfb> создан...", and the
  // kept database named right after the database's line.
  const std::vector<std::wstring> lines = ProgressLines(session.main());
  ASSERT_GE(lines.size(), 3u);
  const std::wregex keptLine(
      LR"(Прежний файл базы данных сохранён: DTAfb\\S12\.FDB\.(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)\.bak)");
  std::wsmatch kept;
  ASSERT_TRUE(std::regex_match(lines[2], kept, keptLine)) << Utf8(lines[2]);
  std::vector<std::wstring> expected = DeployLines(false);
  expected.insert(expected.begin() + 2, lines[2]);
  EXPECT_EQ(lines, expected);
  EXPECT_GE(kept[1].str(), before);
  EXPECT_LE(kept[1].str(), after);

  // The clinic's database beside the distribution's, under the name shown.
  const std::wstring keptName = L"S12.FDB." + kept[1].str() + L".bak";
  EXPECT_EQ(ReadBytes(target + L"DTAfb\\" + keptName), "the clinic's recordings of a whole year");
  EXPECT_EQ(NamesIn(target + L"DTAfb").size(), 2u);
  ExpectInstalledTree(distribution.source(), target);  // every runtime file replaced
  EXPECT_EQ(ReadBytes(target + L"Settings\\vavova.ini"),
            "[options]\r\nFilterType=0\r\nLanguage=1\r\nHardwareType=1\r\n\r\n[Monitor]\r\nNumber=2\r\n\r\n");
  EXPECT_EQ(ReadBytes(target + L"Settings\\lastnum.dta"), record);

  session.CloseBox();
  EXPECT_TRUE(session.EndedNormally());
}
