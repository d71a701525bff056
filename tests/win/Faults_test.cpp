// Faults an installation meets on a clinic's machine, each shown on the real
// Install.exe driven from another process as the user drives it:
//  - the disk fills up in the middle of the database copy (the wine session's
//    small drive T:, see scripts/wine-session.sh), with and without the
//    database of a previous installation on it;
//  - files of a previous installation that are read-only, or held open by
//    another program or by the test itself, during a re-installation;
//  - decoy programs on the unquoted paths of a distribution and a target under
//    "C:\Program Files".
// Checked is what the user sees (the progress list, the boxes, the buttons,
// the way out) and what the disk holds afterwards.
#include "common/Handles.h"
#include "common/TextUtil.h"
#include "install/RuntimeFiles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/InstallerSession.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <ostream>
#include <regex>
#include <span>
#include <string>
#include <vector>

using namespace testsupport;
using enginetest::FileId;
using enginetest::NamesIn;
using enginetest::SystemReason;
using installer::Running;

namespace {

const std::wstring kDone = L"Завершено";
const std::wstring kFailed = L"ОШИБКА!!!";
const std::wstring kSettingsLine = L"Создание настроечных файлов....Завершено";
const std::wstring kDatabaseFolderLine = L"Каталог <DTAfb> создан...";
const std::wstring kApplicationTitle = L"Установка комплекса \"Севрон-Rezezi\"";
const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
const std::wstring kFontSizePage = L"В настройках операционной системы";
// The line of a re-installation that names the kept database; its time varies.
const std::wregex kKeptLine(
    LR"(Прежний файл базы данных сохранён: DTAfb\\S12\.FDB\.\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.bak)");
const std::wstring kKeptLineShown = L"<прежний файл базы данных сохранён>";

std::wstring CopyLine(const std::wstring& name) { return L"Копирование файла " + name + L"...."; }

// The lines with the kept-database line, whose time varies, in a fixed form.
std::vector<std::wstring> WithKeptLineFixed(std::vector<std::wstring> lines) {
  for (std::wstring& line : lines)
    if (std::regex_match(line, kKeptLine)) line = kKeptLineShown;
  return lines;
}

// The completed lines of a re-installation (Settings\ and DTAfb\ there, an old
// S12.FDB kept) in their order, up to the copy step of `name` (all of them for
// an empty name).
std::vector<std::wstring> ReinstallationLinesBefore(const std::wstring& name) {
  std::vector<std::wstring> lines = {kSettingsLine};
  const auto add = [&](const std::wstring& file) {
    if (file == name) return false;
    lines.push_back(CopyLine(file) + kDone);
    if (file == runtime::kDatabaseFile) lines.push_back(kKeptLineShown);
    return true;
  };
  if (!add(runtime::kDatabaseFile)) return lines;
  for (const auto& list :
       {std::span<const wchar_t* const>(runtime::kWindows7Files), std::span<const wchar_t* const>(runtime::kIntlFiles),
        std::span<const wchar_t* const>(runtime::kUdfFiles), std::span<const wchar_t* const>(runtime::kLibraries)})
    for (const wchar_t* file : list)
      if (!add(file)) return lines;
  return lines;
}

// The text the application's default error display shows for `message`.
std::wstring AsTheErrorDisplayShowsIt(std::wstring message) {
  if (!message.empty() && message.back() > L'.') message += L'.';
  return message;
}

// Every box of the dialog manager (#32770) that the process has, shown or not
// yet shown.
std::vector<HWND> AllBoxes(DWORD process) {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process, {}};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == s->process && uidriver::ClassOf(window) == L"#32770") s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// True when the window's thread takes a message within a few seconds: the
// program is back in a message loop and reacts.
bool Reacts(HWND window) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

// Every file and folder under `folder` (no trailing backslash), as paths
// relative to it, sorted.
std::vector<std::wstring> TreeOf(const std::wstring& folder, const std::wstring& prefix = {}) {
  std::vector<std::wstring> all;
  for (const std::wstring& name : NamesIn(folder)) {
    all.push_back(prefix + name);
    if (IsFolder(folder + L"\\" + name)) {
      const auto inner = TreeOf(folder + L"\\" + name, prefix + name + L"\\");
      all.insert(all.end(), inner.begin(), inner.end());
    }
  }
  std::sort(all.begin(), all.end());
  return all;
}

