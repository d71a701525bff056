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
  const std::wstring fullPath = SystemFolder() + name;
  // With the loader's search flags the library's own dependencies are also
  // taken from the system folder; without them the full path is the best we have.
  const DWORD flags = LoaderHasSearchFlags() ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH;
  return UniqueModule(::LoadLibraryExW(fullPath.c_str(), nullptr, flags));
}

}  // namespace win
