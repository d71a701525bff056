#include "install/CreateNSI.h"

#include "common/Handles.h"
#include "common/TextUtil.h"
#include "common/WinText.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>

using namespace testsupport;

namespace {

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(nothing raised)";
}

std::string FileMessage(const char* what, const std::wstring& path, DWORD error) {
  return std::string(what) + " \"" + Utf8(path) + "\". " + Utf8(win::SystemErrorText(error));
}

std::set<std::wstring> NamesIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.insert(name);
  } while (::FindNextFileW(find.get(), &data));
  return names;
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

uint64_t LastWriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
}

void SetLastWriteTime(const std::wstring& path, uint64_t time) {
  win::UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
  ASSERT_TRUE(file && ::SetFileTime(file.get(), nullptr, nullptr, &written)) << Utf8(path);
}

uint64_t FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms) {
  const SYSTEMTIME system{year, month, 0, day, hour, minute, second, ms};
  FILETIME time;
  ::SystemTimeToFileTime(&system, &time);
  return uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
}

// FILETIME counts 100 ns steps from a whole minute, and local time differs from
// UTC by whole minutes, so rounding down in either gives the same instant.
uint64_t RoundedDownToEvenSecond(uint64_t time) { return time - time % 20'000'000; }

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

constexpr size_t MiB = 1024 * 1024;

}  // namespace

// ---------------------------------------------------------------------------

TEST(EnsureFolder, CreatesOneLevelOnly) {
  TempFolder temp;
  EnsureFolder(temp / L"Новая папка\\");
  EXPECT_TRUE(IsFolder(temp / L"Новая папка"));

  EnsureFolder(temp / L"нет\\и этой");
  EXPECT_FALSE(Exists(temp / L"нет"));

  WriteBytes(temp / L"Новая папка\\файл", "x");
  EnsureFolder(temp / L"Новая папка");
  EXPECT_EQ(ReadBytes(temp / L"Новая папка\\файл"), "x");
}

