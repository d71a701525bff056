#include "common/unitMyLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/FileError.h"
#include "common/Handles.h"
#include "common/SH_Common_Var.h"
#include "common/TextEncoding.h"
#include "common/WinFiles.h"
#include "common/WinText.h"
#include "tests/win/TestSupport.h"

using namespace testsupport;

namespace {

logfmt::LogTime FixedTime() { return {2024, 3, 5, 7, 8, 9}; }

// The bytes of a literal, zeros included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

struct EventRecord {
  std::wstring source, text;
};
std::mutex g_eventsMutex;
std::vector<EventRecord> g_events;

void RecordEvent(const std::wstring& source, const std::wstring& text) {
  std::lock_guard<std::mutex> lock(g_eventsMutex);
  g_events.push_back({source, text});
}

std::string Ansi(const std::wstring& text) { return win::ToCodePage(text, CP_ACP); }

// Every test works in a program folder of its own, with a fixed clock, a fixed
// customer and the event log replaced by a recorder.
class MyLogTest : public testing::Test {
 protected:
  void SetUp() override {
    savedFolder_ = ProgramFolder;
    savedCustomer_ = CustomerName;
    ProgramFolder = folder_.path() + L"\\";
    CustomerName = L"ООО Ромашка";
    previousClock_ = SetLogClockForTesting(FixedTime);
    previousReport_ = SetEventReportForTesting(RecordEvent);
    g_events.clear();
  }
  void TearDown() override {
    SetLogClockForTesting(previousClock_);
    SetEventReportForTesting(previousReport_);
    ProgramFolder = savedFolder_;
    CustomerName = savedCustomer_;
  }

  std::wstring MainFile() const { return folder_ / L"VozoRidede.log"; }
  // The entry as the log writes it, with this user's regional separators.
  static std::wstring Entry(const std::wstring& message, const std::wstring& customer = L"ООО Ромашка") {
    return logfmt::FormatEntry(customer, FixedTime(), RegionalSeparators(), message);
  }
  static std::vector<std::wstring> FileLines(const std::wstring& path) {
    return text::SplitLines(text::DecodeText(ReadBytes(path), win::AnsiCodePage()).text);
  }

  TempFolder folder_;

 private:
  std::wstring savedFolder_, savedCustomer_;
  LogClockFn previousClock_ = nullptr;
  EventReportFn previousReport_ = nullptr;
};

}  // namespace

TEST_F(MyLogTest, RegionalSeparatorsOfARussianUser) {
  wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
  ::GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
  if (std::wstring(locale) != L"ru-RU") GTEST_SKIP() << "the test session runs with Russian regional settings";
  const logfmt::Separators separators = RegionalSeparators();
  EXPECT_EQ(separators.date, L".");
  EXPECT_EQ(separators.time, L":");
  EXPECT_EQ(Entry(L"Старт"), L"ООО Ромашка05.03.2024 07:08:09: Старт");
}

TEST_F(MyLogTest, FirstMessageCreatesAnAnsiFileInTheProgramFolder) {
  TMyLog log;
  EXPECT_EQ(log.GetLogFileName(), MainFile());
  log.AddMessage(L"Запуск программы");
  EXPECT_EQ(ReadBytes(MainFile()), Ansi(Entry(L"Запуск программы") + L"\r\n"));
  log.AddMessage(L"");
  EXPECT_EQ(ReadBytes(MainFile()), Ansi(Entry(L"") + L"\r\n" + Entry(L"Запуск программы") + L"\r\n"));
  EXPECT_TRUE(Entry(L"").ends_with(L": "));
}

TEST_F(MyLogTest, EmptyCustomerNameStartsTheLineWithTheDate) {
  CustomerName = L"";
  TMyLog log;
  log.AddMessage(L"m");
  EXPECT_EQ(ReadBytes(MainFile()), Ansi(Entry(L"m", L"") + L"\r\n"));
  EXPECT_EQ(ReadBytes(MainFile()).substr(0, 2), "05");
}

