// Helpers for the installation engine's tests: a scripted stand-in for the main
// window, and guards for the machine-wide state the engine changes (the fonts
// folder and the registry's font list, the desktop, the current folder).
//
// Tests that change machine-wide state hold SystemStateLock, so that ctest may
// run them in parallel processes of the same Wine prefix.
#pragma once

#include "common/ComPtr.h"
#include "common/Handles.h"
#include "install/Fonts.h"
#include "install/InstallerView.h"
#include "tests/win/TestSupport.h"

#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace enginetest {

inline const char* PageName(WizardPage page) {
  switch (page) {
    case WizardPage::tsStart:
      return "tsStart";
    case WizardPage::tsInputPath:
      return "tsInputPath";
    case WizardPage::tsInputComponents:
      return "tsInputComponents";
    case WizardPage::tsProgressInstall:
      return "tsProgressInstall";
    case WizardPage::tsCancel:
      return "tsCancel";
    case WizardPage::tsChangeFontSize:
      return "tsChangeFontSize";
  }
  return "?";
}

// The main window as the sequence sees it: installer state set by the test,
// answers to the questions given in advance, everything that happens recorded.
class ScriptedView final : public IInstallerView {
 public:
  // Installer state.
  std::wstring target;
  bool driverChecked = false;
  int variant = 0;
  bool sibling = false;
  // Answers to Confirm, in order; a question beyond them fails the test.
  std::vector<bool> answers;

  // What happened.
  std::wstring sourceFolder;
  std::vector<std::wstring> lines;
  std::vector<std::string> events;  // in order: "clear", "page X", "canClose 0", "busy 1", "line N", ...
  std::vector<std::wstring> questions;
  std::vector<std::wstring> errors;
  bool canClose = true;
  bool busy = false;
  bool exitEnabled = false;
  bool closed = false;
  std::optional<WizardPage> page;
  struct State {
    bool canClose;
    bool busy;
  };
  std::vector<State> stateAtLine;  // the window state when each line was added
  std::function<void()> onRepaint;
  std::function<void()> onMessages;

  std::wstring TargetText() const override { return target; }
  bool DriverOptionChecked() const override { return driverChecked; }
  int RuntimeVariant() const override { return variant; }
  bool SiblingProduct() const override { return sibling; }
  void SetSourceFolder(const std::wstring& folder) override {
    sourceFolder = folder;
    events.push_back("source");
  }
  void ClearLines() override {
    lines.clear();
    stateAtLine.clear();
    events.push_back("clear");
  }
  int AddLine(const std::wstring& text) override {
    lines.push_back(text);
    stateAtLine.push_back({canClose, busy});
    events.push_back("line " + std::to_string(lines.size() - 1));
    return static_cast<int>(lines.size() - 1);
  }
  void ChangeLine(int index, const std::wstring& text) override {
    if (index < 0 || index >= static_cast<int>(lines.size())) {
      ADD_FAILURE() << "ChangeLine of line " << index << " of " << lines.size();
      return;
    }
    lines[static_cast<size_t>(index)] = text;
    events.push_back("change " + std::to_string(index));
  }
  std::wstring Line(int index) const override { return lines.at(static_cast<size_t>(index)); }
  int LineCount() const override { return static_cast<int>(lines.size()); }
  void RepaintList() override {
    events.push_back("repaint");
    if (onRepaint) onRepaint();
  }
  void ProcessMessages() override {
    events.push_back("messages");
    if (onMessages) onMessages();
  }
  bool Confirm(const std::wstring& text) override {
    questions.push_back(text);
    events.push_back("confirm");
    if (questions.size() > answers.size()) {
      ADD_FAILURE() << "unexpected question: " << testsupport::Utf8(text);
      return false;
    }
    return answers[questions.size() - 1];
  }
  void ShowError(const std::wstring& text) override {
    errors.push_back(text);
    events.push_back("error");
  }
  void ShowPage(WizardPage shown) override {
    page = shown;
    events.push_back(std::string("page ") + PageName(shown));
  }
  void SetBusyCursor(bool on) override {
    busy = on;
    events.push_back(on ? "busy 1" : "busy 0");
  }
  void SetCanClose(bool allowed) override {
    canClose = allowed;
    events.push_back(allowed ? "canClose 1" : "canClose 0");
  }
  void EnableExit() override {
    exitEnabled = true;
    events.push_back("exit");
  }
  void Close() override {
    closed = true;
    events.push_back("close");
  }

