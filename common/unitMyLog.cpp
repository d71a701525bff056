#include "common/unitMyLog.h"

#include <utility>

#include "common/Handles.h"
#include "common/SH_Common_Var.h"
#include "common/WinFiles.h"

TMyLog* MyLog = nullptr;

namespace {

const wchar_t kEventSource[] = L"Sevron-Dazide";

logfmt::LogTime LocalTime() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// One information event (type 4, category 0, identifier 0) with one insertion
// string. A new source handle per message; every failure is ignored.
void ReportToEventLog(const std::wstring& source, const std::wstring& text) {
  win::UniqueEventSource eventSource(::RegisterEventSourceW(nullptr, source.c_str()));
  if (!eventSource) return;
  const wchar_t* strings[] = {text.c_str()};
  ::ReportEventW(eventSource.get(), EVENTLOG_INFORMATION_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr);
}

LogClockFn g_clock = nullptr;
EventReportFn g_report = nullptr;

std::wstring LocaleText(LCTYPE type) {
  wchar_t buffer[80];
  const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 80);
  return length > 1 ? std::wstring(buffer, length - 1) : std::wstring();
}

// The lines of a log file; a missing or unreadable file gives none, so that a
// damaged log never stops a program from starting.
logfmt::LogLines LoadLog(const std::wstring& fileName) {
  try {
    if (auto bytes = win::ReadWholeFile(fileName)) {
      return logfmt::ParseLogFile(*bytes, win::AnsiCodePage(), logfmt::kLogMaxSize);
    }
  } catch (const std::exception&) {
  }
  return {};
}

}  // namespace

logfmt::Separators RegionalSeparators() {
  logfmt::Separators separators;
  std::wstring date = LocaleText(LOCALE_SDATE);
  if (date.empty()) date = logfmt::DateSeparatorOf(LocaleText(LOCALE_SSHORTDATE));
  if (!date.empty()) separators.date = date;
  std::wstring time = LocaleText(LOCALE_STIME);
  if (time.empty()) time = logfmt::TimeSeparatorOf(LocaleText(LOCALE_STIMEFORMAT));
  if (!time.empty()) separators.time = time;
  return separators;
}

LogClockFn SetLogClockForTesting(LogClockFn clock) { return std::exchange(g_clock, clock); }

EventReportFn SetEventReportForTesting(EventReportFn report) { return std::exchange(g_report, report); }

TMyLog::TMyLog() : LogFileName(ProgramFolder + L"VozoRidede.log"), List(LoadLog(LogFileName)) {}

void TMyLog::SetLogFileName(const std::wstring& value) {
  LogFileName = value;
  LogMaxSize = static_cast<std::int32_t>(logfmt::kLogMaxSize);
  List = LoadLog(value);
}

void TMyLog::SetAddLogFileName(const std::wstring& value) {
  AddLogFilename = value;
  AddList = std::make_unique<logfmt::LogLines>(LoadLog(value));
}

void TMyLog::AddEntry(logfmt::LogLines& log, const std::wstring& fileName, const std::wstring& message) {
  const logfmt::LogTime now = g_clock ? g_clock() : LocalTime();
  logfmt::AddNewest(log.lines, logfmt::FormatEntry(CustomerName, now, RegionalSeparators(), message),
                    static_cast<size_t>(LogMaxSize));
  win::WriteWholeFile(fileName, logfmt::RenderLogFile(log, win::AnsiCodePage()));
}

void TMyLog::AddMessage(const std::wstring& Message, bool OnlyAddLogfile) {
  {
    win::CriticalSectionLock guard(Lock);
    if (!OnlyAddLogfile) AddEntry(List, LogFileName, Message);
    if (!AddLogFilename.empty() && AddList) AddEntry(*AddList, AddLogFilename, Message);
  }
  (g_report ? g_report : ReportToEventLog)(kEventSource, logfmt::EventText(CustomerName, Message));
}

void TMyLog::AddByteArray(const std::wstring& Message, const TLogByteArray& BA) {
  AddMessage(logfmt::ByteDump(Message, BA), false);
}
