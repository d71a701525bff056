// Installations through Install.exe that stop, each as the user sees it: the
// progress list as far as the run got, the error box (the application's error
// display, titled with the application title), "Выход" left disabled, and the
// close box still ending the program normally. One walk per case of the table:
// a runtime file missing from the distribution, a library whose target is held
// open by another program or is a folder, a release folder "withoutanswer",
// no release at all, and a ReleaseInfo of another version.
#include "install/RuntimeFiles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/InstallerSession.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace testsupport;
using enginetest::DesktopFolder;
using enginetest::FileRestorer;
using enginetest::SystemReason;
using enginetest::SystemStateLock;
using installer::ProgressLines;
using namespace installer::scenario;

namespace {

// S: the distribution folder, T: the target folder, both ending in a backslash.
struct Folders {
  std::wstring source;
  std::wstring target;
};

struct FailureCase {
  const char* name;
  sample::Options distribution;
  // Prepares the target (made already, with its Settings folder) before the
  // run; what it returns lives until the run is over.
  std::function<std::shared_ptr<void>(const Folders&)> prepare;
  std::function<std::vector<std::wstring>()> lines;
  std::function<std::wstring(const Folders&)> message;  // as raised, before the display's full stop
  // The run got past the files and the fonts: it might have made the desktop
  // shortcut, so the desktop is locked and looked at.
  bool reachesTheReleases = false;
  std::function<void(const Folders&)> alsoExpect = [](const Folders&) {};
};

std::shared_ptr<void> Nothing(const Folders&) { return nullptr; }

// A file of the target held open without sharing, as a running program of the
// suite holds its library during a re-installation.
std::shared_ptr<void> HoldLibraryOpen(const Folders& folders) {
  const std::wstring library = folders.target + L"udf\\Tendis.Dll";
  MakeFolders(folders.target + L"udf");
  WriteBytes(library, "the library a running program holds");
  HANDLE held = ::CreateFileW(library.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) return nullptr;
  return std::shared_ptr<void>(held, ::CloseHandle);
}

std::shared_ptr<void> FolderInTheLibrarysPlace(const Folders& folders) {
  MakeFolders(folders.target + L"udf\\Tendis.Dll");
  return nullptr;
}

std::wstring FileMessage(const std::wstring& what, const std::wstring& path, DWORD error) {
  return what + L" \"" + path + L"\". " + SystemReason(error);
}

bool Ran(const Folders& folders, const std::wstring& release) {
  return Exists(folders.target + L"backup\\" + release + L"\\Install.ran");
}

const FailureCase kCases[] = {
    {
        .name = "RuntimeFileMissingFromTheDistribution",
        .distribution = {.fonts = false},
        .prepare =
            [](const Folders& folders) {
              ::DeleteFileW((folders.source + L"Firebird\\icuuc30.Dll").c_str());
              return nullptr;
            },
        .lines = [] { return DeployLinesStoppingAt(L"icuuc30.Dll"); },
        .message =
            [](const Folders& folders) {
              return FileMessage(L"Cannot open file", folders.source + L"Firebird\\icuuc30.Dll", ERROR_FILE_NOT_FOUND);
            },
        .alsoExpect =
            [](const Folders& folders) {
              EXPECT_FALSE(Exists(folders.target + L"icuuc30.Dll"));
              EXPECT_FALSE(Exists(folders.target + L"Settings\\lastnum.dta"));  // written after the copies
            },
    },
    {
        .name = "LibraryHeldOpenByAnotherProgram",
        .distribution = {.fonts = false},
        .prepare = HoldLibraryOpen,
        .lines = [] { return DeployLinesStoppingAt(L"Tendis.Dll"); },
        .message =
            [](const Folders& folders) {
              return FileMessage(L"Cannot create file", folders.target + L"udf\\Tendis.Dll", ERROR_SHARING_VIOLATION);
            },
        .alsoExpect =
            [](const Folders& folders) {
              EXPECT_EQ(ReadBytes(folders.target + L"udf\\Tendis.Dll"), "the library a running program holds");
              EXPECT_FALSE(Exists(folders.target + L"udf\\Vorkal.Dll"));  // the run stopped at Tendis.Dll
            },
    },
    {
        .name = "FolderInTheLibrarysPlace",
        .distribution = {.fonts = false},
        .prepare = FolderInTheLibrarysPlace,
        .lines = [] { return DeployLinesStoppingAt(L"Tendis.Dll"); },
        .message =
            [](const Folders& folders) {
              return FileMessage(L"Cannot create file", folders.target + L"udf\\Tendis.Dll", ERROR_ACCESS_DENIED);
            },
        .alsoExpect = [](const Folders& folders) { EXPECT_TRUE(IsFolder(folders.target + L"udf\\Tendis.Dll")); },
    },
    {
        // Only "WithOutAnswer" spelled exactly so is left out of the releases.
        .name = "ReleaseFolderWithoutanswer",
        .distribution = {.releases = {{L"r010320"}, {L"withoutanswer"}}, .fonts = false},
        .prepare = Nothing,
        .lines = [] { return DeployLines(); },
        .message = [](const Folders&) { return std::wstring(L"'erswan' is not a valid integer value"); },
        .reachesTheReleases = true,
        .alsoExpect =
            [](const Folders& folders) {
              EXPECT_FALSE(Ran(folders, L"r010320"));
              EXPECT_FALSE(Ran(folders, L"withoutanswer"));
              EXPECT_TRUE(Exists(folders.target + L"backup\\withoutanswer\\Install.cmd"));
            },
    },
    {
        .name = "NoRelease",
        .distribution = {.releases = {}, .fonts = false},  // only WithOutAnswer, which never counts
        .prepare = Nothing,
        .lines = [] { return DeployLines(); },
        .message = [](const Folders&) { return std::wstring(L"List index out of bounds (0)"); },
        .reachesTheReleases = true,
        .alsoExpect = [](const Folders& folders) { EXPECT_FALSE(Ran(folders, L"WithOutAnswer")); },
    },
    {
        .name = "ReleaseInfoOfAnotherVersion",
        .distribution = {.fonts = false, .releaseInfo = "<ROOT><Version>2</Version><Level>0</Level></ROOT>"},
        .prepare = Nothing,
        .lines = [] { return DeployLines(); },
        .message =
            [](const Folders&) {
              return std::wstring(L"Cannot get release information, error: unknown release file version");
            },
        .reachesTheReleases = true,
        .alsoExpect =
            [](const Folders& folders) {
              EXPECT_TRUE(Ran(folders, L"r010320"));  // the script runs before the level is written
              EXPECT_EQ(ReadBytes(folders.target + L"ReleaseInfo"),
                        "<ROOT><Version>2</Version><Level>0</Level></ROOT>");
            },
    },
};

// Parameters print as their names in the test's messages.
void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

// The desktop locked and its shortcut removed (and put back after) for the
// cases that get as far as the shortcut's step.
class OptionalDesktopGuard {
 public:
  explicit OptionalDesktopGuard(bool needed) {
    if (!needed) return;
    lock_.emplace();
    restore_.emplace(Shortcut());
    ::DeleteFileW(Shortcut().c_str());
  }
  static std::wstring Shortcut() { return DesktopFolder() + L"\\Севрон - Rezezi.lnk"; }

