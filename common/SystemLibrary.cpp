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

void PreloadLibrariesSystemLibrariesLoadByName() {
  // Wine resolves delayed imports and forwarded exports of its own libraries
  // with the ordinary search order, the program's folder first, whatever the
  // process has restricted: the drawing and theming code delay-loads msimg32
  // (TransparentBlt, AlphaBlend) when the first themed control is painted, and
  // msxml6 forwards its class factory to msxml3. A library of that name that is
  // already loaded is taken as it is, so these are loaded here from the system
  // folder and kept.
  for (const wchar_t* name : {L"msimg32.dll", L"msxml3.dll"}) LoadSystemLibrary(name).release();
}

}  // namespace win
