#include "common/IniFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

const ini::KeyValues kInstallerKeys = {{L"FilterType", L"0"}, {L"HardwareType", L"1"}};

std::string Rewrite(const std::optional<std::string>& existing, const std::wstring& section,
                    const ini::KeyValues& values) {
  return ini::RewriteIni(existing, section, values, text::Cp1251());
}

}  // namespace

TEST(IniFile, NewVavovaIniIsExactlyFourLines) {
  EXPECT_EQ(Rewrite(std::nullopt, L"options", kInstallerKeys), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
}

TEST(IniFile, NewFileIsInTheAnsiCodePage) {
  EXPECT_EQ(Rewrite(std::nullopt, L"Общие", {{L"Диск", L"Я"}}),
            "[\xCE\xE1\xF9\xE8\xE5]\r\n\xC4\xE8\xF1\xEA=\xDF\r\n\r\n");
}

TEST(IniFile, RewriteKeepsSectionsKeysAndOrderAndDropsComments) {
  const std::string before =
      "; written by hand\r\n"
      "orphan=before any section\r\n"
      "[options]\r\n"
      "  filtertype = 3  \r\n"
      "; the recorder\r\n"
      "DefaultRegType=2\r\n"
      "\r\n"
      "  # not a comment here\r\n"
      "LanguageSetting=ENG\r\n"
      "[ Paths ]\n"
      "Data = D:\\Data\\Dazide\n"
      "no equals sign\n"
      "\n"
      "[OPTIONS]\r\n"
      "HardwareType=7\r\n"
      "[Empty]\r\n";
  const std::string after =
      "[options]\r\n"
      "filtertype=0\r\n"
      "DefaultRegType=2\r\n"
      "# not a comment here\r\n"
      "LanguageSetting=ENG\r\n"
      "HardwareType=1\r\n"
      "\r\n"
      "[Paths]\r\n"
      "Data=D:\\Data\\Dazide\r\n"
      "no equals sign\r\n"
      "\r\n"
      "[Empty]\r\n"
      "\r\n";
  EXPECT_EQ(Rewrite(before, L"options", kInstallerKeys), after);
}

TEST(IniFile, MissingSectionIsAddedAtTheEnd) {
  EXPECT_EQ(Rewrite("[Common]\r\nDisk=C\r\n", L"options", kInstallerKeys),
            "[Common]\r\nDisk=C\r\n\r\n[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
  EXPECT_EQ(Rewrite("[common]\r\nDisk=C\r\nPort=3\r\n", L"Common", {{L"disk", L"I"}}),
            "[common]\r\nDisk=I\r\nPort=3\r\n\r\n");
}

TEST(IniFile, FilesWithAByteOrderMarkComeBackInTheirEncoding) {
  const std::wstring before = L"[Пациент]\r\nФИО=Иванов И. И.\r\n;комментарий\r\n[options]\r\nFilterType=5\r\n";
  const std::wstring after =
      L"[Пациент]\r\nФИО=Иванов И. И.\r\n\r\n[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n";
  struct Case {
    text::Encoding encoding;
    std::string mark;
  };
  for (const Case& c : {Case{text::Encoding::Utf8, "\xEF\xBB\xBF"}, Case{text::Encoding::Utf16Le, "\xFF\xFE"},
                        Case{text::Encoding::Utf16Be, "\xFE\xFF"}, Case{text::Encoding::Ansi, ""}}) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    const std::string bytes = text::EncodeText(before, c.encoding, text::Cp1251());
    const std::string rewritten = Rewrite(bytes, L"options", kInstallerKeys);
    EXPECT_EQ(rewritten.substr(0, c.mark.size()), c.mark);
    EXPECT_EQ(rewritten, text::EncodeText(after, c.encoding, text::Cp1251()));
  }
}

TEST(IniFile, Utf8WithoutAMarkIsReadAsAnsiAndKeepsItsBytes) {
  // "[Common]\r\nИмя=Ёжик\r\n" in UTF-8 without a mark: read as code page 1251,
  // the untouched lines go back byte for byte.
  const std::string before = "[Common]\r\n\xD0\x98\xD0\xBC\xD1\x8F=\xD0\x81\xD0\xB6\xD0\xB8\xD0\xBA\r\n";
  EXPECT_EQ(Rewrite(before, L"Common", {{L"Disk", L"I"}}), before + "Disk=I\r\n\r\n");
}

TEST(IniFile, DamagedFilesNeverStopTheRewrite) {
  struct Case {
    std::string bytes;
    std::string result;
  };
  const std::string fresh = "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n";
  const std::vector<Case> cases = {
      {"", fresh},
      {std::string("\0\0\0\xFF\x01", 5), fresh},
      {"[options", fresh},
      {"[options]\r\nFilterType", "[options]\r\nFilterType\r\nFilterType=0\r\nHardwareType=1\r\n\r\n"},
      {std::string("[x]\r\nk=\0v", 9), "[x]\r\nk=v\r\n\r\n" + fresh},  // a zero is a blank to trim
      {std::string("\xFF\xFE[\0o\0", 6) + "p",
       text::EncodeText(text::FromUtf8(fresh), text::Encoding::Utf16Le, text::Cp1251())},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(Rewrite(c.bytes, L"options", kInstallerKeys), c.result);
  }
}

TEST(IniFile, KeysThatWouldNotReadBackAreRefused) {
  ini::IniDocument document;
  for (const wchar_t* key : {L"", L"a=b", L";a", L"[a]", L"a\r\nb"}) {
    EXPECT_THROW(document.SetValue(L"options", key, L"1"), std::invalid_argument);
  }
  EXPECT_THROW(document.SetValue(L"options", L"a", L"1\n[x]"), std::invalid_argument);
  EXPECT_THROW(document.SetValue(L"opt\rions", L"a", L"1"), std::invalid_argument);
  EXPECT_TRUE(document.Lines().empty());
}

// A reader trims blanks (code 32 or below) off the ends of a name: such a key
// would be written and never found again, and a later value would not replace it.
TEST(IniFile, NamesWithBlanksAtTheirEndsAreRefused) {
  const std::string before = "[options]\r\nFilterType=3\r\n";
  const std::vector<std::pair<std::wstring, std::wstring>> names = {
      {L"options", L" FilterType"},  {L"options", L"FilterType\t"}, {L"options", std::wstring(L"filt\0", 5)},
      {L"options", L" ;FilterType"}, {L" options", L"FilterType"},  {L"options\x01", L"FilterType"},
  };
  for (const auto& [section, key] : names) {
    EXPECT_THROW(Rewrite(before, section, {{key, L"0"}}), std::invalid_argument);
  }
  EXPECT_EQ(Rewrite(before, L"options", {{L"Filter Type", L" 0 "}}),
            "[options]\r\nFilterType=3\r\nFilter Type= 0 \r\n\r\n");
}

TEST(IniFile, ValueFindsTheFirstKeyOfItsNameInAnyLetterCase) {
  const ini::IniDocument document = ini::IniDocument::Parse(L"[A]\nk=1\nK=2\n[b]\nx = y z \n");
  EXPECT_EQ(document.Value(L"a", L"K"), L"1");
  EXPECT_EQ(document.Value(L"B", L"X"), L"y z");
  EXPECT_EQ(document.Value(L"b", L"k"), std::nullopt);
  EXPECT_EQ(document.Value(L"c", L"k"), std::nullopt);
}
