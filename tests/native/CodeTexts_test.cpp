#include "common/CodeTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/SH_Common_Const.h"
#include "tests/native/MapProfile.h"

using testsupport::MapProfile;

namespace {

// The tables are process-wide: every test leaves them Russian again.
class CodeTexts : public testing::Test {
 protected:
  void TearDown() override { LoadCodeTextsFrom(ini::NoProfile()); }
};

template <std::size_t N>
void ExpectRussian(const std::array<CodeTextRow, N>& rows, const std::array<std::wstring, N>& table) {
  for (std::size_t i = 0; i < N; ++i) EXPECT_EQ(table[i], rows[i].russian) << i;
}

}  // namespace

TEST_F(CodeTexts, TablesHoldTheSuitesRussianTexts) {
  LoadCodeTextsFrom(ini::NoProfile());
  EXPECT_EQ(BodyTypeNames[0], L"Нормостеник");
  EXPECT_EQ(BodyTypeNames[2], L"Астеник");
  EXPECT_EQ(DiagnosisNames[0], L"Гипертония");
  EXPECT_EQ(DiagnosisNames[13], L"Аортальный порок или митр. недостат");
  EXPECT_EQ(DiagnosisNames[19], L"Стеноз лег. арт, тетр. и триада Фало");
  EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
  EXPECT_EQ(MedicationNames[5], L"Антогонисты \u0043\u0061");  // Latin C and a
  EXPECT_EQ(MedicationNames[8], L"диуретики");
  EXPECT_EQ(ConclusionNames[3], L"WPW");
  EXPECT_EQ(ConclusionNames[4], L"Не определен");
  EXPECT_EQ(SboText, L"СБОЙ");
  EXPECT_EQ(MetText, L"МЕТКА");
  EXPECT_EQ(NnnText, L"н");
  EXPECT_EQ(SssText, L"с");
  ExpectRussian(BodyTypeRows, BodyTypeNames);
  ExpectRussian(DiagnosisRows, DiagnosisNames);
  ExpectRussian(MedicationRows, MedicationNames);
  ExpectRussian(ConclusionRows, ConclusionNames);
  EXPECT_STREQ(SettingsFolder, L"Settings\\");
}

TEST_F(CodeTexts, LanguageFileChangesExactlyTheEntriesItHolds) {
  LoadCodeTextsFrom(MapProfile({
      {{L"SH_Messages", L"Normo"}, L"Normosthenic"},
      {{L"SH_Messages", L"DMPP"}, L"Atrial septal defect"},
      {{L"SH_Messages", L"nOp"}, L"Not determined"},
      {{L"SH_Messages", L"Gip"}, L""},  // present but empty
      {{L"SH_Common_Proc", L"Sbo"}, L"FAULT"},
      {{L"SH_Messages", L"Met"}, L"wrong section"},  // the marker texts live in SH_Common_Proc
  }));
  EXPECT_EQ(BodyTypeNames[0], L"Normosthenic");
  EXPECT_EQ(BodyTypeNames[1], L"Гиперстеник");
  EXPECT_EQ(DiagnosisNames[15], L"Atrial septal defect");
  EXPECT_EQ(DiagnosisNames[14], L"Дефект межжелудочковой перегородки");
  EXPECT_EQ(DiagnosisNames[0], L"");
  EXPECT_EQ(ConclusionNames[4], L"Not determined");
  EXPECT_EQ(SboText, L"FAULT");
  EXPECT_EQ(MetText, L"МЕТКА");
  ExpectRussian(MedicationRows, MedicationNames);

  LoadCodeTextsFrom(ini::NoProfile());  // Russian again
  EXPECT_EQ(BodyTypeNames[0], L"Нормостеник");
  EXPECT_EQ(DiagnosisNames[0], L"Гипертония");
  EXPECT_EQ(SboText, L"СБОЙ");
}

TEST_F(CodeTexts, EntriesWithoutAKeyAreTheSameInEveryLanguage) {
  MapProfile file;
  LoadCodeTextsFrom(file);
  std::vector<std::wstring> keys;
  for (const auto& lookup : file.lookups()) keys.push_back(lookup.key);
  // Every keyed entry is looked up once, in table order, with its Russian text as default.
  ASSERT_EQ(keys.size(), 3u + 21u + 9u + 4u + 4u);
  EXPECT_EQ(file.lookups().front(), (MapProfile::Lookup{L"SH_Messages", L"Normo", L"Нормостеник"}));
  EXPECT_EQ(file.lookups()[3 + 20], (MapProfile::Lookup{L"SH_Messages", L"IVR", L"Искусственный водитель ритма"}));
  EXPECT_EQ(file.lookups()[3 + 21 + 9 + 3], (MapProfile::Lookup{L"SH_Messages", L"nOp", L"Не определен"}));
  EXPECT_EQ(file.lookups().back(), (MapProfile::Lookup{L"SH_Common_Proc", L"sss", L"с"}));
  EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
  EXPECT_EQ(ConclusionNames[3], L"WPW");
}
