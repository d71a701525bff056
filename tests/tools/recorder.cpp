// Test stand-in for outside programs (an installer, a script's program): writes
// how it was started into "<own path>.log" and exits with the number found in
// "<own path>.exitcode" (0 when there is none).
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::wstring OwnPath() {
  wchar_t buffer[32768];
  const DWORD length = ::GetModuleFileNameW(nullptr, buffer, 32768);
  return std::wstring(buffer, length);
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

void Append(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

UINT ExitCode(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  char buffer[32] = {};
  DWORD read = 0;
  ::ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
  ::CloseHandle(file);
  return static_cast<UINT>(std::strtol(buffer, nullptr, 10));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring self = OwnPath();
  STARTUPINFOW startup{sizeof(startup)};
  ::GetStartupInfoW(&startup);
  wchar_t folder[32768];
  const DWORD folderLength = ::GetCurrentDirectoryW(32768, folder);
  const int showMode = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  std::string record = "cmdline=" + Utf8(::GetCommandLineW()) + "\r\n";
  record += "show=" + std::to_string(showMode) + "\r\n";
  record += "folder=" + Utf8(std::wstring(folder, folderLength)) + "\r\n";
  Append(self + L".log", record);
  return static_cast<int>(ExitCode(self + L".exitcode"));
}
