#include "common/SettingsValues.h"

#include <charconv>
#include <clocale>
#include <cmath>

#include "common/TextUtil.h"

namespace settings {
namespace {

const std::wstring kOptions = L"options";

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Magnitude of the digits in `digits`, or nothing when one is not a digit of
// `base` or the value exceeds `limit`.
std::optional<std::uint64_t> Magnitude(std::wstring_view digits, int base, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (wchar_t c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  return value;
}

// The text as plain ASCII, or nothing when it holds any other character.
std::optional<std::string> Ascii(std::wstring_view value) {
  std::string out;
  out.reserve(value.size());
  for (wchar_t c : value) {
    if (c <= 0 || c > 127) return std::nullopt;
    out += static_cast<char>(c);
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [sign] digits [. digits] [e [sign] digits], at least one digit in the mantissa.
bool IsRealSyntax(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t mantissaDigits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const size_t start = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == start) return false;
  }
  return i == s.size();
}

// ---- reading one key ----

// Each read gives the parsed value, or the field's default when the key is
// missing or its value does not parse or fit.
class KeyReader {
 public:
  explicit KeyReader(const ini::ProfileReader& file) : file_(file) {}

  bool Boolean(const wchar_t* key, bool fallback) const { return ParseBoolean(Raw(key)).value_or(fallback); }
  std::int32_t Integer(const wchar_t* key, std::int32_t fallback) const {
    return ParseInteger(Raw(key)).value_or(fallback);
  }
  // An integer that must lie in [0, maximum] to fit its field.
  template <class Field>
  Field Small(const wchar_t* key, Field fallback, int maximum) const {
    const auto v = ParseInteger(Raw(key));
    return v && *v >= 0 && *v <= maximum ? static_cast<Field>(*v) : fallback;
  }
  double Real(const wchar_t* key, double fallback) const { return ParseReal(Raw(key)).value_or(fallback); }
  std::wstring Text(const wchar_t* key, const std::wstring& fallback) const {
    std::wstring value = file_.ReadString(kOptions, key, fallback);
    if (value.size() > ini::kMaxProfileValue) value.resize(ini::kMaxProfileValue);
    return value;
  }

 private:
  std::wstring Raw(const wchar_t* key) const { return file_.ReadString(kOptions, key, std::wstring()); }
  const ini::ProfileReader& file_;
};

}  // namespace

NumberFormat ProcessNumberFormat;

std::optional<std::int32_t> ParseInteger(std::wstring_view value) {
  const std::wstring trimmed = text::Trim(value);
  std::wstring_view s = trimmed;
  bool negative = false;
  if (!s.empty() && (s.front() == L'+' || s.front() == L'-')) {
    negative = s.front() == L'-';
    s.remove_prefix(1);
  }
  if (s.starts_with(L"0x") || s.starts_with(L"0X") || s.starts_with(L"$")) {
    s.remove_prefix(s.front() == L'$' ? 1 : 2);
    const auto magnitude = Magnitude(s, 16, 0xFFFFFFFFull);
    if (!magnitude) return std::nullopt;
    const auto bits = static_cast<std::uint32_t>(negative ? 0u - *magnitude : *magnitude);
    return static_cast<std::int32_t>(bits);
  }
  const auto magnitude = Magnitude(s, 10, negative ? 0x80000000ull : 0x7FFFFFFFull);
  if (!magnitude) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(*magnitude) : *magnitude);
}

std::optional<bool> ParseBoolean(std::wstring_view value) {
  const auto number = ParseInteger(value);
  if (!number) return std::nullopt;
  return *number != 0;
}

std::optional<double> ParseReal(std::wstring_view value) {
  const auto ascii = Ascii(text::Trim(value));
  if (!ascii || !IsRealSyntax(*ascii)) return std::nullopt;
  std::string_view s = *ascii;
  if (s.front() == '+') s.remove_prefix(1);  // from_chars takes no plus sign
  double result = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), result, std::chars_format::general);
  if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(result)) return std::nullopt;
  return result;
}

void SetSuiteNumberFormat() {
  ProcessNumberFormat.DecimalSeparator = L'.';
  ProcessNumberFormat.ThousandSeparator = L' ';
  std::setlocale(LC_NUMERIC, "C");
}

void ReadSettings(TSettings& s, const ini::ProfileReader& file, const std::wstring& customer) {
  const TSettings d;  // the defaults
  const KeyReader read(file);
  s.forZOD = false;
  s.forGE = read.Boolean(L"forGE", d.forGE);
  s.Person = 0;

  s.FilterType = read.Small(L"FilterType", d.FilterType, 255);
  s.DefaultRegType = read.Small(L"DefaultRegType", d.DefaultRegType, kRegTypeCount - 1);
  s.doformshow = read.Boolean(L"doformshow", d.doformshow);
  s.DebugPrint = read.Boolean(L"DebugPrint", d.DebugPrint);
  s.DebugMy = read.Boolean(L"DebugMy", d.DebugMy);
  s.MinmVEnabled = read.Boolean(L"MinmVEnabled", d.MinmVEnabled);
  s.PoverkaView = read.Boolean(L"PoverkaView", d.PoverkaView);
  s.HviewDebug = read.Boolean(L"HviewDebug", d.HviewDebug);
  s.ECGAtRestWork = read.Boolean(L"ECGAtRestWork", d.ECGAtRestWork);
  s.OnlyDecode = read.Boolean(L"onlydecode", d.OnlyDecode);
  s.SaveSwap = read.Boolean(L"saveswap", d.SaveSwap);

  s.Customer = customer;

  s.ChannelGain = read.Real(L"Channel1Gain", d.ChannelGain);
  s.ChannelGain12 = read.Real(L"Channel2Gain", d.ChannelGain12);
  s.GroupProcess = read.Boolean(L"GroupProcess", d.GroupProcess);
  s.EnabledScrining = read.Boolean(L"EnabledScrining", d.EnabledScrining);
  s.HardwareType = read.Integer(L"HardwareType", d.HardwareType);
  s.LanguageSetting = read.Text(L"LanguageSetting", d.LanguageSetting);
  s.New_Reg = read.Small(L"new_reg", d.New_Reg, 255);
  s.NurseMode = read.Boolean(L"NurseMode", d.NurseMode);
  s.DoctorMode = read.Boolean(L"DoctorMode", d.DoctorMode);
  s.EMIASTESTINGMODE = read.Boolean(L"EMIASTESTINGMODE", d.EMIASTESTINGMODE);
  s.EMIASEMULATINGMODE = read.Boolean(L"EMIASEMULATINGMODE", d.EMIASEMULATINGMODE);
  s.RegEmulating = read.Boolean(L"RegEmulating", d.RegEmulating);
  s.AriadnaSearchTesting = read.Boolean(L"AriadnaSearchTesting", d.AriadnaSearchTesting);
  s.UserIsMS = read.Boolean(L"UserIsMS", d.UserIsMS);
  s.PraktikaSearchTesting = read.Boolean(L"PraktikaSearchTesting", d.PraktikaSearchTesting);
  s.PraktikaTesting = read.Boolean(L"PraktikaTesting", d.PraktikaTesting);
}

}  // namespace settings
