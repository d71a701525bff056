// The suite log's file format, without the platform: the text of one entry,
// the newest-first list of lines with its bound, the hex dump of a byte block,
// and the lines of a log file with its encoding.
//
// Entry: customer name, date and time ("DD/MM/YYYY HH:NN:SS" with the user's
// date and time separators in place of "/" and ":"), ": ", message.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextEncoding.h"

namespace logfmt {

struct LogTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

struct Separators {
  std::wstring date = L"/";
  std::wstring time = L":";
};

inline constexpr std::size_t kLogMaxSize = 1000;
inline constexpr std::size_t kByteArraySize = 32768;
using ByteArray = std::array<std::uint8_t, kByteArraySize>;

// "DD/MM/YYYY HH:NN:SS" with the given separators.
std::wstring FormatDateTime(const LogTime& t, const Separators& separators);

std::wstring FormatEntry(std::wstring_view customer, const LogTime& t, const Separators& separators,
                         std::wstring_view message);

// The event-log text: customer, ": ", message (no date and time).
std::wstring EventText(std::wstring_view customer, std::wstring_view message);

// Puts `entry` first and drops the oldest lines at the end beyond `maxLines`.
void AddNewest(std::vector<std::wstring>& lines, std::wstring entry, std::size_t maxLines);

// `message` followed by every byte as two upper-case hex digits and a blank.
std::wstring ByteDump(std::wstring_view message, const ByteArray& bytes);

// The separator a date or time format uses: the first character that is not a
// field letter, a quote or a blank ("dd.MM.yyyy" gives "."; "H:mm:ss" gives
// ":"). Empty when the format shows none.
std::wstring DateSeparatorOf(std::wstring_view shortDateFormat);
std::wstring TimeSeparatorOf(std::wstring_view timeFormat);

// The lines of a log file and the encoding it was read in.
struct LogLines {
  std::vector<std::wstring> lines;
  text::Encoding encoding = text::Encoding::Ansi;
};

// Reads the bytes of a log file; at most `maxLines` lines are kept (the newest,
// at the top), since older ones would be dropped by the next entry anyway.
LogLines ParseLogFile(std::string_view bytes, const text::AnsiCodec& ansi, std::size_t maxLines);

// The bytes of a log file: every line followed by CR LF, in the file's
// encoding. A message with line breaks of its own is written with CR LF
// between its lines too, so the whole file keeps one kind of line end.
std::string RenderLogFile(const LogLines& log, const text::AnsiCodec& ansi);

}  // namespace logfmt