// A distribution in a folder of its own, with Install.exe copied into it.
class Distribution {
 public:
  explicit Distribution(sample::Options options, const std::wstring& parent = {}) {
    if (parent.empty()) {
      temp_.emplace(L"дистрибутив");
      folder_ = temp_->path() + L"\\";
    } else {
      folder_ = parent + L"\\";
      MakeFolders(parent);
    }
    sample::Build(folder_, options);
    installed_ = ::CopyFileW(InstallExePath().c_str(), (folder_ + L"Install.exe").c_str(), FALSE) != FALSE;
  }
  bool Ready() const { return installed_; }
  std::wstring Program() const { return folder_ + L"Install.exe"; }

 private:
  std::optional<TempFolder> temp_;
  std::wstring folder_;
  bool installed_ = false;
};

// How a run of "Начать установку" ended.
struct Outcome {
  std::vector<std::wstring> lines;   // the progress list at the end, with the kept-database line fixed
  std::optional<uidriver::Box> box;  // the box it ended with (an error, a question), already answered
  bool fontSizePage = false;         // it ended on the font-size page
};

// Install.exe from a distribution, driven through its pages as the user
// drives it. Terminated at the end of the test if it is still running.
class Wizard {
 public:
  explicit Wizard(const std::wstring& program) : program_(program) {}

  DWORD id() const { return program_.id(); }
  HWND main() const { return main_; }

  // Start page, the target page with `target` typed in, the driver warning
  // closed: the components page. Fails the test when a page does not come.
  void ToComponentsPage(const std::wstring& target) {
    ASSERT_TRUE(program_.Started());
    main_ = program_.WaitForMainWindow();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(installer::WaitForPage(main_, L"Добро пожаловать"));
    const HWND application = ::GetWindow(main_, GW_OWNER);
    ASSERT_TRUE(installer::PressVisible(main_, L"Далее"));
    ASSERT_TRUE(installer::WaitForPage(main_, L"Пожалуйста, задайте путь"));
    installer::SetText(installer::PathField(main_), target);
    ASSERT_TRUE(installer::PressVisible(main_, L"Далее"));
    HWND warning = nullptr;
    ASSERT_TRUE(uidriver::WaitUntil([&] {
      for (HWND top : uidriver::TopLevelWindows(id()))
        if (top != main_ && top != application && uidriver::FindVisibleChild(top, L"OK")) warning = top;
      return warning != nullptr;
    })) << "no driver warning";
    uidriver::Press(uidriver::FindVisibleChild(warning, L"OK"));
    ASSERT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(warning) && ::IsWindowEnabled(main_); }));
  }

  // "Начать установку", the driver question answered Yes, and
  // the run followed until it ends: on the font-size page, with a box (an
  // error box is read and answered with OK), or stopped at a copy step line
  // that ends in "ОШИБКА!!!".
  Outcome Install() {
    Outcome outcome;
    if (!installer::PressVisible(main_, L"Начать установку")) {
      ADD_FAILURE() << "no button \"Начать установку\"";
      return outcome;
    }
    HWND driverQuestion = nullptr;
    const bool ended = uidriver::WaitUntil(
        [&] {
          for (HWND window : uidriver::TopLevelWindows(id(), L"#32770")) {
            if (window == driverQuestion) continue;
            const uidriver::Box box = uidriver::ReadBox(window);
            if (!driverQuestion && box.texts == std::vector<std::wstring>{kDriverQuestion}) {
              driverQuestion = window;
              uidriver::Answer(box, L"Yes");
              return false;
            }
            outcome.box = box;
            return true;
          }
          if (installer::PageStartsWith(main_, kFontSizePage)) {
            outcome.fontSizePage = true;
            return true;
          }
          const auto lines = installer::ProgressLines(main_);
          return !lines.empty() && lines.back().ends_with(kFailed);
        },
        120000);
    EXPECT_TRUE(ended) << "the installation neither ended nor stopped";
    outcome.lines = WithKeptLineFixed(installer::ProgressLines(main_));
    if (outcome.box) AnswerErrorBox(*outcome.box);
    return outcome;
  }

  // The button "Выход" of the page shown, or null.
  HWND ExitButton() const { return uidriver::FindVisibleChild(main_, L"Выход"); }

  // Leaves through the window's close box; the exit code, or nothing when the
  // program did not end.
  std::optional<DWORD> CloseWithCloseBox() const {
    ::PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return ExitCode();
  }
  std::optional<DWORD> ExitCode() const {
    DWORD code = 0;
    if (!program_.Ended(&code, 30000)) return std::nullopt;
    return code;
  }

 private:
  // The error display's box has one button, captioned in the language of
  // Windows; a question is left to the test.
  void AnswerErrorBox(const uidriver::Box& box) {
    if (box.buttons.size() != 1) return;
    uidriver::Answer(box, uidriver::WithoutAccessKey(box.buttons.front()));
    EXPECT_TRUE(uidriver::WaitUntil([&] { return !::IsWindow(box.window) && ::IsWindowEnabled(main_); }));
  }

  Running program_;
  HWND main_ = nullptr;
};

