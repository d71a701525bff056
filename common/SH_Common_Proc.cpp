#include "common/SH_Common_Proc.h"

#include "common/Handles.h"
#include "common/TextUtil.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace {

ExitWindowsExFn g_exitWindowsEx = ::ExitWindowsEx;

// The shell wants each list ended by two zero characters.
std::vector<wchar_t> DoubleZeroTerminated(const std::wstring& path) {
  std::vector<wchar_t> list(path.begin(), path.end());
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// True when every file and folder below `source` is also below `dest`.
bool TreeIsPresent(const std::wstring& source, const std::wstring& dest) {
  WIN32_FIND_DATAW data;
  win::UniqueFind find(::FindFirstFileW((source + L"\\*").c_str(), &data));
  if (!find) return true;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring from = source + L"\\" + name;
    const std::wstring to = dest + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!IsFolder(to) || !TreeIsPresent(from, to)) return false;
    } else if (::GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES) {
      return false;
    }
  } while (::FindNextFileW(find.get(), &data));
  return true;
}

}  // namespace

std::wstring LoadResourceText(HINSTANCE instance, unsigned id) {
  wchar_t buffer[255];
  const int length = ::LoadStringW(instance, id, buffer, 255);
  return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

bool IsSmallFontsDpi(int logicalPixelsPerInch) { return logicalPixelsPerInch < 100; }

bool IsSmallFonts() {
  win::WindowDc screen(nullptr);
  return IsSmallFontsDpi(::GetDeviceCaps(screen.get(), LOGPIXELSX));
}

bool ShellCopyFolder(const std::wstring& Source, const std::wstring& Dest) {
  const std::wstring source = text::WithoutTrailingBackslash(Source);
  const std::wstring dest = text::WithoutTrailingBackslash(Dest);
  if (!IsFolder(source)) return false;

  // Copying the folder itself would put it inside an existing Dest (Windows and
  // Wine alike), and FOF_FILESONLY makes Wine skip sub-folders. So Dest is made
  // first and the source's contents ("Source\*") are copied into it: Dest ends
  // up a copy of the tree whether it existed or not. The shell still shows its
  // progress and asks before it replaces files.
  if (!IsFolder(dest) && SHCreateDirectoryExW(nullptr, dest.c_str(), nullptr) != ERROR_SUCCESS) return false;

  std::vector<wchar_t> from = DoubleZeroTerminated(source + L"\\*");
  std::vector<wchar_t> to = DoubleZeroTerminated(dest);
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = nullptr;
  operation.wFunc = FO_COPY;
  operation.pFrom = from.data();
  operation.pTo = to.data();
  operation.fFlags = FOF_NOCONFIRMMKDIR;
  const int result = ::SHFileOperationW(&operation);
  if (result != 0 || operation.fAnyOperationsAborted) return false;
  return TreeIsPresent(source, dest);
}

std::wstring GetWindowsFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return {};
  return text::WithTrailingBackslash(std::wstring(buffer, length));
}

bool ExitWindowsWithPrivilege(UINT Flags) {
  HANDLE rawToken = nullptr;
  if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) {
    win::UniqueHandle token(rawToken);
    TOKEN_PRIVILEGES privileges{};
    if (::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
  }
  return g_exitWindowsEx(Flags, 0) != FALSE;
}

ExitWindowsExFn SetExitWindowsExForTesting(ExitWindowsExFn replacement) {
  ExitWindowsExFn previous = g_exitWindowsEx;
  g_exitWindowsEx = replacement ? replacement : ::ExitWindowsEx;
  return previous;
}
