#include "common/CommonStartup.h"

#include <gtest/gtest.h>

#include <string>

#include "common/CodeTexts.h"
#include "common/SH_Common_Const.h"
#include "common/SH_Common_Var.h"
#include "common/unitMyLog.h"
#include "tests/win/TestSupport.h"

using namespace testsupport;

namespace {

class CommonStartupTest : public testing::Test {
 protected:
  void TearDown() override {
    StopCommonUnits();
    InitSuiteSettings();
    LanguageFile.clear();
    LoadCodeTexts();
  }
  std::wstring Folder() const { return folder_.path() + L"\\"; }
  TempFolder folder_;
};

}  // namespace

TEST_F(CommonStartupTest, SettingsThenLogThenCodeTexts) {
  MakeFolders(folder_ / L"Settings");
  WriteBytes(folder_ / L"Settings\\vavova.ini", "[options]\r\nLanguageSetting=ENG\r\n");
  WriteBytes(folder_ / L"Settings\\EngView.lng", "[SH_Messages]\r\nNormo=Normosthenic\r\n");
  StartCommonUnitsFor(Folder());
  // The code texts came from the language file the settings chose, and the log
  // lives in the program folder the settings found.
  EXPECT_EQ(BodyTypeNames[0], L"Normosthenic");
  ASSERT_NE(MyLog, nullptr);
  EXPECT_EQ(MyLog->GetLogFileName(), Folder() + L"VozoRidede.log");
  StopCommonUnits();
  EXPECT_EQ(MyLog, nullptr);
  EXPECT_FALSE(Exists(folder_ / L"VozoRidede.log"));
}

TEST_F(CommonStartupTest, DamagedFilesNeverStopTheStart) {
  MakeFolders(folder_ / L"Settings");
  const std::string garbage = std::string("\xFF\xFE\x00", 3) + std::string(5000, '\x9F') + std::string(1, '\0');
  WriteBytes(folder_ / L"Settings\\vavova.ini", "\xEF\xBB\xBF[options]\r\nLanguageSetting=ENG\r\nHardwareType=\xC3");
  WriteBytes(folder_ / L"Settings\\EngView.lng", garbage);
  WriteBytes(folder_ / L"VozoRidede.log", garbage);
  ASSERT_NO_THROW(StartCommonUnitsFor(Folder()));
  EXPECT_EQ(LanguageCode, L"ENG");
  EXPECT_EQ(SuiteSettings.HardwareType, 1);
  EXPECT_EQ(BodyTypeNames[0], L"Нормостеник");
  ASSERT_NE(MyLog, nullptr);
  EXPECT_NO_THROW(MyLog->AddMessage(L"started"));
}

TEST_F(CommonStartupTest, StartForTheRunningProgramAndStopTwice) {
  StartCommonUnits();
  EXPECT_EQ(ProgramFolder, TestProgramFolder());
  ASSERT_NE(MyLog, nullptr);
  EXPECT_EQ(MyLog->GetLogFileName(), TestProgramFolder() + L"VozoRidede.log");
  StopCommonUnits();
  StopCommonUnits();
  EXPECT_EQ(MyLog, nullptr);
}