TEST_F(MyLogTest, FullLogGainsTheNewEntryAndLosesItsOldest) {
  std::string bytes;
  for (int i = 1000; i >= 1; --i) bytes += "entry " + std::to_string(i) + "\r\n";  // newest first
  WriteBytes(MainFile(), bytes);
  TMyLog log;
  log.AddMessage(L"new");
  const std::vector<std::wstring> lines = FileLines(MainFile());
  ASSERT_EQ(lines.size(), 1000u);
  EXPECT_EQ(lines[0], Entry(L"new"));
  EXPECT_EQ(lines[1], L"entry 1000");
  EXPECT_EQ(lines[999], L"entry 2");
  EXPECT_EQ(ReadBytes(MainFile()), Ansi(Entry(L"new")) + "\r\n" + bytes.substr(0, bytes.rfind("entry 1\r\n")));
}

TEST_F(MyLogTest, LogWithAByteOrderMarkStaysInItsEncoding) {
  for (text::Encoding encoding : {text::Encoding::Utf8, text::Encoding::Utf16Le, text::Encoding::Utf16Be}) {
    SCOPED_TRACE(static_cast<int>(encoding));
    WriteBytes(MainFile(), text::EncodeText(L"старая запись ✓\r\n", encoding, win::AnsiCodePage()));
    TMyLog log;
    log.AddMessage(L"новая ✓");
    EXPECT_EQ(ReadBytes(MainFile()),
              text::EncodeText(Entry(L"новая ✓") + L"\r\nстарая запись ✓\r\n", encoding, win::AnsiCodePage()));
  }
}

TEST_F(MyLogTest, EveryMessageGoesToTheEventLogWithoutDate) {
  TMyLog log;
  log.AddMessage(L"Сообщение");
  ASSERT_EQ(g_events.size(), 1u);
  EXPECT_EQ(g_events[0].source, L"Sevron-Dazide");
  EXPECT_EQ(g_events[0].text, L"ООО Ромашка: Сообщение");
}

TEST_F(MyLogTest, OnlyAdditionalFileWithoutOneChangesNoFileButReachesTheEventLog) {
  TMyLog log;
  log.AddMessage(L"x", true);
  EXPECT_FALSE(Exists(MainFile()));
  ASSERT_EQ(g_events.size(), 1u);
  EXPECT_EQ(g_events[0].text, L"ООО Ромашка: x");
}

TEST_F(MyLogTest, AdditionalFileGetsTheSameEntries) {
  const std::wstring additional = folder_ / L"Дополнительный.log";
  WriteBytes(additional, "older\r\n");
  TMyLog log;
  log.SetAddLogFileName(additional);
  EXPECT_EQ(log.GetAddLogFileName(), additional);
  log.AddMessage(L"both");
  log.AddMessage(L"additional only", true);
  EXPECT_EQ(ReadBytes(MainFile()), Ansi(Entry(L"both") + L"\r\n"));
  EXPECT_EQ(ReadBytes(additional), Ansi(Entry(L"additional only") + L"\r\n" + Entry(L"both") + L"\r\nolder\r\n"));
  EXPECT_EQ(g_events.size(), 2u);
}

TEST_F(MyLogTest, SettingAFileNameReloadsItsLines) {
  const std::wstring other = folder_ / L"other.log";
  WriteBytes(other, "line from disk\r\n");
  TMyLog log;
  log.AddMessage(L"in the first file");
  log.SetLogFileName(other);
  log.AddMessage(L"second");
  EXPECT_EQ(ReadBytes(other), Ansi(Entry(L"second") + L"\r\nline from disk\r\n"));
  EXPECT_EQ(ReadBytes(MainFile()), Ansi(Entry(L"in the first file") + L"\r\n"));
}

TEST_F(MyLogTest, ByteArrayIsOneEntryWithTheWholeDump) {
  TLogByteArray bytes{};
  bytes[0] = 0xAB;
  bytes[32767] = 0x01;
  TMyLog log;
  log.AddByteArray(L"Пакет: ", bytes);
  const std::vector<std::wstring> lines = FileLines(MainFile());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), Entry(L"Пакет: ").size() + 98304u);
  EXPECT_TRUE(lines[0].starts_with(Entry(L"Пакет: AB 00 00 ")));
  EXPECT_TRUE(lines[0].ends_with(L"00 01 "));
}

TEST_F(MyLogTest, MessageWithLineBreaksTakesSeveralLines) {
  TMyLog log;
  log.AddMessage(L"first\nsecond");
  EXPECT_EQ(ReadBytes(MainFile()), Ansi(Entry(L"first") + L"\r\nsecond\r\n"));
}

