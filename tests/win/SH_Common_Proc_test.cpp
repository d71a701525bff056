#include "common/SH_Common_Proc.h"

#include "common/TextUtil.h"
#include "resources/resource.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

TEST(LoadResourceText, ReadsTheProgramsStringTable) {
  const HINSTANCE self = ::GetModuleHandleW(nullptr);
  EXPECT_EQ(LoadResourceText(self, IDS_APP_FOLDER), L"Dazide");
  EXPECT_EQ(LoadResourceText(self, IDS_PRODUCT_NAME), L"Севрон - Rezezi");
  EXPECT_EQ(LoadResourceText(self, IDS_DESCRIPTION), L"Комплекс суточного мониторирования электрокардиограмм");
  EXPECT_FALSE(LoadResourceText(self, IDS_LAUNCHER).empty());
  EXPECT_EQ(LoadResourceText(self, 3000), L"");  // no such entry
}

TEST(IsSmallFonts, BelowOneHundredPixelsPerInchIsSmall) {
  struct Case {
    int dpi;
    bool small;
  };
  for (const Case& c : {Case{96, true}, Case{99, true}, Case{100, false}, Case{120, false}, Case{144, false}})
    EXPECT_EQ(IsSmallFontsDpi(c.dpi), c.small) << c.dpi;
  // The test prefix runs at Wine's default of 96 pixels per inch.
  EXPECT_TRUE(IsSmallFonts());
}

TEST(GetWindowsFolder, EndsInExactlyOneBackslash) {
  const std::wstring folder = GetWindowsFolder();
  ASSERT_GE(folder.size(), 3u);
  EXPECT_EQ(folder.back(), L'\\');
  EXPECT_NE(folder[folder.size() - 2], L'\\');
  EXPECT_TRUE(IsFolder(folder + L"Fonts"));
}

TEST(ExitWindowsWithPrivilege, PassesTheFlagsToTheSystemCall) {
  ExitWindowsCalls().clear();
  EXPECT_TRUE(ExitWindowsWithPrivilege(EWX_REBOOT | EWX_FORCEIFHUNG));
  ASSERT_EQ(ExitWindowsCalls().size(), 1u);
  EXPECT_EQ(ExitWindowsCalls()[0].flags, static_cast<UINT>(EWX_REBOOT | EWX_FORCEIFHUNG));
  EXPECT_EQ(ExitWindowsCalls()[0].reason, 0u);
}

namespace {

// A small tree with a hidden file, a read-only file and nested folders.
void MakeSourceTree(const std::wstring& root) {
  MakeFolders(root + L"\\драйвер\\amd64");
  WriteBytes(root + L"\\setup.ini", "[setup]\r\n");
  WriteBytes(root + L"\\драйвер\\ftdibus.inf", "inf");
  WriteBytes(root + L"\\драйвер\\amd64\\ftdibus.sys", std::string(70000, 'x'));
  WriteBytes(root + L"\\hidden.dat", "h");
  ::SetFileAttributesW((root + L"\\hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
}

void ExpectCompleteCopy(const std::wstring& dest) {
  EXPECT_EQ(ReadBytes(dest + L"\\setup.ini"), "[setup]\r\n");
  EXPECT_EQ(ReadBytes(dest + L"\\драйвер\\ftdibus.inf"), "inf");
  EXPECT_EQ(ReadBytes(dest + L"\\драйвер\\amd64\\ftdibus.sys"), std::string(70000, 'x'));
  EXPECT_TRUE(Exists(dest + L"\\hidden.dat"));
}

}  // namespace

TEST(ShellCopyFolder, CopiesTheWholeTreeWhetherOrNotDestExists) {
  TempFolder temp;
  // The shell asks before it replaces a file; the user answers "Yes to all".
  DialogAnswerer user({L"Да для всех", L"Yes to all", L"Yes to All"});
  const std::wstring source = temp / L"FTDIDriverInstall";
  MakeSourceTree(source);

  struct Case {
    const wchar_t* name;
    bool destExists;
    bool trailingBackslashes;
  };
  for (const Case& c : {Case{L"new", false, false}, Case{L"new with backslashes", false, true},
                        Case{L"existing", true, false}, Case{L"existing with backslashes", true, true}}) {
    SCOPED_TRACE(Utf8(c.name));
    const std::wstring dest = temp / (std::wstring(L"Целевая папка ") + c.name) + L"\\FTDIDriverInstall";
    if (c.destExists) {
      MakeFolders(dest);
      WriteBytes(dest + L"\\setup.ini", "old");
    }
    const std::wstring suffix = c.trailingBackslashes ? L"\\" : L"";
    EXPECT_TRUE(ShellCopyFolder(source + suffix, dest + suffix));
    ExpectCompleteCopy(dest);
    // Never nested: the source folder must not reappear inside Dest.
    EXPECT_FALSE(Exists(dest + L"\\FTDIDriverInstall"));
  }
  // Exactly the two existing targets brought up the shell's question.
  EXPECT_EQ(user.Answered().size(), 2u);
}

TEST(ShellCopyFolder, MissingSourceFails) {
  TempFolder temp;
  EXPECT_FALSE(ShellCopyFolder(temp / L"нет такой", temp / L"куда"));
  EXPECT_FALSE(Exists(temp / L"куда"));
}
