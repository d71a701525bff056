// unitMyLog: the suite's log. A bounded text file with the newest entry in its
// first line, optionally a second ("additional") file with the same entries,
// and a copy of every message in the Windows event log (source
// "Sevron-Dazide"). The in-memory lines are the master copy: every message
// rewrites the whole file from them.
//
// Entry: CustomerName, the local date and time as "DD/MM/YYYY HH:NN:SS" with
// the user's regional date and time separators, ": ", the message. Files keep
// at most 1000 lines, end every line in CR LF, and keep the encoding they were
// read in (byte-order mark; a new file is in the ANSI code page).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/CriticalSection.h"
#include "common/LogFormat.h"

using TLogByteArray = logfmt::ByteArray;  // exactly 32768 bytes

class TMyLog {
 public:
  // The main file is ProgramFolder + "VozoRidede.log"; its lines are loaded if
  // it exists. A log file that cannot be read counts as empty.
  TMyLog();
  TMyLog(const TMyLog&) = delete;
  TMyLog& operator=(const TMyLog&) = delete;
  // Writes and saves nothing: the files are up to date after every message.
  ~TMyLog() = default;

  // Makes `value` the main file and loads its lines (none if it does not exist).
  void SetLogFileName(const std::wstring& value);
  // Makes `value` the additional file and loads its lines.
  void SetAddLogFileName(const std::wstring& value);
  const std::wstring& GetLogFileName() const { return LogFileName; }
  const std::wstring& GetAddLogFileName() const { return AddLogFilename; }

  // Adds one entry to the main file (unless `OnlyAddLogfile`) and to the
  // additional file (if one is set), then reports the message to the event log.
  // May be called from any thread. A file that cannot be written raises
  // files::FileError; the entry then stays in memory, and neither the
  // additional file nor the event log gets it.
  void AddMessage(const std::wstring& Message, bool OnlyAddLogfile = false);

  // Adds `Message` followed by a hex dump of all 32768 bytes of `BA`.
  void AddByteArray(const std::wstring& Message, const TLogByteArray& BA);

  std::uint8_t LogType = 0;  // no operation reads or changes it

 private:
  void AddEntry(logfmt::LogLines& log, const std::wstring& fileName, const std::wstring& message);

  win::CriticalSection Lock;
  std::wstring LogFileName;
  std::wstring AddLogFilename;
  std::int32_t LogMaxSize = static_cast<std::int32_t>(logfmt::kLogMaxSize);
  logfmt::LogLines List;
  std::unique_ptr<logfmt::LogLines> AddList;
};

// The log of the process: created at start-up, destroyed at program end
// (CommonStartup.h). Null outside that time.
extern TMyLog* MyLog;

// The user's regional date and time separators (LOCALE_SDATE and LOCALE_STIME,
// or what the short date and time formats show, "/" and ":" failing both).
logfmt::Separators RegionalSeparators();

// Test seams: the clock the entries are dated with (nullptr: the local time)
// and the event-log report (nullptr: ReportEventW). Each returns the previous one.
using LogClockFn = logfmt::LogTime (*)();
LogClockFn SetLogClockForTesting(LogClockFn clock);
using EventReportFn = void (*)(const std::wstring& source, const std::wstring& text);
EventReportFn SetEventReportForTesting(EventReportFn report);
