// Helpers for the Windows tests: temporary folders with real files, reading and
// writing bytes, starting programs, and where the built programs are.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under %TEMP% whose name has Cyrillic letters and a blank in
// it; removed with everything in it when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& hint = L"тест");
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();
  // The folder path without a trailing backslash.
  const std::wstring& path() const { return path_; }
  // path() + "\" + relative
  std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

 private:
  std::wstring path_;
};

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
bool IsFolder(const std::wstring& path);
void MakeFolders(const std::wstring& path);
// Removes attributes that would stop deletion, then deletes the tree.
void RemoveTree(const std::wstring& path);
std::wstring Utf16(const std::string& utf8);
std::string Utf8(const std::wstring& text);

// The folder of the running test program (the build folder's tests/ output)
// and the folder that holds the built helper programs.
std::wstring TestProgramFolder();
std::wstring ToolPath(const std::wstring& fileName);
std::wstring InstallExePath();

// While it exists, a background thread answers the dialog boxes (class #32770)
// of this process: it presses the first button whose caption, without "&",
// is one of `buttonCaptions`, and keeps the texts of the boxes it answered.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::vector<std::wstring> buttonCaptions);
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  ~DialogAnswerer();
  // Texts of the static controls of every box answered so far.
  std::vector<std::wstring> Answered() const;

  struct State;

 private:
  State* state_;
};

struct ProcessResult {
  DWORD exitCode = 0;
  bool started = false;
};
// Starts `commandLine` in `folder` (empty: inherit) and waits for it.
ProcessResult RunAndCollect(const std::wstring& commandLine, const std::wstring& folder = {},
                            DWORD timeoutMs = 60000);

// Stands in for ExitWindowsEx in all tests: records the flags and succeeds.
BOOL WINAPI RecordExitWindowsEx(UINT flags, DWORD reason);
struct ExitWindowsCall {
  UINT flags;
  DWORD reason;
};
std::vector<ExitWindowsCall>& ExitWindowsCalls();

}  // namespace testsupport
