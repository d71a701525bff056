#include "install/DatabaseRuntime.h"

#include "install/CreateNSI.h"
#include "install/RuntimeFiles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

using namespace testsupport;
using enginetest::FileId;
using enginetest::NamesIn;
using enginetest::RaisedMessage;
using enginetest::ScriptedView;

namespace {

const std::wstring kDone = L"Завершено";
const std::wstring kFailed = L"ОШИБКА!!!";
std::wstring CopyLine(const std::wstring& name) { return L"Копирование файла " + name + L"...."; }

// The read call of CopyOneFile, failing for the file whose name is set here:
// the copy breaks off as a scratched disc would make it.
std::wstring g_failingName;
BOOL WINAPI ReadFailingFor(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
  wchar_t path[MAX_PATH * 2];
  const DWORD length = ::GetFinalPathNameByHandleW(file, path, MAX_PATH * 2, FILE_NAME_NORMALIZED);
  const std::wstring name(path, length);
  if (!g_failingName.empty() && name.size() >= g_failingName.size() &&
      lstrcmpiW(name.substr(name.size() - g_failingName.size()).c_str(), g_failingName.c_str()) == 0) {
    ::SetLastError(ERROR_CRC);
    return FALSE;
  }
  return ::ReadFile(file, buffer, size, read, overlapped);
}

class FailingReadScope {
 public:
  explicit FailingReadScope(const std::wstring& name) {
    g_failingName = name;
    previous_ = SetCopyReadForTesting(ReadFailingFor);
  }
  ~FailingReadScope() {
    SetCopyReadForTesting(previous_);
    g_failingName.clear();
  }

 private:
  CopyReadFn previous_;
};

class RuntimeFixture : public ::testing::Test {
 protected:
  RuntimeFixture() {
    sample::Build(source_);
    MakeFolders(target_ + L"Settings");
  }
  bool Deploy(int variant = 0) { return DeployDatabaseRuntime(view_, source_, target_, variant); }

  // Every completed copy line of a run through to the end.
  static std::vector<std::wstring> CompleteLines(int variant, bool folderCreated) {
    std::vector<std::wstring> lines;
    if (folderCreated) lines.push_back(L"Каталог <DTAfb> создан...");
    lines.push_back(CopyLine(L"S12.FDB") + kDone);
    for (const wchar_t* name : runtime::RuntimeFiles(variant)) lines.push_back(CopyLine(name) + kDone);
    for (const wchar_t* name : runtime::kIntlFiles) lines.push_back(CopyLine(name) + kDone);
    for (const wchar_t* name : runtime::kUdfFiles) lines.push_back(CopyLine(name) + kDone);
    for (const wchar_t* name : runtime::kLibraries) lines.push_back(CopyLine(name) + kDone);
    return lines;
  }

  TempFolder sourceFolder_{L"дистрибутив"};
  TempFolder targetFolder_{L"цель"};
  const std::wstring source_ = sourceFolder_.path() + L"\\";
  const std::wstring target_ = targetFolder_.path() + L"\\";
  ScriptedView view_;
};

const std::wregex kKeptLine(
    LR"(Прежний файл базы данных сохранён: DTAfb\\S12\.FDB\.\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.bak)");

}  // namespace

TEST_F(RuntimeFixture, WindowsSevenVariantCopiesEverythingInOrder) {
  EXPECT_TRUE(Deploy(0));
  EXPECT_EQ(view_.lines, CompleteLines(0, true));
  EXPECT_EQ(view_.lines.size(), 1u + 1 + 12 + 2 + 5 + 4);
  EXPECT_EQ(ReadBytes(target_ + L"DTAfb\\S12.FDB"), ReadBytes(source_ + L"DTAfb\\S12.FDB"));
  for (const wchar_t* name : runtime::kWindows7Files)
    EXPECT_EQ(ReadBytes(target_ + name), sample::PlaceholderBytes(name)) << Utf8(name);
  for (const wchar_t* name : runtime::kIntlFiles) EXPECT_TRUE(Exists(target_ + L"intl\\" + name));
  for (const wchar_t* name : runtime::kUdfFiles) EXPECT_TRUE(Exists(target_ + L"udf\\" + name));
  for (const wchar_t* name : runtime::kLibraries)
    EXPECT_EQ(ReadBytes(target_ + L"udf\\" + name), sample::PlaceholderBytes(name));
  EXPECT_FALSE(Exists(target_ + L"msvcp71.Dll"));
}

TEST_F(RuntimeFixture, WindowsXpVariantHasTenRuntimeLines) {
  EXPECT_TRUE(Deploy(1));
  EXPECT_EQ(view_.lines, CompleteLines(1, true));
  EXPECT_EQ(view_.lines[2 + 7], CopyLine(L"msvcp71.Dll") + kDone);
  EXPECT_EQ(view_.lines[2 + 8], CopyLine(L"msvcr71.Dll") + kDone);
  EXPECT_FALSE(Exists(target_ + L"gbak.exe"));
  EXPECT_FALSE(Exists(target_ + L"gds32.dll"));
  EXPECT_FALSE(Exists(target_ + L"msvcp80.Dll"));
}

