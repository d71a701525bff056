#include "install/Shortcut.h"

#include "common/ComPtr.h"
#include "common/Handles.h"
#include "common/TextUtil.h"
#include "common/WinText.h"
#include "install/EngineError.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace {

// "MicroSoft" is how the suite has always spelled these keys; the registry
// ignores letter case.
constexpr wchar_t kExplorerKey[] = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";
constexpr wchar_t kGrpConvKey[] = L"Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv";

// A string value of `subKey` under the key `key` of HKEY_CURRENT_USER, which
// is created when it is missing (as the suite has always opened it). Empty when
// the sub-key or the value is missing or the value is not a string.
std::wstring ReadUserFolder(const wchar_t* key, const wchar_t* subKey, const wchar_t* value) {
  win::UniqueKey opened;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        opened.put(), nullptr) != ERROR_SUCCESS)
    return {};
  // RRF_NOEXPAND: a REG_EXPAND_SZ value is taken as written, like REG_SZ.
  const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  DWORD bytes = 0;
  if (::RegGetValueW(opened.get(), subKey, value, flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0)
    return {};
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (::RegGetValueW(opened.get(), subKey, value, flags, nullptr, buffer.data(), &bytes) != ERROR_SUCCESS) return {};
  return std::wstring(buffer.data());
}

std::wstring LocationFolder(uint8_t location, const std::wstring& subFolder) {
  switch (location) {
    case kShortcutDesktop:
      return ReadUserFolder(kExplorerKey, L"Shell Folders", L"Desktop");
    case kShortcutQuickLaunch:
      return ReadUserFolder(kGrpConvKey, L"MapGroups", L"Quick Launch");
    case kShortcutSendTo:
      return ReadUserFolder(kExplorerKey, L"Shell Folders", L"SendTo");
    case kShortcutStartMenu:
      return ReadUserFolder(kExplorerKey, L"Shell Folders", L"Start Menu");
    case kShortcutFolder:
      return subFolder;
    default:
      return {};
  }
}

[[noreturn]] void Fail(const wchar_t* what, HRESULT hr) {
  throw EngineError(std::wstring(what) + L": " + win::SystemErrorText(static_cast<DWORD>(hr)));
}

}  // namespace

std::wstring ShortcutFileName(const std::wstring& fileName, const std::wstring& linkName) {
  std::wstring name = text::NameOf(linkName.empty() ? fileName : linkName);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name + L".lnk";
}

void CreateShortcut(const std::wstring& fileName, uint8_t location, const std::wstring& subFolder,
                    const std::wstring& workingFolder, const std::wstring& arguments, const std::wstring& description,
                    const std::wstring& linkName, std::wstring& linkPath) {
  // The installer's thread has COM already; this balances itself either way.
  const win::ComScope com(COINIT_APARTMENTTHREADED);
  win::ComPtr<IShellLinkW> link;
  if (const HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                            link.put_void());
      FAILED(hr))
    Fail(L"Cannot create the shell link object", hr);
  win::ComPtr<IPersistFile> file;
  if (const HRESULT hr = link.As(file); FAILED(hr)) Fail(L"The shell link object has no IPersistFile", hr);

  // SetPath gives S_FALSE for a target that does not exist yet (the launcher
  // arrives with a later release): the path is stored all the same.
  link->SetPath(fileName.c_str());
  link->SetArguments(arguments.c_str());
  link->SetDescription(description.c_str());

  const std::wstring shortcutName = ShortcutFileName(fileName, linkName);
  const std::wstring folder = LocationFolder(location, subFolder);
  if (folder.empty()) return;
  const std::wstring path = !subFolder.empty() && location != kShortcutFolder
                                ? folder + L"\\" + subFolder + L"\\" + shortcutName
                                : folder + L"\\" + shortcutName;
  link->SetWorkingDirectory(workingFolder.empty() ? text::FolderOf(fileName).c_str() : workingFolder.c_str());
  file->Save(path.c_str(), FALSE);
  linkPath = path;
}
