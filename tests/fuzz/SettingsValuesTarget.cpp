// Fuzz target for the settings values (common/SettingsValues): the input is a
// vavova.ini file, read the way the suite reads it into the settings record.
//
// Checks: every field read holds what a simple reference makes of its key's
// value (integers, booleans and reals by their documented syntax, the small
// fields within their ranges, the texts cut to the profile limit) or its
// default; a record that held other values before reads the same, and the
// fields that are not read keep what they held.
#include "tests/fuzz/FuzzTargets.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "common/IniFile.h"
#include "common/SettingsValues.h"
#include "common/TextEncoding.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {
namespace {

const std::wstring kOptions = L"options";

int DigitValue(wchar_t c, int base) {
  int digit = 99;
  if (c >= L'0' && c <= L'9') digit = c - L'0';
  if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
  if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
  return digit < base ? digit : -1;
}

// The documented integer syntax, worked out on 64 bits: decimal within the
// 32-bit signed range, hexadecimal within 32 bits as two's complement.
std::optional<int32_t> ReferenceInteger(std::wstring_view raw) {
  std::wstring_view s = TrimBlanks(raw);
  const bool negative = !s.empty() && s.front() == L'-';
  if (!s.empty() && (s.front() == L'-' || s.front() == L'+')) s.remove_prefix(1);
  int base = 10;
  if (s.starts_with(L"0x") || s.starts_with(L"0X"))
    s.remove_prefix(2), base = 16;
  else if (s.starts_with(L"$"))
    s.remove_prefix(1), base = 16;
  if (s.empty()) return std::nullopt;
  int64_t magnitude = 0;
  for (wchar_t c : s) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > 0xFFFFFFFFll) return std::nullopt;
  }
  if (base == 16) return static_cast<int32_t>(static_cast<uint32_t>(negative ? -magnitude : magnitude));
  const int64_t value = negative ? -magnitude : magnitude;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

