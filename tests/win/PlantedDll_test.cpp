// A distribution folder is a place anyone may have put files into. A library
// planted beside Install.exe under the name of a system library must never be
// loaded by it.
#include "common/Handles.h"
#include "tests/win/InstallerSession.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// Libraries a Windows program loads on demand (not among the known DLLs):
// those the installer uses and those the system libraries it uses pull in.
const wchar_t* const kPlantedNames[] = {
    L"version.dll", L"uxtheme.dll",  L"msftedit.dll", L"riched20.dll", L"riched32.dll", L"windowscodecs.dll",
    L"dwmapi.dll",  L"syssetup.dll", L"msxml3.dll",   L"msxml6.dll",   L"propsys.dll",  L"cryptbase.dll",
    L"winmm.dll",   L"usp10.dll",    L"msimg32.dll",  L"gdiplus.dll",  L"setupapi.dll", L"wintrust.dll",
};

// Wine prefers its own built-in libraries; for the test every planted name is
// made "native first" for the programs below, so that a planted file beside
// them would be taken wherever the search order reaches it. version.dll stays
// built-in first: Wine's own user32 imports it at process start (the Windows
// user32 does not), before any program code runs.
class NativeFirst {
 public:
  explicit NativeFirst(const std::wstring& program) {
    key_ = L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides";
    HKEY raw = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr);
    win::UniqueKey key(raw);
    for (const wchar_t* name : kPlantedNames) {
      if (lstrcmpiW(name, L"version.dll") == 0) continue;
      std::wstring base(name);
      base.resize(base.size() - 4);
      const wchar_t value[] = L"native,builtin";
      ::RegSetValueExW(key.get(), base.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value));
    }
  }
  ~NativeFirst() { ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

 private:
  std::wstring key_;
};

void PlantLibraries(const std::wstring& folder) {
  for (const wchar_t* name : kPlantedNames)
    ASSERT_TRUE(::CopyFileW(ToolPath(L"planted.dll").c_str(), (folder + L"\\" + name).c_str(), FALSE));
}

std::vector<std::wstring> LoadedMarkers(const std::wstring& folder) {
  std::vector<std::wstring> loaded;
  for (const wchar_t* name : kPlantedNames)
    if (Exists(folder + L"\\" + name + L".loaded")) loaded.push_back(name);
  return loaded;
}

}  // namespace

TEST(PlantedDll, AnOrdinaryProgramWouldLoadThePlantedLibrary) {
  // The control: without protection the planted file is what gets loaded.
  TempFolder folder(L"подброшенные библиотеки");
  PlantLibraries(folder.path());
  ASSERT_TRUE(::CopyFileW(ToolPath(L"dll_probe.exe").c_str(), (folder / L"dll_probe.exe").c_str(), FALSE));
  NativeFirst nativeFirst(L"dll_probe.exe");
  for (const wchar_t* name : {L"msftedit.dll", L"uxtheme.dll", L"syssetup.dll"}) {
    const ProcessResult result = RunAndCollect(L"\"" + (folder / L"dll_probe.exe") + L"\" " + name, folder.path());
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0u) << Utf8(name);
    EXPECT_TRUE(Exists(folder / name + L".loaded")) << Utf8(name);
  }
}

TEST(PlantedDll, InstallNeverLoadsALibraryPlantedBesideIt) {
  TempFolder folder(L"дистрибутив");
  PlantLibraries(folder.path());
  const std::wstring exe = folder / L"Install.exe";
  ASSERT_TRUE(::CopyFileW(InstallExePath().c_str(), exe.c_str(), FALSE));
  NativeFirst nativeFirst(L"Install.exe");

  installer::Running install(exe, folder.path());
  ASSERT_TRUE(install.Started());

  // Wait until the main window is up: by then every library of the start-up
  // (rich edit, imaging, common controls and themes) has been loaded.
  HWND main = install.WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "Install.exe showed no main window";
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(install.Ended(&exitCode, 30000));

  EXPECT_EQ(LoadedMarkers(folder.path()), std::vector<std::wstring>{});
}
