#include "install/Shortcut.h"

#include "common/ComPtr.h"
#include "common/Handles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/TestSupport.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

using namespace testsupport;
using enginetest::DesktopFolder;
using enginetest::FileRestorer;
using enginetest::ReadShortcut;
using enginetest::ShortcutContents;
using enginetest::SystemStateLock;

namespace {

std::wstring UserFolder(const wchar_t* value) {
  wchar_t buffer[MAX_PATH];
  DWORD bytes = sizeof(buffer);
  if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", value,
                     RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
    return {};
  return buffer;
}

constexpr wchar_t kGrpConv[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv";

bool KeyExists(const wchar_t* path) {
  win::UniqueKey key;
  return ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// HKCU GrpConv is the tests' own: it does not exist in a new prefix.
class GrpConvScope {
 public:
  GrpConvScope() { Remove(); }
  ~GrpConvScope() { Remove(); }
  static void Remove() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kGrpConv);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kGrpConv);
  }
};

void SetMapGroupsValue(DWORD type, const void* data, DWORD size) {
  win::UniqueKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kGrpConv) + L"\\MapGroups").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExW(key.get(), L"Quick Launch", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

const std::wstring kDescription = L"Комплекс суточного мониторирования электрокардиограмм \"Севрон - Rezezi\"";

}  // namespace