TEST_F(RuntimeFixture, MessagesRunAfterEveryNewCopyLine) {
  Deploy();
  for (size_t i = 0; i < view_.events.size(); ++i) {
    if (!view_.events[i].starts_with("line ")) continue;
    ASSERT_LT(i + 1, view_.events.size());
    EXPECT_EQ(view_.events[i + 1], "messages") << "after " << view_.events[i];
  }
}

TEST_F(RuntimeFixture, ACopyThatReturnsFalseStopsInTheEngineSteps) {
  const struct {
    const wchar_t* file;
    size_t linesBefore;  // completed lines before the failing one
  } cases[] = {
      {L"S12.FDB", 1},
      {L"firebird.conf", 3},
      {L"gds32.dll", 13},
      {L"fbintl.dll", 15},
      {L"ib_udf2.sql", 20},
  };
  for (const auto& c : cases) {
    TempFolder target{L"цель"};
    ScriptedView view;
    const std::wstring t = target.path() + L"\\";
    bool result = true;
    {
      FailingReadScope failing(std::wstring(L"\\") + c.file);
      result = DeployDatabaseRuntime(view, source_, t, 0);
    }
    EXPECT_FALSE(result) << Utf8(c.file);
    ASSERT_EQ(view.lines.size(), c.linesBefore + 1) << Utf8(c.file);
    EXPECT_EQ(view.lines.back(), CopyLine(c.file) + kFailed);
    const auto complete = CompleteLines(0, true);
    EXPECT_EQ(std::vector<std::wstring>(view.lines.begin(), view.lines.end() - 1),
              std::vector<std::wstring>(complete.begin(), complete.begin() + static_cast<long>(c.linesBefore)));
  }
}

TEST_F(RuntimeFixture, ALibraryThatFailsMidwayOnlyMarksItsLine) {
  {
    FailingReadScope failing(L"\\UDF\\Tendis.Dll");
    EXPECT_TRUE(Deploy());
  }
  auto expected = CompleteLines(0, true);
  expected[expected.size() - 3] = CopyLine(L"Tendis.Dll") + kFailed;
  EXPECT_EQ(view_.lines, expected);
  EXPECT_TRUE(Exists(target_ + L"udf\\Vorkal.Dll"));
  EXPECT_TRUE(Exists(target_ + L"udf\\Feblin.Dll"));
  EXPECT_FALSE(Exists(target_ + L"udf\\Tendis.Dll"));
}

TEST_F(RuntimeFixture, AMissingSourceFileRaisesAndItsLineKeepsNoEnding) {
  const struct {
    const wchar_t* relative;
    const wchar_t* name;
  } cases[] = {
      {L"DTAfb\\S12.FDB", L"S12.FDB"},
      {L"Firebird\\icuin30.Dll", L"icuin30.Dll"},
      {L"Firebird\\intl\\fbintl.conf", L"fbintl.conf"},
      {L"UDF\\Vorkal.Dll", L"Vorkal.Dll"},  // a library too: this stops
  };
  for (const auto& c : cases) {
    const std::wstring missing = source_ + c.relative;
    const std::string bytes = ReadBytes(missing);
    ::DeleteFileW(missing.c_str());
    TempFolder target{L"цель"};
    ScriptedView view;
    const std::wstring message = RaisedMessage([&] { DeployDatabaseRuntime(view, source_, target.path() + L"\\", 0); });
    EXPECT_TRUE(message.starts_with(L"Cannot open file \"" + missing + L"\". ")) << Utf8(message);
    ASSERT_FALSE(view.lines.empty());
    EXPECT_EQ(view.lines.back(), CopyLine(c.name));
    WriteBytes(missing, bytes);
  }
}

TEST_F(RuntimeFixture, ATargetThatCannotBeCreatedRaises) {
  // A file named intl: the folder is not made and the first intl copy cannot
  // create its target.
  WriteBytes(target_ + L"intl", "a file");
  const std::wstring message = RaisedMessage([&] { Deploy(); });
  EXPECT_TRUE(message.starts_with(L"Cannot create file \"" + target_ + L"intl\\fbintl.conf\". ")) << Utf8(message);
  EXPECT_EQ(view_.lines.back(), CopyLine(L"fbintl.conf"));
}

TEST_F(RuntimeFixture, ADatabaseFolderThatCannotBeCreatedShowsAnErrorBoxAndStops) {
  WriteBytes(target_ + L"DTAfb", "a file in the folder's place");
  EXPECT_FALSE(Deploy());
  EXPECT_EQ(view_.errors, std::vector<std::wstring>{L"Ошибка при создании каталога <DTAfb>!"});
  EXPECT_EQ(view_.lines, std::vector<std::wstring>{L"Ошибка при создании каталога <DTAfb>!"});
  // The box comes before the line.
  EXPECT_EQ(view_.events, (std::vector<std::string>{"error", "line 0"}));
}

