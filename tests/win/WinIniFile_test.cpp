#include "common/WinIniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/FileError.h"
#include "common/Handles.h"
#include "common/WinFiles.h"
#include "common/WinText.h"
#include "tests/win/TestSupport.h"

using namespace testsupport;

namespace {

const ini::KeyValues kInstallerKeys = {{L"FilterType", L"0"}, {L"HardwareType", L"1"}};

// The message a FileError raised by `action` carries, or "" when none is raised.
template <class F>
std::wstring FileErrorMessage(F action) {
  try {
    action();
  } catch (const files::FileError& error) {
    return Utf16(error.what());
  }
  return L"";
}

}  // namespace

TEST(WriteIniValues, NewVavovaIniIsExactlyFourLines) {
  TempFolder folder;
  const std::wstring path = folder / L"vavova.ini";
  ini::WriteIniValues(path, L"options", kInstallerKeys);
  EXPECT_EQ(ReadBytes(path), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
}

TEST(WriteIniValues, RewriteKeepsOtherSectionsKeysAndOrderAndDropsComments) {
  TempFolder folder;
  const std::wstring path = folder / L"vavova.ini";
  WriteBytes(path,
             "; settings of the suite\r\n"
             "[options]\r\n"
             "FilterType=3\r\n"
             "; recorder\r\n"
             "DefaultRegType = 2\r\n"
             "LanguageSetting=ENG\r\n"
             "\r\n"
             "[Paths]\r\n"
             "Data=D:\\Data\r\n");
  ini::WriteIniValues(path, L"options", kInstallerKeys);
  EXPECT_EQ(ReadBytes(path),
            "[options]\r\n"
            "FilterType=0\r\n"
            "DefaultRegType=2\r\n"
            "LanguageSetting=ENG\r\n"
            "HardwareType=1\r\n"
            "\r\n"
            "[Paths]\r\n"
            "Data=D:\\Data\r\n"
            "\r\n");
}

TEST(WriteIniValues, FilesComeBackInTheirEncoding) {
  if (::GetACP() != 1251) GTEST_SKIP() << "the test session runs with the Russian ANSI code page";
  // "[Общие]\r\nДиск=C\r\n" with "Диск" set to "Я" in section "Общие".
  const std::string utf8Before = "[\xD0\x9E\xD0\xB1\xD1\x89\xD0\xB8\xD0\xB5]\r\n\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA=C\r\n";
  const std::string utf8After =
      "[\xD0\x9E\xD0\xB1\xD1\x89\xD0\xB8\xD0\xB5]\r\n\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA=\xD0\xAF\r\n\r\n";
  const auto utf16 = [](const std::string& utf8, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : Utf16(utf8)) {
      const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
      bytes += bigEndian ? hi : lo;
      bytes += bigEndian ? lo : hi;
    }
    return bytes;
  };
  struct Case {
    const char* name;
    std::string before, after;
  };
  const std::vector<Case> cases = {
      {"UTF-8", "\xEF\xBB\xBF" + utf8Before, "\xEF\xBB\xBF" + utf8After},
      {"UTF-16LE", utf16(utf8Before, false), utf16(utf8After, false)},
      {"UTF-16BE", utf16(utf8Before, true), utf16(utf8After, true)},
      {"ANSI", "[\xCE\xE1\xF9\xE8\xE5]\r\n\xC4\xE8\xF1\xEA=C\r\n",
       "[\xCE\xE1\xF9\xE8\xE5]\r\n\xC4\xE8\xF1\xEA=\xDF\r\n\r\n"},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring path = folder / L"btooth.ini";
    WriteBytes(path, c.before);
    ini::WriteIniValues(path, L"Общие", {{L"Диск", L"Я"}});
    EXPECT_EQ(ReadBytes(path), c.after);
  }
}

TEST(WriteIniValues, FileThatCannotBeCreatedRaisesTheSystemsReason) {
  TempFolder folder;
  struct Case {
    std::wstring path;
    DWORD error;
  };
  const std::vector<Case> cases = {
      {folder / L"Settings\\vavova.ini", ERROR_PATH_NOT_FOUND},  // the folder is missing
      {folder / L"vavova|.ini", ERROR_INVALID_NAME},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileErrorMessage([&] { ini::WriteIniValues(c.path, L"options", kInstallerKeys); }),
              L"Cannot create file \"" + c.path + L"\". " + win::SystemErrorText(c.error));
    EXPECT_FALSE(Exists(c.path));
  }
}