  bool Happened(const std::string& event) const {
    for (const std::string& e : events)
      if (e == event) return true;
    return false;
  }
};

// Held by every test that touches the fonts folder, the font list, the desktop
// or HKCU shell keys: one at a time per Wine prefix, across processes.
class SystemStateLock {
 public:
  SystemStateLock() : mutex_(::CreateMutexW(nullptr, FALSE, L"Local\\InstallEngineTests.SystemState")) {
    if (mutex_) ::WaitForSingleObject(mutex_.get(), INFINITE);  // WAIT_ABANDONED counts as owned too
  }
  SystemStateLock(const SystemStateLock&) = delete;
  SystemStateLock& operator=(const SystemStateLock&) = delete;
  ~SystemStateLock() {
    if (mutex_) ::ReleaseMutex(mutex_.get());
  }

 private:
  win::UniqueHandle mutex_;
};

struct RegistryValue {
  DWORD type = 0;
  std::vector<BYTE> data;
  bool operator==(const RegistryValue&) const = default;
};

inline win::UniqueKey OpenFontsKey(REGSAM access) {
  win::UniqueKey key;
  ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, access | KEY_WOW64_64KEY, key.put());
  return key;
}

// Every value of the registry's font list.
inline std::map<std::wstring, RegistryValue> FontRegistry() {
  std::map<std::wstring, RegistryValue> values;
  const win::UniqueKey key = OpenFontsKey(KEY_READ);
  if (!key) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD nameLength = 16384;
    BYTE data[8192];
    DWORD dataLength = sizeof(data);
    DWORD type = 0;
    if (::RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
    values[std::wstring(name, nameLength)] = {type, std::vector<BYTE>(data, data + dataLength)};
  }
  return values;
}