TEST(ListReleaseFolders, AppendsVisibleFoldersButWithOutAnswer) {
  TempFolder temp;
  const std::wstring backup = temp / L"backup\\";
  for (const wchar_t* name : {L"r010320", L"WithOutAnswer", L"r020320 скрытая", L"r030320 system"})
    MakeFolders(backup + name);
  ::SetFileAttributesW((backup + L"r020320 скрытая").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((backup + L"r030320 system").c_str(), FILE_ATTRIBUTE_SYSTEM);
  WriteBytes(backup + L"r999999.txt", "");

  std::vector<std::wstring> list{L"already there"};
  ListReleaseFolders(backup, list);
  EXPECT_EQ(list, (std::vector<std::wstring>{L"already there", backup + L"r010320"}));

  // Only the exact name is left out (the file system itself ignores case, so
  // the other spelling needs a folder of its own).
  const std::wstring other = temp / L"other\\";
  MakeFolders(other + L"withoutanswer");
  ListReleaseFolders(other, list);
  EXPECT_EQ(list, (std::vector<std::wstring>{L"already there", backup + L"r010320", other + L"withoutanswer"}));

  ListReleaseFolders(temp / L"нет такой\\", list);
  EXPECT_EQ(list.size(), 3u);
}

TEST(ListReleaseFolders, EdgeCaseFromTheSequence) {
  TempFolder temp;
  const std::wstring backup = temp / L"backup\\";
  MakeFolders(backup + L"r010320");
  MakeFolders(backup + L"WithOutAnswer");
  MakeFolders(backup + L"hidden");
  ::SetFileAttributesW((backup + L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(backup + L"r999999.txt", "1");
  std::vector<std::wstring> list;
  ListReleaseFolders(backup, list);
  EXPECT_EQ(list, std::vector<std::wstring>{backup + L"r010320"});
}

// ---------------------------------------------------------------------------

TEST(CopyOneFile, CopiesBytesAndTheTimeRoundedDownToAnEvenSecond) {
  struct Case {
    const char* name;
    size_t size;
    std::string oldTarget;  // empty: no target beforehand
    uint64_t sourceTime;
  };
  const uint64_t odd = FileTimeOf(2021, 3, 1, 10, 15, 37, 123) + 4567;
  const uint64_t even = FileTimeOf(2019, 12, 31, 23, 59, 58, 0);
  const Case cases[] = {
      {"empty source", 0, "", odd},
      {"small, no target", 5, "", odd},
      {"exactly one block", MiB, "", even},
      {"blocks and a rest over a longer target", 2 * MiB + 3, RandomBytes(3 * MiB + 5, 2), odd},
      {"short over a longer target", 10, std::string(100, 'o'), even},
      {"over an empty target", 3, "-", odd},
  };
  TempFolder temp;
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring folder = temp / (L"случай " + std::to_wstring(index++));
    MakeFolders(folder);
    const std::wstring source = folder + L"\\исходный файл.dat";
    const std::wstring target = folder + L"\\копия файла.dat";
    const std::string bytes = RandomBytes(c.size, 1);
    WriteBytes(source, bytes);
    SetLastWriteTime(source, c.sourceTime);
    if (!c.oldTarget.empty()) WriteBytes(target, c.oldTarget == "-" ? "" : c.oldTarget);

    EXPECT_TRUE(CopyOneFile(source, target));
    EXPECT_TRUE(ReadBytes(target) == bytes);
    EXPECT_EQ(LastWriteTime(target), RoundedDownToEvenSecond(c.sourceTime));
    EXPECT_EQ(ReadBytes(source), bytes);
    EXPECT_EQ(NamesIn(folder), (std::set<std::wstring>{L"исходный файл.dat", L"копия файла.dat"}));
  }
}

TEST(CopyOneFile, ATimeOutsideTheDosRangeIsNotCarriedButTheCopySucceeds) {
  TempFolder temp;
  const std::wstring source = temp / L"1975.dat";
  WriteBytes(source, "old");
  const uint64_t time = FileTimeOf(1975, 6, 1, 12, 0, 1, 0);
  SetLastWriteTime(source, time);
  EXPECT_TRUE(CopyOneFile(source, temp / L"copy.dat"));
  EXPECT_EQ(ReadBytes(temp / L"copy.dat"), "old");
  EXPECT_GT(LastWriteTime(temp / L"copy.dat"), FileTimeOf(2000, 1, 1, 0, 0, 0, 0));
}

TEST(CopyOneFile, RaisesWhenTheSourceCannotBeOpenedAndCreatesNoTarget) {
  TempFolder temp;
  const std::wstring source = temp / L"нет файла.dat";
  const std::wstring target = temp / L"копия.dat";
  EXPECT_EQ(MessageOf([&] { CopyOneFile(source, target); }),
            FileMessage("Cannot open file", source, ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(Exists(target));
  EXPECT_TRUE(NamesIn(temp.path()).empty());
}

TEST(CopyOneFile, RaisesBeforeCopyingWhenTheTargetCannotBeCreatedOrReplaced) {
  TempFolder temp;
  const std::wstring source = temp / L"источник.dat";
  WriteBytes(source, "new bytes");
  const std::wstring readOnly = temp / L"только чтение.dat";
  WriteBytes(readOnly, "old");
  ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  MakeFolders(temp / L"папка.dat");

  struct Case {
    const char* name;
    std::wstring target;
    DWORD error;
  };
  const Case cases[] = {
      {"folder missing", temp / L"нет папки\\копия.dat", ERROR_PATH_NOT_FOUND},
      {"read-only target", readOnly, ERROR_ACCESS_DENIED},
      {"a folder in the way", temp / L"папка.dat", ERROR_ACCESS_DENIED},
      {"the source itself, open for reading", source, ERROR_SHARING_VIOLATION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MessageOf([&] { CopyOneFile(source, c.target); }), FileMessage("Cannot create file", c.target, c.error));
  }
  EXPECT_EQ(ReadBytes(readOnly), "old");
  EXPECT_EQ(ReadBytes(source), "new bytes");
  EXPECT_TRUE(IsFolder(temp / L"папка.dat"));
  EXPECT_EQ(NamesIn(temp.path()), (std::set<std::wstring>{L"источник.dat", L"только чтение.dat", L"папка.dat"}));
}

namespace {

// Stands in for ReadFile: the third block fails as a scratched disc would
// (data error), after noting what the target folder held at that moment.
struct FailingRead {
  static inline int calls = 0;
  static inline std::wstring folder;
  static inline std::set<std::wstring> namesAtFailure;
  static BOOL WINAPI Read(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
    if (++calls < 3) return ::ReadFile(file, buffer, size, read, overlapped);
    namesAtFailure = NamesIn(folder);
    ::SetLastError(ERROR_CRC);
    return FALSE;
  }
};

}  // namespace

// A copy that breaks off half-way returns false and leaves the target exactly as
// it was before, or absent; the partial copy lived only in a temporary file.
TEST(CopyOneFile, AFailureHalfWayLeavesThePreviousTargetOrNone) {
  TempFolder temp;
  const std::wstring source = temp / L"источник.dat";
  WriteBytes(source, RandomBytes(3 * MiB + 1, 3));
  const std::wstring existing = temp / L"прежняя копия.dat";
  const std::string previous = RandomBytes(5 * MiB, 4);
  WriteBytes(existing, previous);
  const uint64_t previousTime = FileTimeOf(2020, 2, 2, 2, 2, 2, 0);
  SetLastWriteTime(existing, previousTime);

  FailingRead::folder = temp.path();
  const CopyReadFn original = SetCopyReadForTesting(FailingRead::Read);
  const win::ScopeExit restore([&] { SetCopyReadForTesting(original); });
  for (const std::wstring& target : {existing, temp / L"новая копия.dat"}) {
    SCOPED_TRACE(Utf8(target));
    FailingRead::calls = 0;
    EXPECT_FALSE(CopyOneFile(source, target));
    EXPECT_EQ(FailingRead::calls, 3);
    EXPECT_EQ(FailingRead::namesAtFailure.size(), 3u);  // source, previous copy and the partial one
  }
  EXPECT_TRUE(ReadBytes(existing) == previous);
  EXPECT_EQ(LastWriteTime(existing), previousTime);
  EXPECT_EQ(NamesIn(temp.path()), (std::set<std::wstring>{L"источник.dat", L"прежняя копия.dat"}));
}

// ---------------------------------------------------------------------------

namespace {

// A tree with every kind of entry CopyFolderTree tells apart.
void MakeDistributionTree(const std::wstring& root) {
  MakeFolders(root + L"\\под папка\\глубже");
  MakeFolders(root + L"\\скрытая папка");
  MakeFolders(root + L"\\системная папка");
  WriteBytes(root + L"\\Updater.exe.cfg", "cfg");
  WriteBytes(root + L"\\скрытый.txt", "hidden");
  WriteBytes(root + L"\\только чтение.txt", "read-only");
  WriteBytes(root + L"\\системный.txt", "system");
  WriteBytes(root + L"\\под папка\\файл.txt", "sub");
  WriteBytes(root + L"\\под папка\\глубже\\файл.txt", "deeper");
  WriteBytes(root + L"\\скрытая папка\\файл.txt", "in hidden");
  WriteBytes(root + L"\\системная папка\\файл.txt", "in system");
  ::SetFileAttributesW((root + L"\\скрытый.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((root + L"\\только чтение.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ::SetFileAttributesW((root + L"\\системный.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
  ::SetFileAttributesW((root + L"\\скрытая папка").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((root + L"\\системная папка").c_str(), FILE_ATTRIBUTE_SYSTEM);
}

void ExpectDistributionCopy(const std::wstring& target) {
  EXPECT_EQ(NamesIn(target), (std::set<std::wstring>{L"Updater.exe.cfg", L"скрытый.txt", L"только чтение.txt",
                                                     L"системный.txt", L"под папка"}));
  EXPECT_EQ(ReadBytes(target + L"\\скрытый.txt"), "hidden");
  EXPECT_EQ(ReadBytes(target + L"\\только чтение.txt"), "read-only");
  EXPECT_EQ(ReadBytes(target + L"\\системный.txt"), "system");
  EXPECT_TRUE(Attributes(target + L"\\скрытый.txt") & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(Attributes(target + L"\\только чтение.txt") & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ReadBytes(target + L"\\под папка\\файл.txt"), "sub");
  EXPECT_EQ(ReadBytes(target + L"\\под папка\\глубже\\файл.txt"), "deeper");
}

}  // namespace

TEST(CopyFolderTree, CopiesHiddenFilesButNotHiddenOrSystemFolders) {
  TempFolder temp;
  const std::wstring source = temp / L"Updater";
  MakeDistributionTree(source);
  struct Case {
    const char* name;
    std::wstring target;  // as passed
    std::wstring folder;  // where the files land
  };
  const Case cases[] = {
      {"missing parents", temp / L"a\\b c\\д", temp / L"a\\b c\\д"},
      {"target with a trailing backslash", temp / L"Dazide\\", temp / L"Dazide"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CopyFolderTree(source, c.target);
    ExpectDistributionCopy(c.folder);
  }
}

TEST(CopyFolderTree, ReplacesFilesAndPassesOverOnesItCannotCopy) {
  TempFolder temp;
  const std::wstring source = temp / L"backup";
  MakeFolders(source + L"\\r010320");
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) WriteBytes(source + L"\\" + name, "new");
  WriteBytes(source + L"\\r010320\\Install.cmd", "new cmd");
  const std::wstring target = temp / L"T\\backup";
  MakeFolders(target + L"\\r010320");
  WriteBytes(target + L"\\a.txt", "old a, longer");
  MakeFolders(target + L"\\b.txt");  // a folder in the way: the system's copy fails

  CopyFolderTree(source, target);
  EXPECT_EQ(ReadBytes(target + L"\\a.txt"), "new");
  EXPECT_TRUE(IsFolder(target + L"\\b.txt"));
  EXPECT_EQ(ReadBytes(target + L"\\c.txt"), "new");
  EXPECT_EQ(ReadBytes(target + L"\\r010320\\Install.cmd"), "new cmd");
}

TEST(CopyFolderTree, AMissingSourceYieldsAnEmptyTarget) {
  TempFolder temp;
  CopyFolderTree(temp / L"нет", temp / L"цель\\вложенная");
  EXPECT_TRUE(IsFolder(temp / L"цель\\вложенная"));
  EXPECT_TRUE(NamesIn(temp / L"цель\\вложенная").empty());
}

// ---------------------------------------------------------------------------

TEST(SetReadOnly, ChangesOnlyTheReadOnlyAttribute) {
  struct Case {
    DWORD before;
    bool flag;
    DWORD after;
  };
  const Case cases[] = {
      {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, false, FILE_ATTRIBUTE_HIDDEN},
      {FILE_ATTRIBUTE_READONLY, false, FILE_ATTRIBUTE_NORMAL},
      {FILE_ATTRIBUTE_ARCHIVE, true, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
      {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true,
       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY},
      {FILE_ATTRIBUTE_READONLY, true, FILE_ATTRIBUTE_READONLY},
  };
  TempFolder temp;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    const std::wstring file = temp / L"Release Info";
    WriteBytes(file, "x");
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), c.before));
    SetReadOnly(file, c.flag);
    // Wine reports the archive attribute for every file and never "normal".
    const DWORD ignored = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL;
    EXPECT_EQ(Attributes(file) & ~ignored, c.after & ~ignored);
    if (!c.flag) {
      win::UniqueFile writable(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      EXPECT_TRUE(writable);
    }
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(file.c_str());
  }
}

TEST(SetReadOnly, AMissingFileStaysMissing) {
  TempFolder temp;
  SetReadOnly(temp / L"нет", true);
  SetReadOnly(temp / L"нет", false);
  EXPECT_FALSE(Exists(temp / L"нет"));
}

// ---------------------------------------------------------------------------

namespace {

// A copy of the recorder: it logs how it was started and exits with the code
// in "<its path>.exitcode".
struct Recorder {
  std::wstring path;
  Recorder(const std::wstring& where, DWORD exitCode) : path(where) {
    MakeFolders(text::FolderOf(where));
    EXPECT_TRUE(::CopyFileW(ToolPath(L"recorder.exe").c_str(), where.c_str(), FALSE)) << Utf8(where);
    WriteBytes(where + L".exitcode", std::to_string(exitCode));
  }
  bool Ran() const { return Exists(path + L".log"); }
  // The logged values of its first start: cmdline, show, folder.
  std::map<std::string, std::string> Log() const {
    std::map<std::string, std::string> values;
    const std::string log = Exists(path + L".log") ? ReadBytes(path + L".log") : "";
    size_t begin = 0;
    for (size_t end; (end = log.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
      const std::string line = log.substr(begin, end - begin);
      const size_t equals = line.find('=');
      if (equals != std::string::npos && !values.count(line.substr(0, equals)))
        values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
  }
};

std::wstring CurrentFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
  return std::wstring(buffer, length);
}

// Removes a folder that a started program had as its current folder. Under
// Wine the console host of a CREATE_NEW_CONSOLE child can outlive the child for
// a moment and keeps the folder in use; cleaning up waits for it (no assertion
// depends on this).
class RemovedWhenFree {
 public:
  explicit RemovedWhenFree(const TempFolder& folder) : path_(folder.path()) {}
  ~RemovedWhenFree() {
    for (int attempt = 0; attempt < 200 && Exists(path_); ++attempt) {
      RemoveTree(path_);
      if (Exists(path_)) ::Sleep(25);
    }
  }

 private:
  std::wstring path_;
};

// Makes `folder` the current one for the scope.
class CurrentFolderScope {
 public:
  explicit CurrentFolderScope(const std::wstring& folder) : previous_(CurrentFolder()) {
    ::SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentFolderScope() { ::SetCurrentDirectoryW(previous_.c_str()); }

 private:
  std::wstring previous_;
};

}  // namespace

// "<T>\a b\prog.exe" started unquoted would run "<T>\a.exe"; the decoy is there.
TEST(RunAndWait, StartsTheProgramInItsFolderAndReturnsItsExitCode) {
  TempFolder temp;
  const RemovedWhenFree cleanUp(temp);
  const Recorder decoy(temp / L"релиз.exe", 99);
  const Recorder program(temp / L"релиз r010320\\Setup Program.exe", 7);
  struct Case {
    std::wstring params;
    int show;
  };
  for (const Case& c : {Case{L"", SW_HIDE}, Case{L"один \"два три\"", SW_SHOWMINNOACTIVE}}) {
    SCOPED_TRACE(Utf8(c.params));
    ::DeleteFileW((program.path + L".log").c_str());
    EXPECT_EQ(RunAndWait(program.path, c.params, c.show), 7u);
    const auto log = program.Log();
    EXPECT_EQ(log.at("cmdline"), "\"" + Utf8(program.path) + "\" " + Utf8(c.params));
    EXPECT_EQ(log.at("show"), std::to_string(c.show));
    EXPECT_EQ(log.at("folder"), Utf8(temp / L"релиз r010320"));
  }
  EXPECT_FALSE(decoy.Ran());
}

TEST(RunAndWait, RunsACommandScriptThroughTheCommandInterpreter) {
  TempFolder temp;
  const RemovedWhenFree cleanUp(temp);
  const Recorder decoy(temp / L"релиз.exe", 99);
  const std::wstring folder = temp / L"релиз r010320";
  const Recorder inner(folder + L"\\rec.exe", 0);
  const std::wstring script = folder + L"\\Install.cmd";
  WriteBytes(script, "@echo off\r\n\"%~dp0rec.exe\" %*\r\nexit /b 5\r\n");
  EXPECT_EQ(RunAndWait(script, L"один два", SW_HIDE), 5u);
  const auto log = inner.Log();
  EXPECT_EQ(log.at("cmdline"), "\"" + Utf8(folder) + "\\rec.exe\" один два");
  EXPECT_EQ(log.at("folder"), Utf8(folder));
  EXPECT_FALSE(decoy.Ran());
}

TEST(RunAndWait, AProgramInADriveRootRunsInTheRoot) {
  const std::wstring path = L"C:\\creatensi-test-" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
  const Recorder program(path, 3);
  const win::ScopeExit cleanUp([&] {
    for (const wchar_t* suffix : {L"", L".log", L".exitcode"}) ::DeleteFileW((path + suffix).c_str());
  });
  EXPECT_EQ(RunAndWait(path, L"", SW_HIDE), 3u);
  EXPECT_EQ(program.Log().at("folder"), "C:\\");
}

TEST(RunAndWait, RaisesWhenTheProcessCannotStart) {
  TempFolder temp;
  const RemovedWhenFree cleanUp(temp);
  const Recorder program(temp / L"prog.exe", 0);
  const std::wstring missing = temp / L"нет программы.exe";
  // The limit counts the path, the blank and the parameters.
  const size_t fill = kRunAndWaitCommandLimit - program.path.size() - 1;
  struct Case {
    const char* name;
    std::wstring path;
    std::wstring params;
    bool starts;
  };
  const Case cases[] = {
      {"missing program", missing, L"", false},
      {"a folder", temp.path(), L"", false},
      {"command line at the limit", program.path, std::wstring(fill, L'x'), true},
      {"command line over the limit", program.path, std::wstring(fill + 1, L'x'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::DeleteFileW((program.path + L".log").c_str());
    const std::string message = MessageOf([&] { RunAndWait(c.path, c.params, SW_HIDE); });
    EXPECT_EQ(message, c.starts ? "(nothing raised)" : "не смог создать процесс: " + Utf8(c.path));
    EXPECT_EQ(program.Ran(), c.starts);
  }
}

// ---------------------------------------------------------------------------

TEST(RunProgram, StartsAnExistingFileByItsQuotedPathInTheCurrentFolder) {
  TempFolder temp;
  const RemovedWhenFree cleanUp(temp);
  const Recorder decoy(temp / L"FTDI.exe", 99);
  const Recorder program(temp / L"FTDI Driver\\FTDIDriverInstall.exe", 12);
  MakeFolders(temp / L"текущая");
  const CurrentFolderScope current(temp / L"текущая");
  EXPECT_EQ(RunProgram(program.path, SW_HIDE, true), 12);
  const auto log = program.Log();
  EXPECT_EQ(log.at("cmdline"), "\"" + Utf8(program.path) + "\"");
  EXPECT_EQ(log.at("show"), "0");
  EXPECT_EQ(log.at("folder"), Utf8(temp / L"текущая"));
  EXPECT_FALSE(decoy.Ran());
}

TEST(RunProgram, UsesACommandLineThatNamesNoFileUnchanged) {
  TempFolder temp;
  const RemovedWhenFree cleanUp(temp);
  const Recorder program(temp / L"FTDI Driver\\FTDIDriverInstall.exe", 4);
  const std::wstring commandLine = L"\"" + program.path + L"\"  /quiet  \"a b\"";
  EXPECT_EQ(RunProgram(commandLine, SW_SHOWNORMAL, true), 4);
  EXPECT_EQ(program.Log().at("cmdline"), Utf8(commandLine));
  EXPECT_EQ(program.Log().at("show"), std::to_string(SW_SHOWNORMAL));
  EXPECT_EQ(RunProgram(L"cmd.exe /c exit 3", SW_HIDE, true), 3);
}

TEST(RunProgram, RunsAnExistingScript) {
  TempFolder temp;
  const RemovedWhenFree cleanUp(temp);
  const std::wstring script = temp / L"драйвер установка.cmd";
  WriteBytes(script, "@exit /b 6\r\n");
  EXPECT_EQ(RunProgram(script, SW_HIDE, true), 6);
}

TEST(RunProgram, ReturnsMinusOneWhenTheProgramCannotStart) {
  TempFolder temp;
  const RemovedWhenFree cleanUp(temp);
  const Recorder program(temp / L"p.exe", 0);
  const std::wstring quoted = L"\"" + program.path + L"\" ";
  struct Case {
    const char* name;
    std::wstring commandLine;
    bool wait;
    int result;
  };
  const Case cases[] = {
      {"missing program", temp / L"нет программы.exe", true, -1},
      {"missing program, no wait", temp / L"нет программы.exe", false, -1},
      {"not a program", temp / L"p.exe.exitcode", true, -1},
      {"command line at the limit", quoted + std::wstring(kRunProgramCommandLimit - quoted.size(), L'x'), true, 0},
      {"command line over the limit", quoted + std::wstring(kRunProgramCommandLimit + 1 - quoted.size(), L'x'), true,
       -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::DeleteFileW((program.path + L".log").c_str());
    EXPECT_EQ(RunProgram(c.commandLine, SW_HIDE, c.wait), c.result);
    EXPECT_EQ(program.Ran(), c.result == 0);
  }
}

TEST(RunProgram, ReturnsZeroOnceStartedWithoutWaiting) {
  EXPECT_EQ(RunProgram(L"cmd.exe /c exit 3", SW_HIDE, false), 0);
}

// Bare names and forward slashes: the temporary file still goes beside the target.
TEST(CopyOneFile, NamesRelativeToTheCurrentFolder) {
  TempFolder temp;
  MakeFolders(temp / L"под");
  WriteBytes(temp / L"источник.dat", "bytes");
  const CurrentFolderScope current(temp.path());
  EXPECT_TRUE(CopyOneFile(L"источник.dat", L"копия.dat"));
  EXPECT_TRUE(CopyOneFile(L"источник.dat", L"под/копия.dat"));
  EXPECT_EQ(ReadBytes(temp / L"копия.dat"), "bytes");
  EXPECT_EQ(NamesIn(temp / L"под"), std::set<std::wstring>{L"копия.dat"});
  EXPECT_EQ(NamesIn(temp.path()), (std::set<std::wstring>{L"источник.dat", L"копия.dat", L"под"}));
}
