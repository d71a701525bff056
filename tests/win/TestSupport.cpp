#include "tests/win/TestSupport.h"

#include "common/Handles.h"
#include "common/TextUtil.h"
#include "common/WinText.h"

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace testsupport {

TempFolder::TempFolder(const std::wstring& hint) {
  static std::atomic<unsigned> counter{0};
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  path_ = text::WithTrailingBackslash(temp) + L"install tests " + hint + L" " +
          std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount64()) + L"-" +
          std::to_wstring(counter++);
  MakeFolders(path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  win::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create " + Utf8(path));
  DWORD written = 0;
  if (!bytes.empty() && !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    throw std::runtime_error("cannot write " + Utf8(path));
}

std::string ReadBytes(const std::wstring& path) {
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot open " + Utf8(path));
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolders(const std::wstring& path) {
  const std::wstring trimmed = text::WithoutTrailingBackslash(path);
  if (trimmed.empty() || IsFolder(trimmed)) return;
  MakeFolders(text::WithoutTrailingBackslash(text::FolderOf(trimmed)));
  ::CreateDirectoryW(trimmed.c_str(), nullptr);
}

void RemoveTree(const std::wstring& path) {
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
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryW(path.c_str());
}

std::wstring Utf16(const std::string& utf8) { return win::FromUtf8(utf8); }
std::string Utf8(const std::wstring& text) { return win::ToUtf8(text); }

std::wstring TestProgramFolder() { return text::FolderOf(win::ModuleFileName()); }

std::wstring ToolPath(const std::wstring& fileName) { return TestProgramFolder() + L"tools\\" + fileName; }

std::wstring InstallExePath() { return TestProgramFolder() + L"..\\Install.exe"; }

ProcessResult RunAndCollect(const std::wstring& commandLine, const std::wstring& folder, DWORD timeoutMs) {
  ProcessResult result;
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  std::wstring mutableLine = commandLine;
  if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return result;
  win::UniqueHandle process(info.hProcess);
  win::UniqueHandle thread(info.hThread);
  result.started = true;
  if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.get(), 1);
    throw std::runtime_error("process did not end in time: " + Utf8(commandLine));
  }
  ::GetExitCodeProcess(process.get(), &result.exitCode);
  return result;
}

struct DialogAnswerer::State {
  std::vector<std::wstring> captions;
  std::atomic<bool> stop{false};
  mutable std::mutex mutex;
  std::vector<std::wstring> answered;
  std::thread thread;
};

namespace {

std::wstring WindowText(HWND window) {
  wchar_t buffer[1024];
  const int length = ::GetWindowTextW(window, buffer, 1024);
  return std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring WithoutAccessKey(std::wstring caption) {
  std::erase(caption, L'&');
  return caption;
}

struct AnswerSearch {
  DialogAnswerer::State* state;
  HWND button = nullptr;
  std::wstring text;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<AnswerSearch*>(param);
  wchar_t className[64];
  ::GetClassNameW(child, className, 64);
  const std::wstring caption = WithoutAccessKey(WindowText(child));
  if (lstrcmpiW(className, L"Button") == 0) {
    for (const std::wstring& wanted : search->state->captions)
      if (!search->button && caption == wanted) search->button = child;
  } else if (lstrcmpiW(className, L"Static") == 0 && !caption.empty()) {
    search->text += (search->text.empty() ? L"" : L"\n") + caption;
  }
  return TRUE;
}

BOOL CALLBACK AnswerTopLevel(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<DialogAnswerer::State*>(param);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  wchar_t className[64];
  ::GetClassNameW(window, className, 64);
  if (process != ::GetCurrentProcessId() || lstrcmpW(className, L"#32770") != 0 || !::IsWindowVisible(window))
    return TRUE;
  AnswerSearch search{state};
  ::EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&search));
  if (search.button) {
    {
      std::lock_guard lock(state->mutex);
      state->answered.push_back(search.text);
    }
    ::PostMessageW(search.button, BM_CLICK, 0, 0);
  }
  return TRUE;
}

}  // namespace

DialogAnswerer::DialogAnswerer(std::vector<std::wstring> buttonCaptions) : state_(new State) {
  state_->captions = std::move(buttonCaptions);
  state_->thread = std::thread([state = state_] {
    while (!state->stop) {
      ::EnumWindows(AnswerTopLevel, reinterpret_cast<LPARAM>(state));
      ::Sleep(100);
    }
  });
}

DialogAnswerer::~DialogAnswerer() {
  state_->stop = true;
  state_->thread.join();
  delete state_;
}

std::vector<std::wstring> DialogAnswerer::Answered() const {
  std::lock_guard lock(state_->mutex);
  return state_->answered;
}

std::vector<ExitWindowsCall>& ExitWindowsCalls() {
  static std::vector<ExitWindowsCall> calls;
  return calls;
}

BOOL WINAPI RecordExitWindowsEx(UINT flags, DWORD reason) {
  ExitWindowsCalls().push_back({flags, reason});
  return TRUE;
}

}  // namespace testsupport
