#include "common/LogFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using logfmt::LogTime;
using logfmt::Separators;

TEST(LogFormat, EntryIsCustomerDateTimeColonMessage) {
  struct Case {
    std::wstring customer;
    LogTime time;
    Separators separators;
    std::wstring message;
    std::wstring entry;
  };
  const std::vector<Case> cases = {
      {L"ООО Ромашка", {2024, 3, 5, 7, 8, 9}, {L".", L":"}, L"Запуск", L"ООО Ромашка05.03.2024 07:08:09: Запуск"},
      {L"Clinic", {1999, 12, 31, 23, 59, 58}, {L"/", L":"}, L"x", L"Clinic31/12/1999 23:59:58: x"},
      {L"", {2024, 11, 1, 0, 0, 0}, {L"-", L"."}, L"m", L"01-11-2024 00.00.00: m"},
      {L"C", {800, 1, 2, 3, 4, 5}, {L".", L":"}, L"", L"C02.01.0800 03:04:05: "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(logfmt::FormatEntry(c.customer, c.time, c.separators, c.message), c.entry);
  }
  EXPECT_EQ(logfmt::EventText(L"ООО Ромашка", L"Запуск"), L"ООО Ромашка: Запуск");
}

TEST(LogFormat, NewestEntryGoesFirstAndTheOldestOneOut) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < 1000; ++i) lines.push_back(L"entry " + std::to_wstring(999 - i));  // newest first
  logfmt::AddNewest(lines, L"new", logfmt::kLogMaxSize);
  ASSERT_EQ(lines.size(), 1000u);
  EXPECT_EQ(lines.front(), L"new");
  EXPECT_EQ(lines[1], L"entry 999");
  EXPECT_EQ(lines.back(), L"entry 1");

  std::vector<std::wstring> few = {L"b"};
  logfmt::AddNewest(few, L"a", logfmt::kLogMaxSize);
  EXPECT_EQ(few, (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(LogFormat, ByteDumpCoversTheWholeArray) {
  logfmt::ByteArray bytes{};
  bytes[0] = 0x00;
  bytes[1] = 0xAB;
  bytes[2] = 0x0F;
  bytes[logfmt::kByteArraySize - 1] = 0xFF;
  const std::wstring dump = logfmt::ByteDump(L"Блок: ", bytes);
  ASSERT_EQ(dump.size(), 6u + 98304u);
  EXPECT_EQ(dump.substr(0, 18), L"Блок: 00 AB 0F 00 ");
  EXPECT_EQ(dump.substr(dump.size() - 6), L"00 FF ");
  for (size_t i = 6; i < dump.size(); i += 3) ASSERT_EQ(dump[i + 2], L' ') << i;
}

TEST(LogFormat, SeparatorsComeFromTheRegionalFormats) {
  struct Case {
    std::wstring format, separator;
  };
  for (const Case& c : {Case{L"dd.MM.yyyy", L"."}, Case{L"M/d/yyyy", L"/"}, Case{L"yyyy-MM-dd", L"-"},
                        Case{L"dd MMMM yyyy", L""}, Case{L"", L""}}) {
    EXPECT_EQ(logfmt::DateSeparatorOf(c.format), c.separator) << text::ToUtf8(c.format);
  }
  for (const Case& c : {Case{L"H:mm:ss", L":"}, Case{L"HH.mm.ss", L"."}, Case{L"h:mm:ss tt", L":"}}) {
    EXPECT_EQ(logfmt::TimeSeparatorOf(c.format), c.separator) << text::ToUtf8(c.format);
  }
}

TEST(LogFormat, LogFileKeepsItsEncoding) {
  for (text::Encoding encoding :
       {text::Encoding::Ansi, text::Encoding::Utf8, text::Encoding::Utf16Le, text::Encoding::Utf16Be}) {
    SCOPED_TRACE(static_cast<int>(encoding));
    const std::string before = text::EncodeText(L"второе\r\nпервое\r\n", encoding, text::Cp1251());
    logfmt::LogLines log = logfmt::ParseLogFile(before, text::Cp1251(), logfmt::kLogMaxSize);
    EXPECT_EQ(log.encoding, encoding);
    logfmt::AddNewest(log.lines, L"третье", logfmt::kLogMaxSize);
    EXPECT_EQ(logfmt::RenderLogFile(log, text::Cp1251()),
              text::EncodeText(L"третье\r\nвторое\r\nпервое\r\n", encoding, text::Cp1251()));
  }
}

TEST(LogFormat, NewLogFileIsAnsiWithCrLf) {
  const logfmt::LogLines log{{L"Клиника01.02.2024 10:11:12: Старт", L"b"}, text::Encoding::Ansi};
  EXPECT_EQ(logfmt::RenderLogFile(log, text::Cp1251()),
            "\xCA\xEB\xE8\xED\xE8\xEA\xE0"
            "01.02.2024 10:11:12: \xD1\xF2\xE0\xF0\xF2\r\nb\r\n");
}

TEST(LogFormat, MessageWithLineBreaksTakesSeveralLinesOfTheFile) {
  const logfmt::LogLines log{{L"one\ntwo\r\nthree\rfour"}, text::Encoding::Ansi};
  const std::string bytes = logfmt::RenderLogFile(log, text::Cp1251());
  EXPECT_EQ(bytes, "one\r\ntwo\r\nthree\r\nfour\r\n");
  EXPECT_EQ(logfmt::ParseLogFile(bytes, text::Cp1251(), logfmt::kLogMaxSize).lines.size(), 4u);
}

TEST(LogFormat, DamagedLogFilesAreReadWithoutFailing) {
  struct Case {
    std::string bytes;
    std::vector<std::wstring> lines;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {std::string("\0\x01\xFF\r\n\r\n", 7), {std::wstring(L"\0\x01я", 3), L""}},
      {"\xEF\xBB\xBF\xC3", {L"\uFFFD"}},
      {"\xFE\xFF\x04", {L"\uFFFD"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(logfmt::ParseLogFile(c.bytes, text::Cp1251(), logfmt::kLogMaxSize).lines, c.lines);
  }
  std::string many;
  for (int i = 0; i < 1500; ++i) many += "line " + std::to_string(i) + "\r\n";
  const auto log = logfmt::ParseLogFile(many, text::Cp1251(), logfmt::kLogMaxSize);
  ASSERT_EQ(log.lines.size(), 1000u);
  EXPECT_EQ(log.lines.back(), L"line 999");
}