// The documented real syntax through the C library's strtod: only digits,
// signs, "." and an exponent letter, all of it consumed, and a value a 64-bit
// real holds (an overflow or an underflow to zero is out of range).
std::optional<double> ReferenceReal(std::wstring_view raw) {
  const std::wstring_view s = TrimBlanks(raw);
  std::string ascii;
  for (wchar_t c : s) {
    if (!(c >= L'0' && c <= L'9') && c != L'+' && c != L'-' && c != L'.' && c != L'e' && c != L'E') return std::nullopt;
    ascii += static_cast<char>(c);
  }
  if (ascii.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(ascii.c_str(), &end);
  if (end != ascii.c_str() + ascii.size() || !std::isfinite(value)) return std::nullopt;
  if (errno == ERANGE && value == 0) return std::nullopt;
  return value;
}

class FieldChecker {
 public:
  explicit FieldChecker(const ini::ProfileReader& file) : file_(file) {}

  void Boolean(const wchar_t* key, bool field, bool fallback) const {
    const auto number = ReferenceInteger(Raw(key));
    FUZZ_CHECK(field == (number ? *number != 0 : fallback));
  }
  void Integer(const wchar_t* key, int32_t field, int32_t fallback) const {
    FUZZ_CHECK(field == ReferenceInteger(Raw(key)).value_or(fallback));
  }
  void Small(const wchar_t* key, int field, int fallback, int maximum) const {
    const auto number = ReferenceInteger(Raw(key));
    FUZZ_CHECK(field >= 0 && field <= maximum);
    FUZZ_CHECK(field == (number && *number >= 0 && *number <= maximum ? *number : fallback));
  }
  void Real(const wchar_t* key, double field, double fallback) const {
    const double expected = ReferenceReal(Raw(key)).value_or(fallback);
    FUZZ_CHECK(field == expected && std::signbit(field) == std::signbit(expected));
  }
  void Text(const wchar_t* key, const std::wstring& field, const std::wstring& fallback) const {
    FUZZ_CHECK(field.size() <= ini::kMaxProfileValue);
    FUZZ_CHECK(field == file_.ReadString(kOptions, key, fallback));
  }

 private:
  std::wstring Raw(const wchar_t* key) const { return file_.ReadString(kOptions, key, std::wstring()); }
  const ini::ProfileReader& file_;
};

void CheckFields(const TSettings& s, const ini::ProfileReader& file) {
  const TSettings d;
  const FieldChecker check(file);
  check.Boolean(L"forGE", s.forGE, d.forGE);
  check.Small(L"FilterType", s.FilterType, d.FilterType, 255);
  check.Small(L"DefaultRegType", static_cast<int>(s.DefaultRegType), static_cast<int>(d.DefaultRegType),
              kRegTypeCount - 1);
  check.Boolean(L"doformshow", s.doformshow, d.doformshow);
  check.Boolean(L"DebugPrint", s.DebugPrint, d.DebugPrint);
  check.Boolean(L"DebugMy", s.DebugMy, d.DebugMy);
  check.Boolean(L"MinmVEnabled", s.MinmVEnabled, d.MinmVEnabled);
  check.Boolean(L"PoverkaView", s.PoverkaView, d.PoverkaView);
  check.Boolean(L"HviewDebug", s.HviewDebug, d.HviewDebug);
  check.Boolean(L"ECGAtRestWork", s.ECGAtRestWork, d.ECGAtRestWork);
  check.Boolean(L"onlydecode", s.OnlyDecode, d.OnlyDecode);
  check.Boolean(L"saveswap", s.SaveSwap, d.SaveSwap);
  check.Real(L"Channel1Gain", s.ChannelGain, d.ChannelGain);
  check.Real(L"Channel2Gain", s.ChannelGain12, d.ChannelGain12);
  check.Boolean(L"GroupProcess", s.GroupProcess, d.GroupProcess);
  check.Boolean(L"EnabledScrining", s.EnabledScrining, d.EnabledScrining);
  check.Integer(L"HardwareType", s.HardwareType, d.HardwareType);
  check.Text(L"LanguageSetting", s.LanguageSetting, d.LanguageSetting);
  check.Small(L"new_reg", s.New_Reg, d.New_Reg, 255);
  check.Boolean(L"NurseMode", s.NurseMode, d.NurseMode);
  check.Boolean(L"DoctorMode", s.DoctorMode, d.DoctorMode);
  check.Boolean(L"EMIASTESTINGMODE", s.EMIASTESTINGMODE, d.EMIASTESTINGMODE);
  check.Boolean(L"EMIASEMULATINGMODE", s.EMIASEMULATINGMODE, d.EMIASEMULATINGMODE);
  check.Boolean(L"RegEmulating", s.RegEmulating, d.RegEmulating);
  check.Boolean(L"AriadnaSearchTesting", s.AriadnaSearchTesting, d.AriadnaSearchTesting);
  check.Boolean(L"UserIsMS", s.UserIsMS, d.UserIsMS);
  check.Boolean(L"PraktikaSearchTesting", s.PraktikaSearchTesting, d.PraktikaSearchTesting);
  check.Boolean(L"PraktikaTesting", s.PraktikaTesting, d.PraktikaTesting);
  FUZZ_CHECK(!s.forZOD && s.Person == 0);
}

// A record far from the defaults in every field.
TSettings Scrambled() {
  TSettings s;
  s.HViewType = THViewType::hvtOnline;
  s.CorrectProbeli = true;
  s.forZOD = true;
  s.Person = 7;
  s.DebugPrint = s.DebugMy = s.PoverkaView = s.HviewDebug = s.GroupProcess = true;
  s.doformshow = s.NurseMode = s.DoctorMode = false;
  s.ChannelGain = s.ChannelGain12 = -3.5;
  s.HardwareType = -9;
  s.FilterType = s.New_Reg = 200;
  s.DefaultRegType = Tregtype{5};
  s.LanguageSetting = L"XX";
  s.Customer = L"прежний";
  return s;
}

}  // namespace

void FuzzSettingsValues(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::wstring decoded = text::DecodeText(bytes, text::Cp1251()).text;

  // The value parsers on the text itself, as one value.
  const std::wstring_view value = std::wstring_view(decoded).substr(0, 64);
  const auto integer = ReferenceInteger(value);
  FUZZ_CHECK(settings::ParseInteger(value) == integer);
  FUZZ_CHECK(settings::ParseBoolean(value) == (integer ? std::optional<bool>(*integer != 0) : std::nullopt));
  const auto real = settings::ParseReal(value);
  const auto expectedReal = ReferenceReal(value);
  FUZZ_CHECK(real.has_value() == expectedReal.has_value());
  FUZZ_CHECK(!real || (*real == *expectedReal && std::signbit(*real) == std::signbit(*expectedReal)));

  const ini::IniDocument document = ini::IniDocument::Parse(decoded);
  const DocumentProfile file(document);
  const std::wstring customer = L"ГБУЗ Клиника № 1";

  TSettings fresh;
  settings::ReadSettings(fresh, file, customer);
  CheckFields(fresh, file);
  FUZZ_CHECK(fresh.Customer == customer);

  const TSettings before = Scrambled();
  TSettings reused = before;
  settings::ReadSettings(reused, file, customer);
  FUZZ_CHECK(reused.HViewType == before.HViewType && reused.CorrectProbeli == before.CorrectProbeli);
  reused.HViewType = fresh.HViewType;
  reused.CorrectProbeli = fresh.CorrectProbeli;
  FUZZ_CHECK(reused == fresh);
}

}  // namespace fuzz
