#include "install/DatabaseRuntime.h"

#include "common/TextUtil.h"
#include "common/WinText.h"
#include "install/CreateNSI.h"
#include "install/EngineError.h"
#include "install/RuntimeFiles.h"

#include <windows.h>

#include <optional>
#include <span>

namespace {

constexpr wchar_t kCopyLine[] = L"Копирование файла ";
constexpr wchar_t kCopyLineEnd[] = L"....";
constexpr wchar_t kDone[] = L"Завершено";
constexpr wchar_t kFailed[] = L"ОШИБКА!!!";
// Tries for a free name for the kept database before giving up.
constexpr int kKeptNameAttempts = 100;

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDatabaseFolder(IInstallerView& view, const std::wstring& target) {
  const std::wstring folder = target + runtime::kDatabaseFolder;
  if (IsFolder(folder)) return true;
  if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
    const std::wstring message = L"Ошибка при создании каталога <DTAfb>!";
    view.ShowError(message);
    view.AddLine(message);
    return false;
  }
  view.AddLine(L"Каталог <DTAfb> создан...");
  view.ProcessMessages();
  return true;
}

runtime::LocalTime Now() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// Renames `database` to a free kept name in its own folder and returns the
// kept path. A rename, not a copy: the file may be many gigabytes, and a
// rename within one folder cannot fail half-way.
std::wstring SetDatabaseAside(const std::wstring& database) {
  const std::wstring folder = text::FolderOf(database);
  const runtime::LocalTime now = Now();
  DWORD error = ERROR_ALREADY_EXISTS;
  std::wstring kept;
  for (int attempt = 1; attempt <= kKeptNameAttempts && error == ERROR_ALREADY_EXISTS; ++attempt) {
    kept = folder + runtime::KeptFileName(text::NameOf(database), now, attempt);
    // No MOVEFILE_REPLACE_EXISTING (an earlier kept file is never replaced)
    // and no MOVEFILE_COPY_ALLOWED (never a copy).
    error = ::MoveFileExW(database.c_str(), kept.c_str(), 0) ? ERROR_SUCCESS : ::GetLastError();
    if (error == ERROR_FILE_EXISTS) error = ERROR_ALREADY_EXISTS;
  }
  if (error != ERROR_SUCCESS)
    throw EngineError(L"Не удалось сохранить прежний файл базы данных \"" + database + L"\" под именем \"" + kept +
                      L"\". " + win::SystemErrorText(error));
  return kept;
}

// Puts a kept database back where a failed copy left no file.
bool PutBack(const std::wstring& kept, const std::wstring& database) {
  return !IsFile(database) && ::MoveFileExW(kept.c_str(), database.c_str(), 0);
}

bool CopyDatabaseFile(IInstallerView& view, const std::wstring& source, const std::wstring& target) {
  const std::wstring name = runtime::kDatabaseFile;
  const std::wstring from = source + runtime::kDatabaseFolder + name;
  const std::wstring to = target + runtime::kDatabaseFolder + name;
  const std::wstring line = kCopyLine + name + kCopyLineEnd;
  const int index = view.AddLine(line);
  view.ProcessMessages();
  std::optional<std::wstring> kept;
  if (IsFile(to)) kept = SetDatabaseAside(to);
  bool copied = false;
  try {
    copied = CopyOneFile(from, to);
  } catch (...) {
    if (kept) PutBack(*kept, to);
    throw;
  }
  if (!copied && kept && PutBack(*kept, to)) kept.reset();
  view.ChangeLine(index, line + (copied ? kDone : kFailed));
  if (kept)
    view.AddLine(L"Прежний файл базы данных сохранён: " + std::wstring(runtime::kDatabaseFolder) +
                 text::NameOf(*kept));
  return copied;
}

// Copy steps for `names` from `from` to `to`; the first false result ends the list.
bool CopyAll(IInstallerView& view, std::span<const wchar_t* const> names, const std::wstring& from,
             const std::wstring& to) {
  for (const wchar_t* name : names)
    if (!CopyStep(view, name, from + name, to + name)) return false;
  return true;
}

}  // namespace

bool CopyStep(IInstallerView& view, const std::wstring& name, const std::wstring& source, const std::wstring& target) {
  const std::wstring line = kCopyLine + name + kCopyLineEnd;
  const int index = view.AddLine(line);
  view.ProcessMessages();
  const bool copied = CopyOneFile(source, target);
  view.ChangeLine(index, line + (copied ? kDone : kFailed));
  return copied;
}

bool DeployDatabaseRuntime(IInstallerView& view, const std::wstring& source, const std::wstring& target, int variant) {
  if (!MakeDatabaseFolder(view, target)) return false;
  if (!CopyDatabaseFile(view, source, target)) return false;
  const std::wstring engine = source + L"Firebird\\";
  if (!CopyAll(view, runtime::RuntimeFiles(variant), engine, target)) return false;
  // The outcome of these two is not examined: a folder that could not be made
  // shows up as the next copy's "Cannot create file".
  EnsureFolder(target + L"intl\\");
  if (!CopyAll(view, runtime::kIntlFiles, engine + L"intl\\", target + L"intl\\")) return false;
  EnsureFolder(target + L"udf\\");
  if (!CopyAll(view, runtime::kUdfFiles, engine + L"udf\\", target + L"udf\\")) return false;
  // The suite's libraries: a failed copy only marks its line.
  for (const wchar_t* name : runtime::kLibraries)
    CopyStep(view, name, source + L"UDF\\" + name, target + L"udf\\" + name);
  return true;
}
