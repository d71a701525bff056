#include "common/SettingsValues.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/native/MapProfile.h"

using testsupport::MapProfile;

TEST(SettingsValues, IntegersAreDecimalOrHexadecimal) {
  struct Case {
    std::wstring value;
    std::optional<std::int32_t> number;
  };
  const std::vector<Case> cases = {
      {L"0", 0},
      {L"16", 16},
      {L" 12 ", 12},
      {L"-5", -5},
      {L"+7", 7},
      {L"0x10", 16},
      {L"0X1f", 31},
      {L"$FF", 255},
      {L"-$10", -16},
      {L"2147483647", 2147483647},
      {L"-2147483648", -2147483647 - 1},
      {L"0xFFFFFFFF", -1},
      {L"2147483648", std::nullopt},
      {L"0x100000000", std::nullopt},
      {L"", std::nullopt},
      {L"yes", std::nullopt},
      {L"1.0", std::nullopt},
      {L"1,5", std::nullopt},
      {L"12a", std::nullopt},
      {L"1 2", std::nullopt},
      {L"0x", std::nullopt},
      {L"$", std::nullopt},
      {L"x10", std::nullopt},
      {L"-", std::nullopt},
      {L"\u0661\u0662", std::nullopt},  // Arabic-Indic digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(settings::ParseInteger(c.value), c.number) << text::ToUtf8(c.value);
  }
}

TEST(SettingsValues, BooleansAreIntegers) {
  EXPECT_EQ(settings::ParseBoolean(L"0"), false);
  EXPECT_EQ(settings::ParseBoolean(L"2"), true);
  EXPECT_EQ(settings::ParseBoolean(L"-1"), true);
  EXPECT_EQ(settings::ParseBoolean(L"0x0"), false);
  EXPECT_EQ(settings::ParseBoolean(L"yes"), std::nullopt);
  EXPECT_EQ(settings::ParseBoolean(L"true"), std::nullopt);
  EXPECT_EQ(settings::ParseBoolean(L""), std::nullopt);
}

TEST(SettingsValues, RealsUseAPointWhateverTheRegionalSettings) {
  struct Case {
    std::wstring value;
    std::optional<double> number;
  };
  const std::vector<Case> cases = {
      {L"1.5", 1.5},
      {L"1.25", 1.25},
      {L"-0.25", -0.25},
      {L"+2", 2.0},
      {L".5", 0.5},
      {L"5.", 5.0},
      {L"1e3", 1000.0},
      {L"1.5E-2", 0.015},
      {L" 3 ", 3.0},
      {L"1,5", std::nullopt},
      {L"", std::nullopt},
      {L".", std::nullopt},
      {L"e3", std::nullopt},
      {L"1e", std::nullopt},
      {L"1e400", std::nullopt},
      {L"nan", std::nullopt},
      {L"inf", std::nullopt},
      {L"1 000", std::nullopt},
      {L"0x10", std::nullopt},
      {L"\uFF11", std::nullopt},  // full-width digit one
  };
  for (const auto& c : cases) {
    EXPECT_EQ(settings::ParseReal(c.value), c.number) << text::ToUtf8(c.value);
  }
}

TEST(SettingsValues, SuiteNumberFormatIsPointAndBlank) {
  settings::ProcessNumberFormat = {L',', L'.'};
  settings::SetSuiteNumberFormat();
  EXPECT_EQ(settings::ProcessNumberFormat.DecimalSeparator, L'.');
  EXPECT_EQ(settings::ProcessNumberFormat.ThousandSeparator, L' ');
}

