#include "install/DriverInstall.h"

#include "common/TextUtil.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;
using enginetest::CurrentFolderRestorer;
using enginetest::ScriptedView;

namespace {

const std::wstring kQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
const std::wstring kStarted = L"Началась установка драйверов устройства...";
const std::wstring kFinished = L"Установка драйверов устройства завершена";

// A distribution folder S with FTDIDriverInstall\ (the recorder as the driver
// installer, a driver file beside it and one in a sub-folder) and a target T.
// S is the current folder, as start-up makes the installer's folder current.
class DriverFixture : public ::testing::Test {
 protected:
  DriverFixture() {
    MakeFolders(source_ + L"FTDIDriverInstall\\amd64");
    ::CopyFileW(ToolPath(L"recorder.exe").c_str(), (source_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe").c_str(),
                FALSE);
    WriteBytes(source_ + L"FTDIDriverInstall\\ftdibus.inf", "inf");
    WriteBytes(source_ + L"FTDIDriverInstall\\amd64\\ftdibus.sys", "sys");
    ::SetCurrentDirectoryW(source_.c_str());
  }
  std::wstring InstalledProgram() const { return target_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe"; }
  std::string RunLog() const {
    const std::wstring log = InstalledProgram() + L".log";
    return Exists(log) ? ReadBytes(log) : std::string();
  }

  TempFolder sourceFolder_{L"дистрибутив"};
  TempFolder targetFolder_{L"цель"};
  CurrentFolderRestorer restoreFolder_;  // destroyed before the folders go
  const std::wstring source_ = sourceFolder_.path() + L"\\";
  const std::wstring target_ = targetFolder_.path() + L"\\";
  ScriptedView view_;
};

}  // namespace

TEST_F(DriverFixture, UncheckedOptionAsksNothingAndDoesNothing) {
  view_.driverChecked = false;
  InstallDriver(view_, source_, target_);
  EXPECT_TRUE(view_.questions.empty());
  EXPECT_TRUE(view_.lines.empty());
  EXPECT_FALSE(Exists(target_ + L"FTDIDriverInstall"));
}

TEST_F(DriverFixture, AnswerNoCopiesAndRunsNothing) {
  view_.driverChecked = true;
  view_.answers = {false};
  InstallDriver(view_, source_, target_);
  EXPECT_EQ(view_.questions, std::vector<std::wstring>{kQuestion});
  EXPECT_TRUE(view_.lines.empty());
  EXPECT_FALSE(Exists(target_ + L"FTDIDriverInstall"));
  EXPECT_FALSE(Exists(source_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe.log"));
}

TEST_F(DriverFixture, AnswerYesCopiesTheFolderAndRunsTheCopyHiddenAndWaits) {
  view_.driverChecked = true;
  view_.answers = {true};
  bool lineVisibleBeforeTheRun = false;
  view_.onRepaint = [&] {
    lineVisibleBeforeTheRun = view_.lines == std::vector<std::wstring>{kStarted} && RunLog().empty();
  };
  InstallDriver(view_, source_, target_);

  EXPECT_EQ(view_.questions, std::vector<std::wstring>{kQuestion});
  EXPECT_EQ(view_.lines, (std::vector<std::wstring>{kStarted, kFinished}));
  EXPECT_TRUE(lineVisibleBeforeTheRun);
  EXPECT_EQ(ReadBytes(target_ + L"FTDIDriverInstall\\ftdibus.inf"), "inf");
  EXPECT_EQ(ReadBytes(target_ + L"FTDIDriverInstall\\amd64\\ftdibus.sys"), "sys");
  // The second line came after the driver installer had ended: its log is complete.
  const std::string log = RunLog();
  EXPECT_NE(log.find("cmdline=\"" + Utf8(InstalledProgram()) + "\""), std::string::npos) << log;
  EXPECT_NE(log.find("show=0\r\n"), std::string::npos) << log;  // SW_HIDE
  EXPECT_NE(log.find("folder=" + Utf8(sourceFolder_.path()) + "\r\n"), std::string::npos) << log;
  EXPECT_FALSE(Exists(source_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe.log"));  // the copy ran, not the original
}

TEST_F(DriverFixture, AnyExitCodeOfTheDriverInstallerGoesOn) {
  WriteBytes(source_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe.exitcode", "1603");
  view_.driverChecked = true;
  view_.answers = {true};
  InstallDriver(view_, source_, target_);
  EXPECT_EQ(view_.lines, (std::vector<std::wstring>{kStarted, kFinished}));
  EXPECT_FALSE(RunLog().empty());
}

TEST_F(DriverFixture, MissingFromTheDistributionBothLinesAndNothingRuns) {
  RemoveTree(source_ + L"FTDIDriverInstall");
  view_.driverChecked = true;
  view_.answers = {true};
  InstallDriver(view_, source_, target_);
  EXPECT_EQ(view_.lines, (std::vector<std::wstring>{kStarted, kFinished}));
  EXPECT_FALSE(Exists(target_ + L"FTDIDriverInstall"));
}

TEST_F(DriverFixture, MissingFromTheDistributionRunsWhatAnEarlierInstallationLeft) {
  MakeFolders(target_ + L"FTDIDriverInstall");
  ::CopyFileW(ToolPath(L"recorder.exe").c_str(), InstalledProgram().c_str(), FALSE);
  RemoveTree(source_ + L"FTDIDriverInstall");
  view_.driverChecked = true;
  view_.answers = {true};
  InstallDriver(view_, source_, target_);
  EXPECT_EQ(view_.lines, (std::vector<std::wstring>{kStarted, kFinished}));
  EXPECT_NE(RunLog().find("show=0"), std::string::npos);
}