TEST(WriteIniValues, ReadOnlyFileIsRefused) {
  TempFolder folder;
  const std::wstring readOnly = folder / L"btooth.ini";
  WriteBytes(readOnly, "[Common]\r\nDisk=C\r\n");
  // Refused by the writer itself, also where the system would let the process
  // write it (Wine run by root).
  ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(FileErrorMessage([&] {
              ini::WriteIniValues(readOnly, L"Common", {{L"Disk", L"I"}});
            }),
            L"Cannot create file \"" + readOnly + L"\". " + win::SystemErrorText(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadBytes(readOnly), "[Common]\r\nDisk=C\r\n");
}

TEST(WriteIniValues, RelativePathsAreNamedInFullInTheError) {
  TempFolder folder;
  ASSERT_TRUE(::SetCurrentDirectoryW(folder.path().c_str()));
  const std::wstring message =
      FileErrorMessage([] { ini::WriteIniValues(L"missing\\vavova.ini", L"options", kInstallerKeys); });
  ::SetCurrentDirectoryW(TestProgramFolder().c_str());
  EXPECT_EQ(message.substr(0, message.find(L"\". ")),
            L"Cannot create file \"" + folder.path() + L"\\missing\\vavova.ini");
}

TEST(WriteIniValues, HiddenFileIsRewrittenAndShrinks) {
  TempFolder folder;
  const std::wstring path = folder / L"vavova.ini";
  WriteBytes(path, "[options]\r\nFilterType=0\r\nHardwareType=1\r\nLongKeyThatMakesTheFileLonger=xxxxxxxxxxxxxxxx\r\n");
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ini::WriteIniValues(path, L"OPTIONS", {{L"longkeythatmakesthefilelonger", L""}});
  EXPECT_EQ(ReadBytes(path), "[options]\r\nFilterType=0\r\nHardwareType=1\r\nLongKeyThatMakesTheFileLonger=\r\n\r\n");
}

TEST(PrivateProfile, LooksUpLikeTheProfileFunctions) {
  TempFolder folder;
  const std::wstring path = folder / L"EngView.lng";
  WriteBytes(path, "[SH_Messages]\r\nNormo=Normosthenic\r\nGip=\r\n Asten = Asthenic  \r\nLong=" +
                       std::string(3000, 'x') + "\r\n");
  const ini::PrivateProfile file(path);
  struct Case {
    std::wstring section, key, fallback, value;
  };
  const std::vector<Case> cases = {
      {L"SH_Messages", L"Normo", L"Нормостеник", L"Normosthenic"},
      {L"sh_messages", L"NORMO", L"Нормостеник", L"Normosthenic"},
      {L"SH_Messages", L"Gip", L"Гипертония", L""},
      {L"SH_Messages", L"Asten", L"Астеник", L"Asthenic"},
      {L"SH_Messages", L"Giper", L"Гиперстеник", L"Гиперстеник"},
      {L"SH_Common_Proc", L"Normo", L"Нормостеник", L"Нормостеник"},
      {L"SH_Messages", L"Long", L"", std::wstring(2047, L'x')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(file.ReadString(c.section, c.key, c.fallback), c.value) << Utf8(c.section + L"/" + c.key);
  }
  EXPECT_EQ(ini::PrivateProfile(folder / L"missing.lng").ReadString(L"SH_Messages", L"Normo", L"Н"), L"Н");
  EXPECT_EQ(ini::PrivateProfile(L"").ReadString(L"SH_Messages", L"Normo", L"Н"), L"Н");
}

TEST(WholeFile, MissingFileIsNothingAndOtherFailuresRaise) {
  TempFolder folder;
  EXPECT_EQ(win::ReadWholeFile(folder / L"none.ini"), std::nullopt);
  EXPECT_EQ(win::ReadWholeFile(folder / L"no folder\\none.ini"), std::nullopt);
  EXPECT_THROW(win::ReadWholeFile(folder.path()), files::FileError);  // a folder is not a file

  const std::wstring locked = folder / L"locked.ini";
  WriteBytes(locked, "[x]");
  win::UniqueFile holder(
      ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  EXPECT_EQ(FileErrorMessage([&] {
              ini::WriteIniValues(locked, L"x", {{L"k", L"v"}});
            }),
            L"Cannot open file \"" + locked + L"\". " + win::SystemErrorText(ERROR_SHARING_VIOLATION));
}