TEST(SettingsValues, WithoutAFileEveryFieldHasItsDefault) {
  TSettings s;
  settings::ReadSettings(s, ini::NoProfile(), L"");
  EXPECT_TRUE(s.doformshow);
  EXPECT_TRUE(s.NurseMode);
  EXPECT_TRUE(s.DoctorMode);
  EXPECT_EQ(s.ChannelGain, 1.0);
  EXPECT_EQ(s.ChannelGain12, 1.0);
  EXPECT_EQ(s.HardwareType, 1);
  EXPECT_EQ(s.FilterType, 0);
  EXPECT_EQ(s.New_Reg, 0);
  EXPECT_EQ(s.DefaultRegType, Tregtype{0});
  EXPECT_EQ(s.HViewType, THViewType::hvtStandart);
  EXPECT_TRUE(s.LanguageSetting.empty());
  for (bool flag : {s.DebugPrint,
                    s.DebugMy,
                    s.PoverkaView,
                    s.HviewDebug,
                    s.GroupProcess,
                    s.EnabledScrining,
                    s.ECGAtRestWork,
                    s.OnlyDecode,
                    s.SaveSwap,
                    s.MinmVEnabled,
                    s.CorrectProbeli,
                    s.forZOD,
                    s.forGE,
                    s.EMIASTESTINGMODE,
                    s.EMIASEMULATINGMODE,
                    s.RegEmulating,
                    s.AriadnaSearchTesting,
                    s.UserIsMS,
                    s.PraktikaSearchTesting,
                    s.PraktikaTesting}) {
    EXPECT_FALSE(flag);
  }
}

