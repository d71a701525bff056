// Reading the suite settings from the section "options" of vavova.ini: the value
// syntax of its keys and the order in which they are read. Every value that is
// missing or does not parse leaves its field at the default.
//
// Values that do not fit their field count as missing too: "FilterType" and
// "new_reg" outside 0..255 (8-bit fields) and "DefaultRegType" outside 0..7
// (the recorder types); such a field keeps its default instead of a value cut
// to 8 bits that would name some other filter or recorder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/ProfileReader.h"
#include "common/SH_Common_Types.h"

namespace settings {

// Integer: an optional sign, then decimal digits, or hexadecimal digits after
// "0x", "0X" or "$". Decimal values must lie in the 32-bit signed range; hex
// values take up to 32 bits and are read as a 32-bit two's-complement number
// ($FFFFFFFF is -1). Blanks around the number are allowed; nothing else is.
std::optional<std::int32_t> ParseInteger(std::wstring_view value);

// Boolean: an integer, 0 false and any other value true.
std::optional<bool> ParseBoolean(std::wstring_view value);

// Real: optional blanks, an optional sign, digits with "." as the decimal
// separator (".5" and "5." included), an optional exponent ("1.5E3"), optional
// blanks. The user's regional settings play no part. Values beyond the range of
// a 64-bit real are malformed.
std::optional<double> ParseReal(std::wstring_view value);

// The process-wide number format the suite's programs format and parse numbers
// with.
struct NumberFormat {
  wchar_t DecimalSeparator = L'.';
  wchar_t ThousandSeparator = L' ';
};
extern NumberFormat ProcessNumberFormat;

// Sets the process-wide number format: "." as decimal separator and a blank as
// thousands separator, whatever the user's regional settings are. The C
// runtime's numeric locale is pinned to "C" for the same reason.
void SetSuiteNumberFormat();

// Fills `s` from the section "options" in the fixed reading order; `customer`
// becomes `Customer`. A key that is missing or unreadable gives its field the
// default, also when the record held another value before. Fields that are not
// read (HViewType, CorrectProbeli) keep what they hold.
void ReadSettings(TSettings& s, const ini::ProfileReader& file, const std::wstring& customer);

}  // namespace settings
