#include <gtest/gtest.h>

#include <string>

#include "common/CodeTexts.h"
#include "common/SH_Common_Const.h"
#include "common/SH_Common_Var.h"
#include "tests/win/TestSupport.h"

using namespace testsupport;

namespace {

// LoadCodeTexts reads the file named by LanguageFile; the tables and the
// language go back to Russian afterwards.
class LoadCodeTextsTest : public testing::Test {
 protected:
  void TearDown() override {
    LanguageFile.clear();
    LoadCodeTexts();
  }
  TempFolder folder_;
};

}  // namespace

TEST_F(LoadCodeTextsTest, RussianConsultsNoFile) {
  LanguageFile.clear();
  ::SetCurrentDirectoryW(folder_.path().c_str());
  WriteBytes(folder_ / L"EngView.lng", "[SH_Messages]\r\nNormo=Normosthenic\r\n");  // must not be found
  LoadCodeTexts();
  ::SetCurrentDirectoryW(TestProgramFolder().c_str());
  for (size_t i = 0; i < kDiagnosisCount; ++i) EXPECT_EQ(DiagnosisNames[i], DiagnosisRows[i].russian);
  EXPECT_EQ(BodyTypeNames[0], L"Нормостеник");
  EXPECT_EQ(SboText, L"СБОЙ");
}

TEST_F(LoadCodeTextsTest, LanguageFileChangesExactlyItsKeys) {
  LanguageFile = folder_ / L"EngView.lng";
  WriteBytes(LanguageFile,
             "[SH_Messages]\r\n"
             "Normo=Normosthenic\r\n"
             "ACA=Calcium antagonists\r\n"
             "BPN=\r\n"
             "WPW=not a key of the tables\r\n"
             "[SH_Common_Proc]\r\n"
             "Sbo=FAULT\r\n"
             "sss=s\r\n");
  LoadCodeTexts();
  EXPECT_EQ(BodyTypeNames[0], L"Normosthenic");
  EXPECT_EQ(BodyTypeNames[1], L"Гиперстеник");
  EXPECT_EQ(MedicationNames[5], L"Calcium antagonists");
  EXPECT_EQ(MedicationNames[4], L"нитропрепараты");
  EXPECT_EQ(ConclusionNames[2], L"");
  EXPECT_EQ(ConclusionNames[3], L"WPW");
  EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
  EXPECT_EQ(SboText, L"FAULT");
  EXPECT_EQ(MetText, L"МЕТКА");
  EXPECT_EQ(SssText, L"s");

  LanguageFile = folder_ / L"missing.lng";  // a missing file gives the Russian texts again
  LoadCodeTexts();
  EXPECT_EQ(BodyTypeNames[0], L"Нормостеник");
  EXPECT_EQ(ConclusionNames[2], L"БПН");
  EXPECT_EQ(SboText, L"СБОЙ");
}

TEST_F(LoadCodeTextsTest, UnicodeLanguageFile) {
  LanguageFile = folder_ / L"EngView.lng";
  const std::wstring content = L"\uFEFF[SH_Messages]\r\nNmk=Нарушение ✓\r\n";  // keys ignore letter case
  WriteBytes(LanguageFile, std::string(reinterpret_cast<const char*>(content.data()), content.size() * 2));
  LoadCodeTexts();
  EXPECT_EQ(DiagnosisNames[2], L"Нарушение ✓");
}
