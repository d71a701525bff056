#include "common/TextUtil.h"

#include <gtest/gtest.h>

TEST(TextUtil, TrimRemovesBlanksAndControlCharactersOnly) {
  EXPECT_EQ(text::Trim(std::wstring_view(L" \t\r\n D:\\Data\\Dazide \x01\x1f ")), L"D:\\Data\\Dazide");
  EXPECT_EQ(text::Trim(std::wstring_view(L"   ")), L"");
  EXPECT_EQ(text::Trim(std::wstring_view(L"\x00A0x\x00A0")), L"\x00A0x\x00A0");  // no-break space is code 160
  EXPECT_EQ(text::Trim(std::string_view("\xd0\xa1 ")), "\xd0\xa1");
}

TEST(TextUtil, PathPieces) {
  EXPECT_EQ(text::WithTrailingBackslash(L"C:\\Dazide"), L"C:\\Dazide\\");
  EXPECT_EQ(text::WithTrailingBackslash(L"C:\\Dazide\\"), L"C:\\Dazide\\");
  EXPECT_EQ(text::WithTrailingBackslash(L""), L"\\");
  EXPECT_EQ(text::WithoutTrailingBackslash(L"C:\\a\\\\"), L"C:\\a\\");
  EXPECT_EQ(text::FolderOf(L"C:\\dist\\Install.exe"), L"C:\\dist\\");
  EXPECT_EQ(text::FolderOf(L"Install.exe"), L"");
  EXPECT_EQ(text::NameOf(L"C:\\dist\\Install.exe"), L"Install.exe");
}
