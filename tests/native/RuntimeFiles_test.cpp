#include "install/RuntimeFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Names(std::span<const wchar_t* const> list) { return {list.begin(), list.end()}; }

}  // namespace

TEST(RuntimeFiles, WindowsSevenVariantHasTwelveFilesInOrder) {
  const std::vector<std::wstring> expected = {L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll",
                                              L"icudt30.Dll",  L"icuin30.Dll",   L"icuuc30.Dll",  L"msvcp80.Dll",
                                              L"msvcr80.Dll",  L"firebird.msg",  L"gbak.exe",     L"gds32.dll"};
  EXPECT_EQ(Names(runtime::RuntimeFiles(0)), expected);
}

TEST(RuntimeFiles, WindowsXpVariantHasTenWithTheOlderRuntimePair) {
  const std::vector<std::wstring> expected = {L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll",
                                              L"icudt30.Dll",  L"icuin30.Dll",   L"icuuc30.Dll",  L"msvcp71.Dll",
                                              L"msvcr71.Dll",  L"firebird.msg"};
  EXPECT_EQ(Names(runtime::RuntimeFiles(1)), expected);
}

TEST(RuntimeFiles, AnyOtherIndexIsTheDefaultVariant) {
  EXPECT_EQ(Names(runtime::RuntimeFiles(-1)), Names(runtime::RuntimeFiles(0)));
  EXPECT_EQ(Names(runtime::RuntimeFiles(2)), Names(runtime::RuntimeFiles(0)));
}

TEST(RuntimeFiles, EngineFoldersAndLibraries) {
  EXPECT_EQ(Names(runtime::kIntlFiles), (std::vector<std::wstring>{L"fbintl.conf", L"fbintl.dll"}));
  EXPECT_EQ(Names(runtime::kUdfFiles),
            (std::vector<std::wstring>{L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql", L"ib_udf2.sql"}));
  EXPECT_EQ(Names(runtime::kLibraries),
            (std::vector<std::wstring>{L"Ulmara.Dll", L"Tendis.Dll", L"Vorkal.Dll", L"Feblin.Dll"}));
}

TEST(RuntimeFiles, KeptDatabaseNameCarriesDateAndTime) {
  const struct {
    runtime::LocalTime time;
    int attempt;
    const wchar_t* expected;
  } cases[] = {
      {{2026, 12, 11, 8, 45, 12}, 1, L"S12.FDB.2026-12-11_08-45-12.bak"},
      {{2027, 1, 2, 23, 5, 9}, 1, L"S12.FDB.2027-01-02_23-05-09.bak"},
      {{2026, 12, 11, 8, 45, 12}, 2, L"S12.FDB.2026-12-11_08-45-12 (2).bak"},
      {{2026, 12, 11, 8, 45, 12}, 10, L"S12.FDB.2026-12-11_08-45-12 (10).bak"},
  };
  for (const auto& c : cases) EXPECT_EQ(runtime::KeptFileName(L"S12.FDB", c.time, c.attempt), c.expected);
}