// ---------------------------------------------------------------------------
// The disk fills up during the database copy

// The wine session's small drive T: (a tmpfs of a few MiB), for one test at a
// time across the test processes of the prefix; emptied before and after.
class SmallDrive {
 public:
  static constexpr const wchar_t* kRoot = L"T:\\";

  SmallDrive() : mutex_(::CreateMutexW(nullptr, FALSE, L"Local\\InstallFaultTests.SmallDrive")) {
    if (mutex_) ::WaitForSingleObject(mutex_.get(), INFINITE);
    if (Present()) Empty();
  }
  SmallDrive(const SmallDrive&) = delete;
  SmallDrive& operator=(const SmallDrive&) = delete;
  ~SmallDrive() {
    if (Present()) Empty();
    if (mutex_) ::ReleaseMutex(mutex_.get());
  }

  // A drive T: of at most 64 MiB: the session's small drive, not some other.
  bool Present() const {
    ULARGE_INTEGER total{};
    return ::GetDiskFreeSpaceExW(kRoot, nullptr, &total, nullptr) && total.QuadPart <= 64ull << 20;
  }
  uint64_t FreeBytes() const {
    ULARGE_INTEGER free{};
    ::GetDiskFreeSpaceExW(kRoot, &free, nullptr, nullptr);
    return free.QuadPart;
  }
  void Empty() const {
    for (const std::wstring& name : NamesIn(L"T:")) {
      const std::wstring path = kRoot + name;
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (IsFolder(path))
        RemoveTree(path);
      else
        ::DeleteFileW(path.c_str());
    }
  }

 private:
  win::UniqueHandle mutex_;
};

// The disk fills up in the middle of the database copy of a first
// installation, or of a re-installation over the database of a previous one.
struct DiskFullCase {
  const char* name;
  uint64_t previousDatabaseBytes;  // 0: a first installation
};

void PrintTo(const DiskFullCase& c, std::ostream* out) { *out << c.name; }

class DiskFull : public ::testing::TestWithParam<DiskFullCase> {};