TEST(SettingsValues, EachValueFillsItsFieldOrLeavesTheDefault) {
  struct Case {
    std::wstring key, value;
    std::function<bool(const TSettings&)> holds;
  };
  const std::vector<Case> cases = {
      {L"DoctorMode", L"0", [](const TSettings& s) { return !s.DoctorMode; }},
      {L"DoctorMode", L"2", [](const TSettings& s) { return s.DoctorMode; }},
      {L"DoctorMode", L"yes", [](const TSettings& s) { return s.DoctorMode; }},
      {L"NurseMode", L"0", [](const TSettings& s) { return !s.NurseMode; }},
      {L"doformshow", L"0", [](const TSettings& s) { return !s.doformshow; }},
      {L"forGE", L"1", [](const TSettings& s) { return s.forGE; }},
      {L"onlydecode", L"1", [](const TSettings& s) { return s.OnlyDecode; }},
      {L"saveswap", L"1", [](const TSettings& s) { return s.SaveSwap; }},
      {L"PraktikaTesting", L"1", [](const TSettings& s) { return s.PraktikaTesting; }},
      {L"HardwareType", L"0x10", [](const TSettings& s) { return s.HardwareType == 16; }},
      {L"HardwareType", L"-3", [](const TSettings& s) { return s.HardwareType == -3; }},
      {L"HardwareType", L"1.0", [](const TSettings& s) { return s.HardwareType == 1; }},
      {L"Channel1Gain", L"1,5", [](const TSettings& s) { return s.ChannelGain == 1.0; }},
      {L"Channel1Gain", L"1.5", [](const TSettings& s) { return s.ChannelGain == 1.5; }},
      {L"Channel2Gain", L"0.75", [](const TSettings& s) { return s.ChannelGain12 == 0.75; }},
      {L"FilterType", L"255", [](const TSettings& s) { return s.FilterType == 255; }},
      {L"FilterType", L"256", [](const TSettings& s) { return s.FilterType == 0; }},
      {L"FilterType", L"-1", [](const TSettings& s) { return s.FilterType == 0; }},
      {L"new_reg", L"$0C", [](const TSettings& s) { return s.New_Reg == 12; }},
      {L"new_reg", L"300", [](const TSettings& s) { return s.New_Reg == 0; }},
      {L"DefaultRegType", L"7", [](const TSettings& s) { return s.DefaultRegType == Tregtype{7}; }},
      {L"DefaultRegType", L"8", [](const TSettings& s) { return s.DefaultRegType == Tregtype{0}; }},
      {L"LanguageSetting", L"ENG", [](const TSettings& s) { return s.LanguageSetting == L"ENG"; }},
      {L"LanguageSetting", std::wstring(3000, L'ж'),
       [](const TSettings& s) { return s.LanguageSetting == std::wstring(2047, L'ж'); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(text::ToUtf8(c.key + L"=" + c.value.substr(0, 20)));
    TSettings s;
    settings::ReadSettings(s, MapProfile({{{L"options", c.key}, c.value}}), L"");
    EXPECT_TRUE(c.holds(s));
  }
}

TEST(SettingsValues, KeysOutsideTheOptionsSectionAreNotRead) {
  TSettings s;
  settings::ReadSettings(s, MapProfile({{{L"other", L"HardwareType"}, L"5"}}), L"");
  EXPECT_EQ(s.HardwareType, 1);
}

TEST(SettingsValues, RereadingResetsWhatTheFileNoLongerHolds) {
  TSettings s;
  s.FilterType = 9;
  s.DoctorMode = false;
  s.LanguageSetting = L"ENG";
  s.forZOD = true;
  s.Person = 5;
  s.HViewType = THViewType::hvtTest;
  s.CorrectProbeli = true;
  settings::ReadSettings(s, ini::NoProfile(), L"ООО Ромашка");

  TSettings expected;
  expected.Customer = L"ООО Ромашка";
  expected.HViewType = THViewType::hvtTest;  // not read from the file
  expected.CorrectProbeli = true;            // not read from the file
  EXPECT_EQ(s, expected);
}

TEST(SettingsValues, CustomerIsStoredAsGiven) {
  TSettings s;
  settings::ReadSettings(s, ini::NoProfile(), L" \tООО Ромашка \r\n");
  EXPECT_EQ(s.Customer, L" \tООО Ромашка \r\n");
}

TEST(SettingsValues, TheInstallersValuesAreTheDefaults) {
  TSettings written;
  settings::ReadSettings(written,
                         MapProfile({{{L"options", L"FilterType"}, L"0"}, {{L"options", L"HardwareType"}, L"1"}}), L"");
  TSettings none;
  settings::ReadSettings(none, ini::NoProfile(), L"");
  EXPECT_EQ(written, none);
}

TEST(SettingsValues, KeysAreReadInTheirFixedOrder) {
  MapProfile file;
  TSettings s;
  settings::ReadSettings(s, file, L"");
  std::vector<std::wstring> keys;
  for (const auto& lookup : file.lookups()) {
    EXPECT_EQ(lookup.section, L"options");
    keys.push_back(lookup.key);
  }
  const std::vector<std::wstring> expected = {L"forGE",
                                              L"FilterType",
                                              L"DefaultRegType",
                                              L"doformshow",
                                              L"DebugPrint",
                                              L"DebugMy",
                                              L"MinmVEnabled",
                                              L"PoverkaView",
                                              L"HviewDebug",
                                              L"ECGAtRestWork",
                                              L"onlydecode",
                                              L"saveswap",
                                              L"Channel1Gain",
                                              L"Channel2Gain",
                                              L"GroupProcess",
                                              L"EnabledScrining",
                                              L"HardwareType",
                                              L"LanguageSetting",
                                              L"new_reg",
                                              L"NurseMode",
                                              L"DoctorMode",
                                              L"EMIASTESTINGMODE",
                                              L"EMIASEMULATINGMODE",
                                              L"RegEmulating",
                                              L"AriadnaSearchTesting",
                                              L"UserIsMS",
                                              L"PraktikaSearchTesting",
                                              L"PraktikaTesting"};
  EXPECT_EQ(keys, expected);
}

TEST(SettingsValues, StartRecordClearEmptiesEveryField) {
  TStartXmlObject start;
  start.filename = L"C:\\start.xml";
  start.FIO = L"Иванов";
  start.Medic = L"x";
  start.ADS = 120;
  start.ADD = 80;
  start.IWR = 3;
  start.clear();
  EXPECT_EQ(start, TStartXmlObject{});
  EXPECT_TRUE(start.FIO.empty());
  EXPECT_EQ(start.ADS + start.ADD + start.IWR, 0);
}
