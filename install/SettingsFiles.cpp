#include "install/SettingsFiles.h"

#include "common/Handles.h"
#include "common/SH_Common_Const.h"
#include "common/WinIniFile.h"
#include "install/CreateNSI.h"
#include "install/LastNumRecord.h"

#include <windows.h>

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

lastnum::LastNumRecord RecordForNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  lastnum::LastNumRecord record;
  record.dateTime = lastnum::DateTimeValue(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                                           now.wMilliseconds);
  return record;
}

}  // namespace

void WriteSuiteSettings(const std::wstring& target) {
  const std::wstring folder = target + SettingsFolder;
  EnsureFolder(folder);
  ini::WriteIniValues(folder + L"vavova.ini", L"options", {{L"FilterType", L"0"}, {L"HardwareType", L"1"}});
}

void WriteLastNumber(const std::wstring& target) {
  const std::wstring folder = target + SettingsFolder;
  if (!IsFolder(folder)) return;
  // CREATE_NEW: an existing record is the suite's own and is never replaced.
  win::UniqueFile file(::CreateFileW((folder + L"lastnum.dta").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const auto bytes = lastnum::Encode(RecordForNow());
  DWORD written = 0;
  ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void WriteSiblingSettings(const std::wstring& target) {
  ini::WriteIniValues(target + L"btooth.ini", L"Common", {{L"Disk", L"I"}});
}

void MakeUpdaterFilesWritable(const std::wstring& target) {
  SetReadOnly(target + L"ReleaseInfo", false);
  SetReadOnly(target + L"Updater.exe.cfg", false);
}
