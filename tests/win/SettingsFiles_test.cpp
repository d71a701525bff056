#include "install/SettingsFiles.h"

#include "common/TextUtil.h"
#include "install/LastNumRecord.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testsupport;
using enginetest::RaisedMessage;
using enginetest::SystemReason;

namespace {

std::wstring Target(const TempFolder& folder) { return folder.path() + L"\\"; }

double DateTimeNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return lastnum::DateTimeValue(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                                now.wMilliseconds);
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

}  // namespace

TEST(SettingsFiles, FreshVavovaIniHoldsExactlyTheTwoKeys) {
  TempFolder target;
  MakeFolders(target / L"Settings");
  WriteSuiteSettings(Target(target));
  EXPECT_EQ(ReadBytes(target / L"Settings\\vavova.ini"), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
}

TEST(SettingsFiles, VavovaIniIsWrittenEvenWhenTheSettingsFolderWentMissing) {
  // The path page made Settings\; a target removed since must not fail here.
  TempFolder target;
  ASSERT_FALSE(IsFolder(target / L"Settings"));
  WriteSuiteSettings(Target(target));
  EXPECT_EQ(ReadBytes(target / L"Settings\\vavova.ini"), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
}

TEST(SettingsFiles, ReinstallationKeepsTheSuitesOtherSettings) {
  TempFolder target;
  MakeFolders(target / L"Settings");
  WriteBytes(target / L"Settings\\vavova.ini",
             "; written by the suite\r\n[options]\r\nLanguage=1\r\nfiltertype = 3\r\n\r\n[Monitor]\r\nNumber=2\r\n");
  WriteSuiteSettings(Target(target));
  EXPECT_EQ(ReadBytes(target / L"Settings\\vavova.ini"),
            "[options]\r\nLanguage=1\r\nfiltertype=0\r\nHardwareType=1\r\n\r\n[Monitor]\r\nNumber=2\r\n\r\n");
}

TEST(SettingsFiles, VavovaIniThatCannotBeWrittenRaisesWithPathAndReason) {
  const struct {
    const char* what;
    bool settingsIsFile;
    const wchar_t* message;
  } cases[] = {
      // Nowhere to write: the folder's name is taken by a file.
      {"Settings is a file", true, L"Cannot create file \""},
      // Something that cannot be read is never overwritten.
      {"vavova.ini is a folder", false, L"Cannot open file \""},
  };
  for (const auto& c : cases) {
    TempFolder target;
    const std::wstring file = target / L"Settings\\vavova.ini";
    if (c.settingsIsFile)
      WriteBytes(target / L"Settings", "not a folder");
    else
      MakeFolders(file);
    const std::wstring message = RaisedMessage([&] { WriteSuiteSettings(Target(target)); });
    const std::wstring head = c.message + file + L"\". ";
    EXPECT_TRUE(message.starts_with(head)) << c.what << ": " << Utf8(message);
    EXPECT_GT(message.size(), head.size()) << c.what << ": no reason given";
  }
}

TEST(SettingsFiles, LastNumRecordIsFourteenBytesWithTheTimeOfTheRun) {
  TempFolder target;
  MakeFolders(target / L"Settings");
  const double before = DateTimeNow();
  WriteLastNumber(Target(target));
  const double after = DateTimeNow();
  const std::string bytes = ReadBytes(target / L"Settings\\lastnum.dta");
  ASSERT_EQ(bytes.size(), 14u);
  EXPECT_EQ(bytes.substr(0, 6), std::string(6, '\0'));
  double stamp = 0;
  std::memcpy(&stamp, bytes.data() + 6, 8);
  EXPECT_GE(stamp, before);
  EXPECT_LE(stamp, after);
}

TEST(SettingsFiles, ExistingLastNumRecordKeepsItsBytes) {
  TempFolder target;
  MakeFolders(target / L"Settings");
  const std::string suitesOwn("\0\0\x2A\0\0\0\x01\x02\x03\x04\x05\x06\x07\x40", 14);
  WriteBytes(target / L"Settings\\lastnum.dta", suitesOwn);
  WriteLastNumber(Target(target));
  EXPECT_EQ(ReadBytes(target / L"Settings\\lastnum.dta"), suitesOwn);
}

TEST(SettingsFiles, LastNumRecordNeedsTheSettingsFolderAndIgnoresFailures) {
  TempFolder noSettings;
  WriteLastNumber(Target(noSettings));
  EXPECT_FALSE(Exists(noSettings / L"Settings"));

  // A folder in the record's place: the file cannot be made, and nothing is raised.
  TempFolder blocked;
  MakeFolders(blocked / L"Settings\\lastnum.dta");
  EXPECT_EQ(RaisedMessage([&] { WriteLastNumber(Target(blocked)); }), L"(nothing raised)");
  EXPECT_TRUE(IsFolder(blocked / L"Settings\\lastnum.dta"));
}

TEST(SettingsFiles, SiblingSettingsSetDiskKeepingTheRest) {
  TempFolder fresh;
  WriteSiblingSettings(Target(fresh));
  EXPECT_EQ(ReadBytes(fresh / L"btooth.ini"), "[Common]\r\nDisk=I\r\n\r\n");

  TempFolder existing;
  WriteBytes(existing / L"btooth.ini", "[Common]\r\nPort=COM3\r\nDisk=C\r\n[Other]\r\nA=1\r\n");
  WriteSiblingSettings(Target(existing));
  EXPECT_EQ(ReadBytes(existing / L"btooth.ini"), "[Common]\r\nPort=COM3\r\nDisk=I\r\n\r\n[Other]\r\nA=1\r\n\r\n");
}

TEST(SettingsFiles, SiblingSettingsThatCannotBeWrittenRaise) {
  TempFolder target;
  MakeFolders(target / L"btooth.ini");
  const std::wstring message = RaisedMessage([&] { WriteSiblingSettings(Target(target)); });
  EXPECT_TRUE(message.starts_with(L"Cannot open file \"" + (target / L"btooth.ini") + L"\". ")) << Utf8(message);
}

TEST(SettingsFiles, UpdaterFilesBecomeWritableAndKeepTheirOtherAttributes) {
  TempFolder target;
  WriteBytes(target / L"ReleaseInfo", "<ROOT/>");
  WriteBytes(target / L"Updater.exe.cfg", "<configuration/>");
  ::SetFileAttributesW((target / L"ReleaseInfo").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((target / L"Updater.exe.cfg").c_str(), FILE_ATTRIBUTE_READONLY);
  MakeUpdaterFilesWritable(Target(target));
  EXPECT_EQ(Attributes(target / L"ReleaseInfo") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            DWORD{FILE_ATTRIBUTE_HIDDEN});
  EXPECT_EQ(Attributes(target / L"Updater.exe.cfg") & FILE_ATTRIBUTE_READONLY, 0u);
  WriteBytes(target / L"Updater.exe.cfg", "writable");  // really writable

  TempFolder empty;
  EXPECT_EQ(RaisedMessage([&] { MakeUpdaterFilesWritable(Target(empty)); }), L"(nothing raised)");
  EXPECT_FALSE(Exists(empty / L"ReleaseInfo"));
}
