// What the benchmarks share: the clock, the memory counters, the program
// measuring itself in a child process of its own (so that each memory peak
// belongs to one run alone) with its figures handed back through a small file,
// starting other programs and waiting for them, and removing a tree.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace bench {

inline constexpr uint64_t MiB = 1024 * 1024;

inline double AsMiB(long long bytes) { return static_cast<double>(bytes) / static_cast<double>(MiB); }

inline PROCESS_MEMORY_COUNTERS_EX Memory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
  return counters;
}

// Seconds on the performance counter.
inline double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / frequency;
}

inline double MedianOf(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline double BestOf(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// One argument of a command line: a path ending in a backslash needs that
// backslash doubled, or it would escape the closing quotation mark.
inline std::wstring Quoted(const std::wstring& s) {
  std::wstring quoted = L"\"" + s;
  for (size_t i = s.size(); i > 0 && s[i - 1] == L'\\'; --i) quoted += L'\\';
  return quoted + L"\"";
}

inline std::wstring SelfPath() {
  wchar_t path[MAX_PATH];
  return std::wstring(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
}

inline std::string ReadSmallFile(const std::wstring& path) {
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  char buffer[512] = {};
  DWORD read = 0;
  if (file) ::ReadFile(file.get(), buffer, sizeof(buffer) - 1, &read, nullptr);
  return std::string(buffer, read);
}

inline bool WriteSmallFile(const std::wstring& path, const std::string& text) {
  win::UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return out && ::WriteFile(out.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Starts `commandLine` (its program taken from it, as typed at a prompt) and
// waits for it to end; false when it could not start. `exitCode` gets its code.
// A quiet program writes its output into NUL instead of this console.
inline bool RunToEnd(std::wstring commandLine, DWORD* exitCode = nullptr, bool quiet = false) {
  STARTUPINFOW startup{sizeof(startup)};
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  win::UniqueFile nul;
  if (quiet) {
    nul.reset(::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0,
                            nullptr));
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = startup.hStdError = nul.get();
  }
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, quiet ? TRUE : FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return false;
  win::UniqueHandle process(info.hProcess);
  win::UniqueHandle thread(info.hThread);
  ::WaitForSingleObject(process.get(), INFINITE);
  if (exitCode) ::GetExitCodeProcess(process.get(), exitCode);
  return true;
}

// This program started again as `<self> <mode> <arguments...> <result file>`,
// waited for, and what it wrote into the result file; empty when it could not
// start or wrote nothing.
inline std::string RunSelf(const std::wstring& mode, std::initializer_list<std::wstring> arguments,
                           const std::wstring& resultFile) {
  std::wstring commandLine = Quoted(SelfPath()) + L" " + mode;
  for (const std::wstring& argument : arguments) commandLine += L" " + Quoted(argument);
  commandLine += L" " + Quoted(resultFile);
  ::DeleteFileW(resultFile.c_str());
  if (!RunToEnd(commandLine)) return {};
  return ReadSmallFile(resultFile);
}

inline void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  win::UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        ::DeleteFileW(child.c_str());
    } while (::FindNextFileW(find.get(), &data));
  }
  find.reset();
  ::RemoveDirectoryW(path.c_str());
}

// A folder of its own under %TEMP% for one run of a benchmark.
inline std::wstring ScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  const DWORD length = ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder(temp, length);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  folder += name + L" " + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace bench