// The REG_SZ text of a font list value, or nothing.
inline std::optional<std::wstring> FontValue(const std::wstring& name) {
  const auto values = FontRegistry();
  const auto it = values.find(name);
  if (it == values.end() || it->second.type != REG_SZ) return std::nullopt;
  std::wstring text(reinterpret_cast<const wchar_t*>(it->second.data.data()), it->second.data.size() / 2);
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

inline std::wstring SystemFontsFolder() {
  wchar_t windows[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
  return std::wstring(windows, length) + L"\\Fonts\\";
}

// Puts the fonts folder's seven files and the font list back as they were:
// files of the list that were not there are deleted, values added are deleted
// and values changed get their old data back.
class FontsRestorer {
 public:
  FontsRestorer() : registry_(FontRegistry()) {
    for (const wchar_t* name : kFontFiles)
      if (testsupport::Exists(SystemFontsFolder() + name)) present_.push_back(name);
  }
  FontsRestorer(const FontsRestorer&) = delete;
  FontsRestorer& operator=(const FontsRestorer&) = delete;
  ~FontsRestorer() {
    for (const wchar_t* name : kFontFiles)
      if (!WasPresent(name)) ::DeleteFileW((SystemFontsFolder() + name).c_str());
    const auto now = FontRegistry();
    const win::UniqueKey key = OpenFontsKey(KEY_ALL_ACCESS);
    for (const auto& [name, value] : now)
      if (!registry_.contains(name)) ::RegDeleteValueW(key.get(), name.c_str());
    for (const auto& [name, value] : registry_) {
      const auto it = now.find(name);
      if (it == now.end() || !(it->second == value))
        ::RegSetValueExW(key.get(), name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
    }
  }
  bool WasPresent(const std::wstring& name) const {
    for (const std::wstring& p : present_)
      if (lstrcmpiW(p.c_str(), name.c_str()) == 0) return true;
    return false;
  }
  const std::map<std::wstring, RegistryValue>& registryBefore() const { return registry_; }

 private:
  std::map<std::wstring, RegistryValue> registry_;
  std::vector<std::wstring> present_;
};

// The user's desktop folder, as the shell tells it.
inline std::wstring DesktopFolder() {
  wchar_t path[MAX_PATH];
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

// Keeps a file's bytes (or its absence) and puts them back.
class FileRestorer {
 public:
  explicit FileRestorer(std::wstring path) : path_(std::move(path)) {
    if (testsupport::Exists(path_)) bytes_ = testsupport::ReadBytes(path_);
  }
  FileRestorer(const FileRestorer&) = delete;
  FileRestorer& operator=(const FileRestorer&) = delete;
  ~FileRestorer() {
    if (bytes_)
      testsupport::WriteBytes(path_, *bytes_);
    else
      ::DeleteFileW(path_.c_str());
  }

 private:
  std::wstring path_;
  std::optional<std::string> bytes_;
};

// The sequence changes the current folder; the test program's must come back
// before its temporary folders go (Wine will not remove a current folder).
class CurrentFolderRestorer {
 public:
  CurrentFolderRestorer() {
    wchar_t folder[MAX_PATH];
    folder_.assign(folder, ::GetCurrentDirectoryW(MAX_PATH, folder));
  }
  CurrentFolderRestorer(const CurrentFolderRestorer&) = delete;
  CurrentFolderRestorer& operator=(const CurrentFolderRestorer&) = delete;
  ~CurrentFolderRestorer() { ::SetCurrentDirectoryW(folder_.c_str()); }

 private:
  std::wstring folder_;
};

inline std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH];
  return std::wstring(folder, ::GetCurrentDirectoryW(MAX_PATH, folder));
}

// The message of what `action` raises, as UTF-16, or "(nothing raised)".
template <class F>
std::wstring RaisedMessage(F action) {
  try {
    action();
  } catch (const std::exception& e) {
    return testsupport::Utf16(e.what());
  }
  return L"(nothing raised)";
}

// The system's text for an error, as the engine's messages append it.
inline std::wstring SystemReason(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

// File identity: the same number before and after means a rename, not a copy.
inline uint64_t FileId(const std::wstring& path) {
  win::UniqueFile file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !::GetFileInformationByHandle(file.get(), &info)) return 0;
  return uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
}

// The file names in a folder.
inline std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(find.get(), &data));
  return names;
}

// A shell link as the shell reads it back through its own link object.
struct ShortcutContents {
  bool loaded = false;
  std::wstring path, workingFolder, description, arguments;
};

inline ShortcutContents ReadShortcut(const std::wstring& file) {
  const win::ComScope com;
  ShortcutContents contents;
  win::ComPtr<IShellLinkW> link;
  win::ComPtr<IPersistFile> persist;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())) ||
      FAILED(link.As(persist)) || FAILED(persist->Load(file.c_str(), STGM_READ)))
    return contents;
  wchar_t buffer[1024];
  contents.loaded = true;
  if (SUCCEEDED(link->GetPath(buffer, 1024, nullptr, SLGP_RAWPATH))) contents.path = buffer;
  if (SUCCEEDED(link->GetWorkingDirectory(buffer, 1024))) contents.workingFolder = buffer;
  if (SUCCEEDED(link->GetDescription(buffer, 1024))) contents.description = buffer;
  if (SUCCEEDED(link->GetArguments(buffer, 1024))) contents.arguments = buffer;
  return contents;
}

}  // namespace enginetest
