#include "common/SystemLibrary.h"

#include "common/TextUtil.h"

namespace win {
namespace {

// Present from Windows 8 on, and on Vista and 7 with the loader update: looked up
// at run time so that the program still starts where it is missing.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

bool LoaderHasSearchFlags() {
  static const bool has = ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
  return has;
}

}  // namespace

bool RestrictDllSearchToSystemFolder() {
  // The current folder leaves the search in any case (also without the update).
  ::SetDllDirectoryW(L"");
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::wstring SystemFolder() {
  wchar_t buffer[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return text::WithTrailingBackslash(std::wstring(buffer, length));
}

UniqueModule LoadSystemLibrary(const std::wstring& name) {
  // By bare name with the search flag: the system folder only, for the library
  // and for what it loads itself, and side-by-side redirection (common controls
  // 6 from the manifest) still applies. Without the flag, the full path is the
  // best there is.
  if (LoaderHasSearchFlags())
    return UniqueModule(::LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  const std::wstring fullPath = SystemFolder() + name;
  return UniqueModule(::LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace win