 private:
  std::optional<SystemStateLock> lock_;
  std::optional<FileRestorer> restore_;
};

}  // namespace

class FailureScenario : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureScenario, StopsWithAnErrorBoxAndTheProgramCanBeLeft) {
  const FailureCase& c = GetParam();
  OptionalDesktopGuard desktop(c.reachesTheReleases);
  Distribution distribution(c.distribution);
  TempFolder parent(L"сбой");
  const Folders folders{distribution.source(), parent / L"Dazide\\"};
  MakeFolders(folders.target + L"Settings");
  std::shared_ptr<void> prepared = c.prepare(folders);

  Session session(distribution.installer());
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.WalkToComponentsPage(folders.target));
  ASSERT_TRUE(session.SetDriverOption(false));
  const uidriver::Box box = session.Install();
  ASSERT_TRUE(box.window) << "the run ended without an error box";

  EXPECT_EQ(box.title, kApplicationTitle);
  EXPECT_EQ(box.texts, std::vector<std::wstring>{AsErrorDisplayShows(c.message(folders))});
  ASSERT_EQ(box.buttons.size(), 1u);  // OK, in the language of Windows
  EXPECT_EQ(ProgressLines(session.main()), c.lines());
  ASSERT_TRUE(session.Answer(box, uidriver::WithoutAccessKey(box.buttons.front())));

  // The progress page stays, with "Выход" disabled and no way back or to
  // Cancel; the close box still works.
  EXPECT_FALSE(session.ExitEnabled());
  for (const wchar_t* gone : {L"Отмена", L"Назад", L"Начать установку", L"Далее"})
    EXPECT_FALSE(uidriver::FindVisibleChild(session.main(), gone)) << Utf8(gone);
  EXPECT_FALSE(installer::PageStartsWith(session.main(), kFontSizePage));
  EXPECT_EQ(ProgressLines(session.main()), c.lines());
  prepared.reset();  // the run is over: the other program lets go of its file
  c.alsoExpect(folders);
  if (c.reachesTheReleases) {
    EXPECT_FALSE(Exists(OptionalDesktopGuard::Shortcut()));
  }
  session.CloseBox();
  EXPECT_TRUE(session.EndedNormally());
}

INSTANTIATE_TEST_SUITE_P(Cases, FailureScenario, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
