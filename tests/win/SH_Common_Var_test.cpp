#include "common/SH_Common_Var.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/Handles.h"
#include "common/SettingsValues.h"
#include "common/WinIniFile.h"
#include "tests/win/TestSupport.h"

using namespace testsupport;

namespace {

// The bytes of a literal, zeros included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

const wchar_t kVersionKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// Sets a text value under the Windows version key for one test and puts the
// old value (or its absence) back afterwards.
class RegisteredValue {
 public:
  RegisteredValue(const wchar_t* name, const std::wstring& value) : name_(name) {
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kVersionKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr,
                      key_.put(), nullptr);
    wchar_t buffer[1024];
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    if (::RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
      old_ = std::wstring(buffer, size / sizeof(wchar_t)).c_str();
    }
    Set(value);
  }
  ~RegisteredValue() {
    if (old_)
      Set(*old_);
    else
      ::RegDeleteValueW(key_.get(), name_);
  }

 private:
  void Set(const std::wstring& value) {
    ::RegSetValueExW(key_.get(), name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  win::UniqueKey key_;
  const wchar_t* name_;
  std::optional<std::wstring> old_;
};

// A program folder with an optional Settings\vavova.ini; the globals go back to
// the test program's own settings afterwards.
class SuiteSettingsTest : public testing::Test {
 protected:
  void TearDown() override { InitSuiteSettings(); }

  std::wstring Folder() const { return folder_.path() + L"\\"; }
  void WriteVavova(const std::string& bytes) {
    MakeFolders(folder_ / L"Settings");
    WriteBytes(folder_ / L"Settings\\vavova.ini", bytes);
  }
  static TSettings Defaults() {
    TSettings defaults;
    defaults.Customer = RegisteredCustomerName();
    return defaults;
  }

  TempFolder folder_;
};

}  // namespace

TEST_F(SuiteSettingsTest, WithoutSettingsFolderEverythingHasItsDefault) {
  InitSuiteSettingsFor(Folder());
  EXPECT_EQ(ProgramFolder, Folder());
  EXPECT_EQ(SuiteSettings, Defaults());
  EXPECT_EQ(LanguageCode, L"RUS");
  EXPECT_EQ(LanguageFile, L"");
  EXPECT_EQ(AtesInFolder, Folder() + L"AtesIn\\");
  EXPECT_EQ(AtesOutFolder, Folder() + L"AtesOut\\");
  EXPECT_FALSE(Exists(AtesInFolder));
  EXPECT_EQ(ResourceModule, nullptr);
  EXPECT_EQ(StartXmlObject, TStartXmlObject{});
}

TEST_F(SuiteSettingsTest, ValuesAreReadThroughTheProfileFunctions) {
  WriteVavova(
      "[options]\r\n"
      "Channel1Gain=1,5\r\n"
      "Channel2Gain=1.5\r\n"
      "DoctorMode=yes\r\n"
      "NurseMode=0\r\n"
      "HardwareType=0x10\r\n"
      "FilterType=300\r\n"
      "new_reg=$0A\r\n"
      "DefaultRegType=9\r\n"
      "saveswap=2\r\n"
      "LanguageSetting=ENG\r\n"
      "[other]\r\n"
      "forGE=1\r\n");
  InitSuiteSettingsFor(Folder());
  TSettings expected = Defaults();
  expected.ChannelGain12 = 1.5;
  expected.NurseMode = false;
  expected.HardwareType = 16;
  expected.New_Reg = 10;
  expected.SaveSwap = true;
  expected.LanguageSetting = L"ENG";
  EXPECT_EQ(SuiteSettings, expected);
  EXPECT_EQ(LanguageCode, L"ENG");
  EXPECT_EQ(LanguageFile, Folder() + L"Settings\\EngView.lng");
}

TEST_F(SuiteSettingsTest, OnlyEngInCapitalsSelectsEnglish) {
  for (const char* value : {"Eng", "eng", "ENG ", "", "RUS"}) {
    SCOPED_TRACE(value);
    WriteVavova(std::string("[options]\r\nLanguageSetting=") + value + "\r\n");
    InitSuiteSettingsFor(Folder());
    EXPECT_EQ(LanguageCode, std::string(value) == "ENG " ? L"ENG" : L"RUS");  // the profile lookup trims blanks
  }
}

TEST_F(SuiteSettingsTest, PointIsTheDecimalSeparatorWhateverTheRegionalSettings) {
  wchar_t regional[8] = {};
  ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, regional, 8);
  WriteVavova("[options]\r\nChannel1Gain=0.25\r\nChannel2Gain=2" + Utf8(regional) + "5\r\n");
  InitSuiteSettingsFor(Folder());
  EXPECT_EQ(SuiteSettings.ChannelGain, 0.25);
  EXPECT_EQ(SuiteSettings.ChannelGain12, std::wstring(regional) == L"." ? 2.5 : 1.0);
  EXPECT_EQ(settings::ProcessNumberFormat.DecimalSeparator, L'.');
  EXPECT_EQ(settings::ProcessNumberFormat.ThousandSeparator, L' ');
}

TEST_F(SuiteSettingsTest, DamagedSettingsFilesGiveTheDefaults) {
  const std::string cases[] = {
      Bytes("\0\xFF\xFE\x01[options]\0HardwareType=5"),
      Bytes("\xFF\xFE[\0o\0p"),
      "[options]\r\nHardwareType",
      "[options",
      std::string(100000, '\xFF'),
  };
  for (const std::string& bytes : cases) {
    WriteVavova(bytes);
    InitSuiteSettingsFor(Folder());
    EXPECT_EQ(SuiteSettings, Defaults());
    EXPECT_EQ(LanguageCode, L"RUS");
  }
}

TEST_F(SuiteSettingsTest, WhatTheInstallerWritesEqualsTheDefaults) {
  MakeFolders(folder_ / L"Settings");
  ini::WriteIniValues(folder_ / L"Settings\\vavova.ini", L"options", {{L"FilterType", L"0"}, {L"HardwareType", L"1"}});
  InitSuiteSettingsFor(Folder());
  EXPECT_EQ(SuiteSettings, Defaults());
}

TEST_F(SuiteSettingsTest, CustomerIsTheRegisteredOrganisationOrElseTheOwner) {
  {
    RegisteredValue organisation(L"RegisteredOrganization", L" \tООО «Ромашка» ");
    RegisteredValue owner(L"RegisteredOwner", L"Иванов");
    InitSuiteSettingsFor(Folder());
    EXPECT_EQ(SuiteSettings.Customer, L" \tООО «Ромашка» ");
    EXPECT_EQ(CustomerName, L"ООО «Ромашка»");
  }
  {
    RegisteredValue organisation(L"RegisteredOrganization", L"  ");
    RegisteredValue owner(L"RegisteredOwner", L"Иванов И. И.\r\n");
    InitSuiteSettingsFor(Folder());
    EXPECT_EQ(CustomerName, L"Иванов И. И.");
  }
  {
    RegisteredValue organisation(L"RegisteredOrganization", L"");
    RegisteredValue owner(L"RegisteredOwner", L"");
    InitSuiteSettingsFor(Folder());
    EXPECT_EQ(CustomerName, L"");
  }
}

TEST_F(SuiteSettingsTest, ProgramFolderIsTheFolderOfTheRunningProgram) {
  InitSuiteSettings();
  EXPECT_EQ(ProgramFolder, TestProgramFolder());
  EXPECT_EQ(ProgramFolder.back(), L'\\');
}