TEST(Shortcut, FileNameTakesTheNameAndReplacesTheExtension) {
  const struct {
    const wchar_t* fileName;
    const wchar_t* linkName;
    const wchar_t* expected;
  } cases[] = {
      {L"C:\\Dazide\\Rezezi.exe", L"Севрон - Rezezi", L"Севрон - Rezezi.lnk"},
      {L"C:\\Dazide\\Rezezi.exe", L"", L"Rezezi.lnk"},
      {L"C:\\Dazide\\Rezezi.exe", L"Версия 2.0", L"Версия 2.lnk"},
      {L"C:\\Dazide\\Rezezi.exe", L"sub\\Name.txt", L"Name.lnk"},
      {L"C:\\Da.zide\\Rezezi", L"", L"Rezezi.lnk"},
      {L"C:\\Dazide\\Rezezi.tar.gz", L"", L"Rezezi.tar.lnk"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortcutFileName(c.fileName, c.linkName), c.expected) << Utf8(c.linkName);
}

TEST(Shortcut, DesktopShortcutAsTheInstallationWritesIt) {
  SystemStateLock lock;
  const win::ComScope com;
  const std::wstring desktop = DesktopFolder();
  ASSERT_FALSE(desktop.empty());
  ASSERT_EQ(lstrcmpiW(UserFolder(L"Desktop").c_str(), desktop.c_str()), 0);
  const std::wstring expectedPath = desktop + L"\\Севрон - Rezezi.lnk";
  FileRestorer restore(expectedPath);
  ::DeleteFileW(expectedPath.c_str());

  TempFolder target;
  const std::wstring program = target.path() + L"\\Rezezi.exe";  // need not exist yet
  std::wstring linkPath;
  CreateShortcut(program, kShortcutDesktop, L"", L"", L"", kDescription, L"Севрон - Rezezi", linkPath);

  EXPECT_EQ(linkPath, UserFolder(L"Desktop") + L"\\Севрон - Rezezi.lnk");
  const ShortcutContents link = ReadShortcut(expectedPath);
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(lstrcmpiW(link.path.c_str(), program.c_str()), 0) << Utf8(link.path);
  EXPECT_EQ(link.workingFolder, target.path() + L"\\");  // the folder of the program, backslash and all
  EXPECT_EQ(link.description, kDescription);
  EXPECT_EQ(link.arguments, L"");
}

TEST(Shortcut, ShellFolderCodesAndAGivenFolder) {
  SystemStateLock lock;
  const win::ComScope com;
  const struct {
    uint8_t location;
    const wchar_t* shellValue;
  } cases[] = {{kShortcutDesktop, L"Desktop"}, {kShortcutSendTo, L"SendTo"}, {kShortcutStartMenu, L"Start Menu"}};
  for (const auto& c : cases) {
    const std::wstring folder = UserFolder(c.shellValue);
    ASSERT_FALSE(folder.empty()) << Utf8(c.shellValue);
    MakeFolders(folder);
    const std::wstring expected = folder + L"\\Тест ярлыка.lnk";
    FileRestorer restore(expected);
    std::wstring linkPath;
    CreateShortcut(L"C:\\Dazide\\Rezezi.exe", c.location, L"", L"C:\\Work", L"/x 1", L"d", L"Тест ярлыка.exe",
                   linkPath);
    EXPECT_EQ(linkPath, expected) << Utf8(c.shellValue);
    const ShortcutContents link = ReadShortcut(expected);
    EXPECT_TRUE(link.loaded) << Utf8(c.shellValue);
    EXPECT_EQ(link.workingFolder, L"C:\\Work");
    EXPECT_EQ(link.arguments, L"/x 1");
  }

  TempFolder given;
  std::wstring linkPath;
  CreateShortcut(L"C:\\Dazide\\Rezezi.exe", kShortcutFolder, given.path(), L"", L"", L"d", L"", linkPath);
  EXPECT_EQ(linkPath, given / L"Rezezi.lnk");
  EXPECT_TRUE(ReadShortcut(given / L"Rezezi.lnk").loaded);
}

TEST(Shortcut, AGivenFolderEndingInABackslashIsUsedAsItIs) {
  const win::ComScope com;
  TempFolder given;
  std::wstring linkPath;
  CreateShortcut(L"C:\\Dazide\\Rezezi.exe", kShortcutFolder, given.path() + L"\\", L"", L"", L"d", L"Имя", linkPath);
  EXPECT_EQ(linkPath, given.path() + L"\\\\Имя.lnk");
  EXPECT_TRUE(Exists(given / L"Имя.lnk"));
}

TEST(Shortcut, SubFolderOfAShellFolder) {
  SystemStateLock lock;
  const win::ComScope com;
  const std::wstring desktop = UserFolder(L"Desktop");
  const std::wstring sub = L"Тест папки ярлыка";
  MakeFolders(desktop + L"\\" + sub);
  std::wstring linkPath;
  CreateShortcut(L"C:\\Dazide\\Rezezi.exe", kShortcutDesktop, sub, L"", L"", L"d", L"", linkPath);
  EXPECT_EQ(linkPath, desktop + L"\\" + sub + L"\\Rezezi.lnk");
  EXPECT_TRUE(ReadShortcut(linkPath).loaded);
  RemoveTree(desktop + L"\\" + sub);

  // A sub-folder that does not exist: the save fails quietly, the path is still given.
  const std::wstring missing = L"Нет такой папки";
  CreateShortcut(L"C:\\Dazide\\Rezezi.exe", kShortcutDesktop, missing, L"", L"", L"d", L"", linkPath);
  EXPECT_EQ(linkPath, desktop + L"\\" + missing + L"\\Rezezi.lnk");
  EXPECT_FALSE(Exists(desktop + L"\\" + missing));
}

TEST(Shortcut, QuickLaunchWithoutItsValueWritesNothingButMakesTheKey) {
  SystemStateLock lock;
  const win::ComScope com;
  GrpConvScope grpConv;
  ASSERT_FALSE(KeyExists(kGrpConv));
  std::wstring linkPath = L"untouched";
  CreateShortcut(L"C:\\Dazide\\Rezezi.exe", kShortcutQuickLaunch, L"", L"", L"", L"d", L"", linkPath);
  EXPECT_EQ(linkPath, L"untouched");
  EXPECT_TRUE(KeyExists(kGrpConv));
}

TEST(Shortcut, QuickLaunchFromMapGroups) {
  SystemStateLock lock;
  const win::ComScope com;
  GrpConvScope grpConv;
  TempFolder quickLaunch;
  const std::wstring folder = quickLaunch.path();
  SetMapGroupsValue(REG_SZ, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  std::wstring linkPath;
  CreateShortcut(L"C:\\Dazide\\Rezezi.exe", kShortcutQuickLaunch, L"", L"", L"", L"d", L"", linkPath);
  EXPECT_EQ(linkPath, quickLaunch / L"Rezezi.lnk");
  EXPECT_TRUE(ReadShortcut(linkPath).loaded);

  // A value that is no text names no folder.
  const DWORD number = 7;
  SetMapGroupsValue(REG_DWORD, &number, sizeof(number));
  std::wstring untouched = L"untouched";
  CreateShortcut(L"C:\\Dazide\\Other.exe", kShortcutQuickLaunch, L"", L"", L"", L"d", L"", untouched);
  EXPECT_EQ(untouched, L"untouched");
  EXPECT_FALSE(Exists(quickLaunch / L"Other.lnk"));
}

TEST(Shortcut, UnknownLocationCodesWriteNothing) {
  const win::ComScope com;
  TempFolder folder;
  for (int code : {5, 6, 128, 255}) {
    std::wstring linkPath = L"untouched";
    CreateShortcut(L"C:\\Dazide\\Rezezi.exe", static_cast<uint8_t>(code), folder.path(), L"", L"", L"d", L"", linkPath);
    EXPECT_EQ(linkPath, L"untouched") << code;
  }
  EXPECT_TRUE(enginetest::NamesIn(folder.path()).empty());
}