TEST_F(RuntimeFixture, ReinstallationKeepsTheClinicsDatabaseBesideTheNewOne) {
  MakeFolders(target_ + L"DTAfb");
  const std::wstring database = target_ + L"DTAfb\\S12.FDB";
  WriteBytes(database, "the clinic's patients");
  const uint64_t identity = FileId(database);
  WriteBytes(target_ + L"aliases.conf", "old");

  EXPECT_TRUE(Deploy());

  // No "Каталог <DTAfb> создан...": the folder was there.
  ASSERT_GE(view_.lines.size(), 2u);
  EXPECT_EQ(view_.lines[0], CopyLine(L"S12.FDB") + kDone);
  EXPECT_TRUE(std::regex_match(view_.lines[1], kKeptLine)) << Utf8(view_.lines[1]);
  auto expected = CompleteLines(0, false);
  expected.insert(expected.begin() + 1, view_.lines[1]);
  EXPECT_EQ(view_.lines, expected);

  const std::wstring keptName = view_.lines[1].substr(view_.lines[1].find(L"DTAfb\\") + 6);
  const std::wstring kept = target_ + L"DTAfb\\" + keptName;
  EXPECT_EQ(ReadBytes(kept), "the clinic's patients");
  EXPECT_EQ(FileId(kept), identity);  // renamed, not copied
  EXPECT_EQ(ReadBytes(database), ReadBytes(source_ + L"DTAfb\\S12.FDB"));
  EXPECT_EQ(ReadBytes(target_ + L"aliases.conf"), sample::PlaceholderBytes(L"aliases.conf"));
  EXPECT_EQ(NamesIn(target_ + L"DTAfb").size(), 2u);
}

TEST_F(RuntimeFixture, EveryReinstallationKeepsItsOwnCopy) {
  MakeFolders(target_ + L"DTAfb");
  WriteBytes(target_ + L"DTAfb\\S12.FDB", "first");
  ASSERT_TRUE(Deploy());
  WriteBytes(target_ + L"DTAfb\\S12.FDB", "second");
  ScriptedView again;
  ASSERT_TRUE(DeployDatabaseRuntime(again, source_, target_, 0));
  // Within the same second the second kept name gets " (2)"; either way no
  // kept file was replaced.
  std::vector<std::string> kept;
  for (const std::wstring& name : NamesIn(target_ + L"DTAfb"))
    if (name != L"S12.FDB") kept.push_back(ReadBytes(target_ + L"DTAfb\\" + name));
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, (std::vector<std::string>{"first", "second"}));
}

TEST_F(RuntimeFixture, AFailedDatabaseCopyPutsTheKeptDatabaseBack) {
  MakeFolders(target_ + L"DTAfb");
  const std::wstring database = target_ + L"DTAfb\\S12.FDB";
  WriteBytes(database, "the clinic's patients");
  const uint64_t identity = FileId(database);
  {
    FailingReadScope failing(L"\\DTAfb\\S12.FDB");
    EXPECT_FALSE(Deploy());
  }
  EXPECT_EQ(view_.lines, std::vector<std::wstring>{CopyLine(L"S12.FDB") + kFailed});
  EXPECT_EQ(ReadBytes(database), "the clinic's patients");
  EXPECT_EQ(FileId(database), identity);
  EXPECT_EQ(NamesIn(target_ + L"DTAfb"), std::vector<std::wstring>{L"S12.FDB"});

  // A source that cannot be opened: raised, and the database is back as well.
  ::DeleteFileW((source_ + L"DTAfb\\S12.FDB").c_str());
  ScriptedView again;
  const std::wstring message = RaisedMessage([&] { DeployDatabaseRuntime(again, source_, target_, 0); });
  EXPECT_TRUE(message.starts_with(L"Cannot open file")) << Utf8(message);
  EXPECT_EQ(ReadBytes(database), "the clinic's patients");
  EXPECT_EQ(NamesIn(target_ + L"DTAfb"), std::vector<std::wstring>{L"S12.FDB"});
}

TEST_F(RuntimeFixture, ADatabaseInUseIsNeverOverwritten) {
  MakeFolders(target_ + L"DTAfb");
  const std::wstring database = target_ + L"DTAfb\\S12.FDB";
  WriteBytes(database, "the clinic's patients");
  // The database server holds the file open and lets nobody rename it.
  win::UniqueFile held(::CreateFileW(database.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  const std::wstring message = RaisedMessage([&] { Deploy(); });
  held.reset();
  EXPECT_TRUE(message.starts_with(L"Не удалось сохранить прежний файл базы данных \"" + database + L"\" под именем \""))
      << Utf8(message);
  EXPECT_EQ(view_.lines, std::vector<std::wstring>{CopyLine(L"S12.FDB")});
  EXPECT_EQ(ReadBytes(database), "the clinic's patients");
  EXPECT_EQ(NamesIn(target_ + L"DTAfb"), std::vector<std::wstring>{L"S12.FDB"});
}