TEST_F(MyLogTest, DestroyingAtOnceChangesNothing) {
  { TMyLog log; }
  EXPECT_FALSE(Exists(MainFile()));
  WriteBytes(MainFile(), "kept as it is\n\n");
  { TMyLog log; }
  EXPECT_EQ(ReadBytes(MainFile()), "kept as it is\n\n");
}

TEST_F(MyLogTest, DamagedOrLockedLogFilesDoNotStopTheLog) {
  WriteBytes(MainFile(), Bytes("\0\x01\xC0\xFF garbage\rmore"));
  {
    TMyLog log;
    log.AddMessage(L"after damage");
    EXPECT_EQ(ReadBytes(MainFile()),
              Ansi(Entry(L"after damage")) + "\r\n" + Bytes("\0\x01\xC0\xFF garbage\r\nmore\r\n"));
  }
  win::UniqueFile holder(
      ::CreateFileW(MainFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  TMyLog locked;  // cannot be read: starts empty
  holder.reset();
  locked.AddMessage(L"fresh");
  EXPECT_EQ(ReadBytes(MainFile()), Ansi(Entry(L"fresh") + L"\r\n"));
}

TEST_F(MyLogTest, FailedSaveRaisesKeepsTheEntryAndSkipsTheRest) {
  const std::wstring additional = folder_ / L"additional.log";
  const std::wstring unreachable = folder_ / L"missing\\VozoRidede.log";
  TMyLog log;
  log.SetAddLogFileName(additional);
  log.SetLogFileName(unreachable);
  try {
    log.AddMessage(L"lost?");
    FAIL() << "no error";
  } catch (const files::FileError& error) {
    EXPECT_EQ(Utf16(error.what()),
              L"Cannot create file \"" + unreachable + L"\". " + win::SystemErrorText(ERROR_PATH_NOT_FOUND));
  }
  EXPECT_FALSE(Exists(additional));
  EXPECT_TRUE(g_events.empty());

  MakeFolders(folder_ / L"missing");
  log.AddMessage(L"next");  // the lock was released, and the first entry is still in memory
  EXPECT_EQ(ReadBytes(unreachable), Ansi(Entry(L"next") + L"\r\n" + Entry(L"lost?") + L"\r\n"));
}

TEST_F(MyLogTest, LogFileHeldByAnotherProgramRaises) {
  WriteBytes(MainFile(), "old\r\n");
  TMyLog log;
  win::UniqueFile holder(
      ::CreateFileW(MainFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  EXPECT_THROW(log.AddMessage(L"m"), files::FileError);
  holder.reset();
  EXPECT_EQ(ReadBytes(MainFile()), "old\r\n");
  EXPECT_TRUE(g_events.empty());
}

TEST_F(MyLogTest, EntriesFromSeveralThreadsAreNeverInterleaved) {
  constexpr int kThreads = 8;
  constexpr int kMessages = 60;
  TMyLog log;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int m = 0; m < kMessages; ++m)
        log.AddMessage(L"поток " + std::to_wstring(t) + L" сообщение " + std::to_wstring(m));
    });
  }
  for (auto& thread : threads) thread.join();

  const std::vector<std::wstring> lines = FileLines(MainFile());
  ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kMessages));
  std::set<std::wstring> expected;
  for (int t = 0; t < kThreads; ++t)
    for (int m = 0; m < kMessages; ++m)
      expected.insert(Entry(L"поток " + std::to_wstring(t) + L" сообщение " + std::to_wstring(m)));
  EXPECT_EQ(std::set<std::wstring>(lines.begin(), lines.end()), expected);
  // Each thread's entries appear newest first.
  for (int t = 0; t < kThreads; ++t) {
    int previous = kMessages;
    for (const std::wstring& line : lines) {
      const std::wstring prefix = Entry(L"поток " + std::to_wstring(t) + L" сообщение ");
      if (!line.starts_with(prefix)) continue;
      const int m = std::stoi(line.substr(prefix.size()));
      EXPECT_LT(m, previous);
      previous = m;
    }
  }
  EXPECT_EQ(g_events.size(), static_cast<size_t>(kThreads * kMessages));
}

TEST_F(MyLogTest, RealEventLogReportIsHarmless) {
  SetEventReportForTesting(nullptr);
  TMyLog log;
  EXPECT_NO_THROW(log.AddMessage(L"в журнал событий"));
  TLogByteArray bytes{};
  EXPECT_NO_THROW(log.AddByteArray(L"too long for one event string: ", bytes));
}