TEST_P(DiskFull, TheDatabaseCopyStopsCleanly) {
  SmallDrive drive;
  if (!drive.Present())
    GTEST_SKIP() << "no small drive T: in this prefix: scripts/wine-session.sh start mounts one only when it runs "
                    "as root and may mount a tmpfs";
  const DiskFullCase& c = GetParam();
  drive.Empty();
  const std::wstring target = L"T:\\Dazide\\";
  // What was on the drive before and must stay as it was.
  const std::wstring otherFile = L"T:\\прежние данные.txt";
  WriteBytes(otherFile, "чужие данные на диске");
  const std::wstring database = target + L"DTAfb\\S12.FDB";
  uint64_t previousId = 0;
  std::string previousBytes;
  if (c.previousDatabaseBytes) {
    MakeFolders(target + L"DTAfb");
    sample::WritePatternFile(database, c.previousDatabaseBytes, 7);
    previousBytes = ReadBytes(database);
    previousId = FileId(database);
  }
  // A database larger than all the space left; the settings files still fit.
  const uint64_t free = drive.FreeBytes();
  Distribution distribution({.databaseBytes = free + (1u << 20), .fonts = false});
  ASSERT_TRUE(distribution.Ready());

  Wizard wizard(distribution.Program());
  ASSERT_NO_FATAL_FAILURE(wizard.ToComponentsPage(target));
  const Outcome outcome = wizard.Install();

  // The copy step ends as every failed copy does, and nothing else is shown.
  std::vector<std::wstring> expected = {kSettingsLine};
  if (!c.previousDatabaseBytes) expected.push_back(kDatabaseFolderLine);
  expected.push_back(CopyLine(runtime::kDatabaseFile) + kFailed);
  EXPECT_EQ(outcome.lines, expected);
  EXPECT_FALSE(outcome.box.has_value()) << Utf8(outcome.box ? outcome.box->texts.front() : L"");
  EXPECT_TRUE(Reacts(wizard.main()));
  EXPECT_EQ(AllBoxes(wizard.id()), std::vector<HWND>{});
  EXPECT_TRUE(::IsWindowEnabled(wizard.main()));
  // A stopped installation offers no "Выход"; the close box lets the user go.
  ASSERT_TRUE(wizard.ExitButton());
  EXPECT_FALSE(::IsWindowEnabled(wizard.ExitButton()));
  EXPECT_EQ(wizard.CloseWithCloseBox(), std::optional<DWORD>(0));

  // No half-written database, no temporary file of the copy; what was there is intact.
  std::vector<std::wstring> tree = {L"Dazide", L"Dazide\\DTAfb", L"Dazide\\Settings", L"Dazide\\Settings\\vavova.ini",
                                    L"прежние данные.txt"};
  if (c.previousDatabaseBytes) tree.push_back(L"Dazide\\DTAfb\\S12.FDB");
  std::sort(tree.begin(), tree.end());
  EXPECT_EQ(TreeOf(L"T:"), tree);
  EXPECT_EQ(ReadBytes(otherFile), "чужие данные на диске");
  EXPECT_EQ(ReadBytes(target + L"Settings\\vavova.ini"), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
  if (c.previousDatabaseBytes) {
    EXPECT_TRUE(ReadBytes(database) == previousBytes) << "the previous database changed";
    EXPECT_EQ(FileId(database), previousId);
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, DiskFull,
                         ::testing::Values(DiskFullCase{"FirstInstallation", 0},
                                           DiskFullCase{"ReinstallationOverADatabase", 1u << 20}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Files of a previous installation that cannot be replaced

// Another program holding `path` open without sharing (tests/tools
// file_holder.exe) until the object goes.
class HeldByAnotherProgram {
 public:
  explicit HeldByAnotherProgram(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    const std::wstring name = L"Local\\InstallFaultTests.Held." + std::to_wstring(::GetCurrentProcessId()) + L"." +
                              std::to_wstring(counter++);
    held_.reset(::CreateEventW(nullptr, TRUE, FALSE, (name + L".held").c_str()));
    letGo_.reset(::CreateEventW(nullptr, TRUE, FALSE, (name + L".letgo").c_str()));
    std::wstring command =
        L"\"" + ToolPath(L"file_holder.exe") + L"\" \"" + path + L"\" " + name + L".held " + name + L".letgo";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!held_ || !letGo_ ||
        !::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      return;
    process_.reset(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    const HANDLE either[] = {held_.get(), process_.get()};
    holding_ = ::WaitForMultipleObjects(2, either, FALSE, 30000) == WAIT_OBJECT_0;
  }
  HeldByAnotherProgram(const HeldByAnotherProgram&) = delete;
  HeldByAnotherProgram& operator=(const HeldByAnotherProgram&) = delete;
  ~HeldByAnotherProgram() {
    if (!process_) return;
    ::SetEvent(letGo_.get());
    if (::WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0) ::TerminateProcess(process_.get(), 1);
  }
  bool Holding() const { return holding_; }

 private:
  win::UniqueHandle held_;
  win::UniqueHandle letGo_;
  win::UniqueHandle process_;
  bool holding_ = false;
};

enum class Hold { ReadOnly, ByAnotherProgram, ByTheTest };

const char* HoldName(Hold hold) {
  switch (hold) {
    case Hold::ReadOnly:
      return "read-only";
    case Hold::ByAnotherProgram:
      return "held open by another program";
    case Hold::ByTheTest:
      return "held open by the test";
  }
  return "?";
}

// A previous installation in `target`: its settings, its database and the
// files the cases below hold, each with bytes of its own.
void LayOutPreviousInstallation(const std::wstring& target) {
  MakeFolders(target + L"Settings");
  MakeFolders(target + L"DTAfb");
  MakeFolders(target + L"udf");
  WriteBytes(target + L"Settings\\vavova.ini", "[options]\r\nFilterType=3\r\nHardwareType=1\r\n\r\n");
  WriteBytes(target + L"DTAfb\\S12.FDB", "the clinic's patients");
  WriteBytes(target + L"fbclient.Dll", "the previous fbclient.Dll");
  WriteBytes(target + L"udf\\Tendis.Dll", "the previous Tendis.Dll");
  WriteBytes(target + L"Updater.exe", "the previous Updater.exe");
}

// Keeps `path` from being replaced in the way `hold` says while it exists.
class Obstacle {
 public:
  Obstacle(const std::wstring& path, Hold hold) : path_(path) {
    if (hold == Hold::ReadOnly) ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    if (hold == Hold::ByAnotherProgram) other_.emplace(path);
    if (hold == Hold::ByTheTest)
      own_.reset(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ready_ = hold == Hold::ReadOnly           ? (::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0
             : hold == Hold::ByAnotherProgram ? other_->Holding()
                                              : static_cast<bool>(own_);
  }
  bool Ready() const { return ready_; }

 private:
  std::wstring path_;
  std::optional<HeldByAnotherProgram> other_;
  win::UniqueFile own_;
  bool ready_ = false;
};

// Temporary files of a replacement copy ("~xxxxxxxx.tmp") left in `folder`.
std::vector<std::wstring> TemporaryFilesIn(const std::wstring& folder) {
  std::vector<std::wstring> found;
  for (const std::wstring& name : NamesIn(folder))
    if (name.starts_with(L"~") && name.ends_with(L".tmp")) found.push_back(name);
  return found;
}

// What the error box of a stop says before the system's reason.
enum class Says { CannotCreate, CannotOpen, CannotSetTheDatabaseAside };

// A re-installation that must stop at a file it cannot replace.
struct StopCase {
  const char* name;
  const wchar_t* file;  // relative to the target
  Hold hold;
  const wchar_t* stepName;  // the copy step it stops at; null: before any line
  Says says;
  DWORD error;  // the system's reason named at the end of the box
};

// The start of the error box's text for `c` with the target `target`: up to
// the system's reason, or up to the kept name's time for the database.
std::wstring BoxTextStart(const StopCase& c, const std::wstring& target) {
  const std::wstring path = target + c.file;
  switch (c.says) {
    case Says::CannotCreate:
      return L"Cannot create file \"" + path + L"\". ";
    case Says::CannotOpen:
      return L"Cannot open file \"" + path + L"\". ";
    case Says::CannotSetTheDatabaseAside:
      return L"Не удалось сохранить прежний файл базы данных \"" + path + L"\" под именем \"" + path + L".";
  }
  return {};
}

// A distribution without releases: should a run not stop where it must, it
// stops at the release choice, before the desktop and the fonts of the prefix.
sample::Options NoReleases() { return {.releases = {}, .withOutAnswerFolder = false, .fonts = false}; }

// Runs Install.exe over a previous installation in `target` with the file of
// `c` kept from being replaced, and checks the stop, the way out and that the
// file and the rest of the previous installation are as they were.
void ExpectTheReinstallationStops(const Distribution& distribution, const std::wstring& target, const StopCase& c) {
  SCOPED_TRACE(Utf8(c.file) + " " + HoldName(c.hold));
  RemoveTree(text::WithoutTrailingBackslash(target));
  LayOutPreviousInstallation(target);
  const std::wstring held = target + c.file;
  const std::string heldBytes = ReadBytes(held);
  const uint64_t heldId = FileId(held);
  std::optional<Outcome> outcome;
  std::optional<DWORD> exitCode;
  bool exitDisabled = false;
  {
    Obstacle obstacle(held, c.hold);
    ASSERT_TRUE(obstacle.Ready());
    Wizard wizard(distribution.Program());
    ASSERT_NO_FATAL_FAILURE(wizard.ToComponentsPage(target));
    outcome = wizard.Install();
    exitDisabled = wizard.ExitButton() && !::IsWindowEnabled(wizard.ExitButton());
    exitCode = wizard.CloseWithCloseBox();
  }

  // The error box of the application, naming the file and the reason.
  ASSERT_TRUE(outcome->box.has_value()) << "no error box";
  EXPECT_EQ(outcome->box->title, kApplicationTitle);
  EXPECT_EQ(outcome->box->buttons.size(), 1u);  // OK, as Windows words it
  ASSERT_EQ(outcome->box->texts.size(), 1u);
  const std::wstring& shown = outcome->box->texts.front();
  EXPECT_TRUE(shown.starts_with(BoxTextStart(c, target))) << Utf8(shown);
  EXPECT_TRUE(shown.ends_with(AsTheErrorDisplayShowsIt(L". " + SystemReason(c.error)))) << Utf8(shown);
  // The lines as far as the run got; the step line keeps no ending.
  std::vector<std::wstring> expected;
  if (c.stepName) {
    expected = ReinstallationLinesBefore(c.stepName);
    expected.push_back(CopyLine(c.stepName));
  }
  EXPECT_EQ(outcome->lines, expected);
  // A stopped installation: no "Выход", the close box lets the user go.
  EXPECT_TRUE(exitDisabled);
  EXPECT_EQ(exitCode, std::optional<DWORD>(0));

  // The file is as it was, and nothing was left beside it.
  EXPECT_EQ(ReadBytes(held), heldBytes);
  EXPECT_EQ(FileId(held), heldId);
  EXPECT_EQ(TemporaryFilesIn(text::FolderOf(held)), std::vector<std::wstring>{});
  EXPECT_EQ(c.hold == Hold::ReadOnly, (::GetFileAttributesW(held.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
  // The clinic's database survives whatever stopped the run: in its place, or
  // kept beside the new one once its copy step was done.
  const bool stoppedBeforeTheDatabase = !c.stepName || c.stepName == std::wstring(runtime::kDatabaseFile);
  if (stoppedBeforeTheDatabase) {
    EXPECT_TRUE(ReadBytes(target + L"DTAfb\\S12.FDB") == "the clinic's patients") << "the database was replaced";
  }
  int keptCopies = 0;
  for (const std::wstring& name : NamesIn(target + L"DTAfb"))
    keptCopies += ReadBytes(target + L"DTAfb\\" + name) == "the clinic's patients";
  EXPECT_EQ(keptCopies, 1);
  // Nothing after the stop happened.
  EXPECT_FALSE(Exists(target + L"Settings\\lastnum.dta"));
  EXPECT_FALSE(Exists(target + L"backup"));
  EXPECT_FALSE(Exists(target + L"ReleaseInfo"));
}

void PrintTo(const StopCase& c, std::ostream* out) { *out << c.name; }

class ReinstallationStop : public ::testing::TestWithParam<StopCase> {};

TEST_P(ReinstallationStop, AtAFileItCannotReplaceWhichStaysAsItWas) {
  Distribution distribution(NoReleases());
  ASSERT_TRUE(distribution.Ready());
  TempFolder targetParent(L"цель");
  ExpectTheReinstallationStops(distribution, targetParent / L"Dazide\\", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Faults, ReinstallationStop,
                         ::testing::Values(
                             // Wine run as root could write read-only files: the refusal must be the program's own.
                             StopCase{"ReadOnlySettings", L"Settings\\vavova.ini", Hold::ReadOnly, nullptr,
                                      Says::CannotCreate, ERROR_ACCESS_DENIED},
                             StopCase{"ReadOnlyRuntimeFile", L"fbclient.Dll", Hold::ReadOnly, L"fbclient.Dll",
                                      Says::CannotCreate, ERROR_ACCESS_DENIED},
                             // The settings are read before they are written.
                             StopCase{"SettingsHeldByAnotherProgram", L"Settings\\vavova.ini", Hold::ByAnotherProgram,
                                      nullptr, Says::CannotOpen, ERROR_SHARING_VIOLATION},
                             // A library of the suite: a failed copy of one only marks its line, but
                             // one whose target cannot be created stops the installation.
                             StopCase{"LibraryHeldByAnotherProgram", L"udf\\Tendis.Dll", Hold::ByAnotherProgram,
                                      L"Tendis.Dll", Says::CannotCreate, ERROR_SHARING_VIOLATION},
                             // The database in use cannot be set aside: nothing is copied over it.
                             StopCase{"DatabaseHeldByTheTest", L"DTAfb\\S12.FDB", Hold::ByTheTest, L"S12.FDB",
                                      Says::CannotSetTheDatabaseAside, ERROR_SHARING_VIOLATION}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Faults, AFileOfTheUpdaterHeldOpenIsPassedOverAndTheInstallationGoesOn) {
  enginetest::SystemStateLock lock;
  const std::wstring shortcut = enginetest::DesktopFolder() + L"\\Севрон - Rezezi.lnk";
  enginetest::FileRestorer restoreShortcut(shortcut);
  Distribution distribution({.driverProgram = ToolPath(L"recorder.exe"), .fonts = false});
  ASSERT_TRUE(distribution.Ready());
  TempFolder targetParent(L"цель");
  const std::wstring target = targetParent / L"Dazide\\";
  LayOutPreviousInstallation(target);

  std::optional<Outcome> outcome;
  std::optional<DWORD> exitCode;
  {
    HeldByAnotherProgram updater(target + L"Updater.exe");
    ASSERT_TRUE(updater.Holding());
    Wizard wizard(distribution.Program());
    ASSERT_NO_FATAL_FAILURE(wizard.ToComponentsPage(target));
    outcome = wizard.Install();
    ASSERT_TRUE(wizard.ExitButton());
    EXPECT_TRUE(::IsWindowEnabled(wizard.ExitButton()));
    uidriver::Press(wizard.ExitButton());
    exitCode = wizard.ExitCode();
  }

  // The whole installation ran: the tree copies pass over what they cannot copy.
  EXPECT_FALSE(outcome->box.has_value());
  EXPECT_TRUE(outcome->fontSizePage);
  std::vector<std::wstring> expected = ReinstallationLinesBefore(L"");
  expected.push_back(L"Началась установка драйверов устройства...");
  expected.push_back(L"Установка драйверов устройства завершена");
  EXPECT_EQ(outcome->lines, expected);
  EXPECT_EQ(exitCode, std::optional<DWORD>(0));
  EXPECT_EQ(ReadBytes(target + L"Updater.exe"), "the previous Updater.exe");
  EXPECT_EQ(ReadBytes(target + L"Updater.exe.cfg"), "<configuration/>\r\n");
  EXPECT_TRUE(Exists(target + L"backup\\r010320\\Install.ran"));
  EXPECT_NE(ReadBytes(target + L"ReleaseInfo").find("<Level>010320</Level>"), std::string::npos);
  EXPECT_TRUE(Exists(shortcut));
}

// ---------------------------------------------------------------------------
// Decoys on the unquoted paths under "C:\Program Files"

// A copy of tests/tools recorder.exe at `path`, which leaves "<path>.log" if it
// is ever started; removed with its log when the object goes.
class Decoy {
 public:
  explicit Decoy(std::wstring path) : path_(std::move(path)) {
    planted_ = ::CopyFileW(ToolPath(L"recorder.exe").c_str(), path_.c_str(), TRUE) != FALSE;
  }
  Decoy(const Decoy&) = delete;
  Decoy& operator=(const Decoy&) = delete;
  ~Decoy() {
    if (planted_) ::DeleteFileW(path_.c_str());
    ::DeleteFileW((path_ + L".log").c_str());
  }
  bool Planted() const { return planted_; }
  bool Ran() const { return Exists(path_ + L".log"); }
  void ForgetRuns() const { ::DeleteFileW((path_ + L".log").c_str()); }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
  bool planted_ = false;
};

// A folder that is removed with everything in it when the object goes.
class FolderRemover {
 public:
  explicit FolderRemover(std::wstring path) : path_(std::move(path)) {}
  FolderRemover(const FolderRemover&) = delete;
  FolderRemover& operator=(const FolderRemover&) = delete;
  ~FolderRemover() { RemoveTree(path_); }

 private:
  std::wstring path_;
};

std::wstring FromOem(const std::string& bytes) {
  const int n = ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  return text;
}

// An unquoted start of anything under the suite's folder in "C:\\Program Files"
// runs the first of these that exists: C:\\Program.exe, or else
// C:\\Program Files\\Севрон.exe.
struct DecoyCase {
  const char* name;
  bool programExe;  // C:\\Program.exe too
};

void PrintTo(const DecoyCase& c, std::ostream* out) { *out << c.name; }

class UnquotedPathDecoys : public ::testing::TestWithParam<DecoyCase> {};

TEST_P(UnquotedPathDecoys, NeverRunDuringACompleteInstallation) {
  // C:\ is shared by every test of the prefix.
  enginetest::SystemStateLock lock;
  const std::wstring shortcut = enginetest::DesktopFolder() + L"\\Севрон - Rezezi.lnk";
  enginetest::FileRestorer restoreShortcut(shortcut);
  const std::wstring programFiles = L"C:\\Program Files";
  ASSERT_TRUE(IsFolder(programFiles));
  std::vector<std::wstring> decoyPaths = {programFiles + L"\\Севрон.exe"};
  if (GetParam().programExe) decoyPaths.push_back(L"C:\\Program.exe");
  const std::wstring suite = programFiles + L"\\Севрон Rezezi " + std::to_wstring(::GetCurrentProcessId());
  FolderRemover removeSuite(suite);
  std::vector<std::unique_ptr<Decoy>> decoys;
  for (const std::wstring& path : decoyPaths) {
    decoys.push_back(std::make_unique<Decoy>(path));
    ASSERT_TRUE(decoys.back()->Planted()) << Utf8(path);
  }
  Distribution distribution({.driverProgram = ToolPath(L"recorder.exe"), .fonts = false}, suite + L"\\Дистрибутив");
  ASSERT_TRUE(distribution.Ready());
  const std::wstring target = suite + L"\\Dazide\\";
  // The control: the driver installer's path started unquoted runs the decoy
  // (C:\\Program.exe where it exists).
  const std::wstring driver = target + L"FTDIDriverInstall\\FTDIDriverInstall.exe";
  ASSERT_TRUE(RunAndCollect(driver).started);
  ASSERT_TRUE(decoys.back()->Ran()) << Utf8(decoys.back()->path());
  for (const auto& decoy : decoys) decoy->ForgetRuns();

  std::optional<Outcome> outcome;
  std::optional<DWORD> exitCode;
  {
    Wizard wizard(distribution.Program());
    ASSERT_NO_FATAL_FAILURE(wizard.ToComponentsPage(target));
    outcome = wizard.Install();
    ASSERT_TRUE(wizard.ExitButton());
    uidriver::Press(wizard.ExitButton());
    exitCode = wizard.ExitCode();
  }
  EXPECT_TRUE(outcome->fontSizePage);
  EXPECT_FALSE(outcome->box.has_value());
  EXPECT_EQ(exitCode, std::optional<DWORD>(0));

  for (const auto& decoy : decoys) EXPECT_FALSE(decoy->Ran()) << ReadBytes(decoy->path() + L".log");
  // The release's script ran in its own folder; the driver installer stand-in
  // ran from the target under its quoted path.
  const std::wstring release = target + L"backup\\r010320";
  ASSERT_TRUE(Exists(release + L"\\Install.ran"));
  EXPECT_EQ(FromOem(ReadBytes(release + L"\\Install.cd")), release);
  EXPECT_FALSE(Exists(target + L"backup\\r150219\\Install.ran"));
  ASSERT_TRUE(Exists(driver + L".log"));
  EXPECT_NE(ReadBytes(driver + L".log").find("cmdline=\"" + Utf8(driver) + "\""), std::string::npos)
      << ReadBytes(driver + L".log");
  EXPECT_NE(ReadBytes(target + L"ReleaseInfo").find("<Level>010320</Level>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Faults, UnquotedPathDecoys,
                         ::testing::Values(DecoyCase{"ProgramExeAndSevronExe", true},
                                           DecoyCase{"SevronExeAlone", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
