#include "app/Startup.h"
#include "common/WinText.h"
#include "common/TextUtil.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

TEST(Startup, CurrentFolderBecomesTheProgramFolder) {
  TempFolder elsewhere;
  ASSERT_TRUE(::SetCurrentDirectoryW(elsewhere.path().c_str()));
  app::SetCurrentFolderToProgramFolder();
  wchar_t current[MAX_PATH];
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(text::WithTrailingBackslash(std::wstring(current, length)), TestProgramFolder());
}
