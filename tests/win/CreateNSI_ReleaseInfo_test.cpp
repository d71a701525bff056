// WriteReleaseLevel on real ReleaseInfo files through the system's XML DOM.
#include "install/CreateNSI.h"

#include "common/ComPtr.h"
#include "common/Handles.h"
#include "common/WinText.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

using namespace testsupport;

namespace {

enum class Form { Utf8, Utf8Bom, Utf16LeBom, Windows1251 };

// `utf8` text written as a ReleaseInfo of the given form would be.
std::string Encoded(const std::string& utf8, Form form) {
  switch (form) {
    case Form::Utf8: return utf8;
    case Form::Utf8Bom: return "\xEF\xBB\xBF" + utf8;
    case Form::Windows1251: return win::ToCodePage(Utf16(utf8), 1251);
    case Form::Utf16LeBom: {
      const std::wstring text = Utf16(utf8);
      return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }
  }
  return {};
}

std::string ReleaseInfo(const std::string& encoding, const std::string& level, const std::string& version = "1") {
  return "<?xml version=\"1.0\" encoding=\"" + encoding +
         "\"?>\r\n"
         "<!-- Севрон-Rezezi updater -->\r\n"
         "<ROOT>\r\n"
         "\t<Version>" + version + "</Version>\r\n"
         "\t<Product>Севрон - Rezezi</Product>\r\n"
         "\t<Level>" + level + "</Level>\r\n"
         "\t<Files count=\"2\">\r\n"
         "\t\t<File name=\"Updater.exe\"   size=\"1\"/>\r\n"
         "\t\t<Level>вложенный</Level>\r\n"
         "\t</Files>\r\n"
         "</ROOT>\r\n";
}

std::set<std::wstring> NamesIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.insert(name);
  } while (::FindNextFileW(find.get(), &data));
  return names;
}

std::string MessageOf(const std::wstring& folder, const std::wstring& level) {
  try {
    WriteReleaseLevel(folder, level);
  } catch (const CreateNSIError& e) {
    return e.what();
  }
  return "(nothing raised)";
}

const std::string kPrefix = "Cannot get release information, error: ";

}  // namespace

TEST(WriteReleaseLevel, ChangesOnlyTheLevelTextWhateverTheEncoding) {
  struct Case {
    const char* name;
    Form form;
    std::string encoding;
    std::string level;
  };
  const Case cases[] = {
      {"UTF-8", Form::Utf8, "UTF-8", "010320"},
      {"UTF-8 with byte-order mark", Form::Utf8Bom, "utf-8", "010320"},
      {"UTF-16 LE with byte-order mark", Form::Utf16LeBom, "UTF-16", "Выпуск 010320"},
      {"windows-1251, digits", Form::Windows1251, "windows-1251", "150219"},
      {"windows-1251, Cyrillic", Form::Windows1251, "windows-1251", "Выпуск № 5"},
      {"characters to escape", Form::Utf8, "UTF-8", "a<b & c>d"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp(L"релиз");
    const std::wstring file = temp / L"ReleaseInfo";
    WriteBytes(file, Encoded(ReleaseInfo(c.encoding, "000000"), c.form));
    WriteReleaseLevel(temp.path() + L"\\", Utf16(c.level));
    std::string escaped = c.level;
    for (auto [from, to] : {std::pair{"&", "&amp;"}, {"<", "&lt;"}, {">", "&gt;"}})
      for (size_t at = 0; (at = escaped.find(from, at)) != std::string::npos; at += std::string(to).size())
        escaped.replace(at, 1, to);
    EXPECT_EQ(ReadBytes(file), Encoded(ReleaseInfo(c.encoding, escaped), c.form));
    EXPECT_EQ(NamesIn(temp.path()), std::set<std::wstring>{L"ReleaseInfo"});
  }
}

TEST(WriteReleaseLevel, ExpandsAnEmptyLevelAndKeepsTheFilesAttributes) {
  TempFolder temp;
  const std::wstring file = temp / L"ReleaseInfo";
  WriteBytes(file, "<ROOT><Version>1</Version><Level/><Other a='1'/></ROOT>");
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  WriteReleaseLevel(temp.path() + L"\\", L"010320");
  EXPECT_EQ(ReadBytes(file), "<ROOT><Version>1</Version><Level>010320</Level><Other a='1'/></ROOT>");
  EXPECT_EQ(::GetFileAttributesW(file.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
}

TEST(WriteReleaseLevel, FailsWithTheReasonAndLeavesTheFileUnchanged) {
  struct Case {
    const char* name;
    std::string document;
    std::string message;  // after the prefix; empty: any reason the parser gives
    std::wstring level = L"010320";
  };
  const Case cases[] = {
      {"Version 2", ReleaseInfo("UTF-8", "000000", "2"), "unknown release file version"},
      {"Version 0", ReleaseInfo("UTF-8", "000000", "0"), "unknown release file version"},
      {"Version not a number", ReleaseInfo("UTF-8", "000000", "один"), "unknown release file version"},
      {"Version missing", "<ROOT><Level>1</Level></ROOT>", "unknown release file version"},
      {"Version deeper only", "<ROOT><A><Version>1</Version></A><Level>1</Level></ROOT>",
       "unknown release file version"},
      {"no Level", "<ROOT><Version>1</Version></ROOT>", "ROOT has no Level element"},
      {"Level deeper only", "<ROOT><Version>1</Version><A><Level>1</Level></A></ROOT>", "ROOT has no Level element"},
      {"no ROOT", "<Release><Version>1</Version><Level>1</Level></Release>", "the document has no ROOT element"},
      {"not XML", "Level=1\r\nVersion=1\r\n", ""},
      {"truncated", "<ROOT><Version>1</Version><Level>1</Level>", ""},
      {"empty file", "", ""},
      {"level XML cannot carry", ReleaseInfo("UTF-8", "000000"),
       "the level text holds a character that XML cannot carry", L"01\x0001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const std::wstring file = temp / L"ReleaseInfo";
    WriteBytes(file, c.document);
    const std::string message = MessageOf(temp.path() + L"\\", c.level);
    if (c.message.empty()) {
      EXPECT_EQ(message.substr(0, kPrefix.size()), kPrefix);
      EXPECT_GT(message.size(), kPrefix.size());
    } else {
      EXPECT_EQ(message, kPrefix + c.message);
    }
    EXPECT_EQ(ReadBytes(file), c.document);
    EXPECT_EQ(NamesIn(temp.path()), std::set<std::wstring>{L"ReleaseInfo"});
  }
}

TEST(WriteReleaseLevel, AReadOnlyFileFailsWithTheSystemsReason) {
  TempFolder temp;
  const std::wstring file = temp / L"ReleaseInfo";
  const std::string document = ReleaseInfo("UTF-8", "000000");
  WriteBytes(file, document);
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(MessageOf(temp.path() + L"\\", L"010320"),
            kPrefix + "Cannot create file \"" + Utf8(file) + "\". " + Utf8(win::SystemErrorText(ERROR_ACCESS_DENIED)));
  EXPECT_EQ(ReadBytes(file), document);
  EXPECT_TRUE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(WriteReleaseLevel, AMissingFileFailsWithoutThePrefix) {
  TempFolder temp;
  EXPECT_EQ(MessageOf(temp.path() + L"\\", L"010320"), "Release info file does not exist");
  MakeFolders(temp / L"ReleaseInfo");
  EXPECT_EQ(MessageOf(temp.path() + L"\\", L"010320"), "Release info file does not exist");
  EXPECT_EQ(MessageOf(temp / L"нет папки\\", L"010320"), "Release info file does not exist");
}

// The call brings its own apartment and takes it down again; a caller that has
// one already, of either kind, keeps it.
TEST(WriteReleaseLevel, InitialisesComForItsOwnCallOnly) {
  TempFolder temp;
  const std::wstring file = temp / L"ReleaseInfo";
  for (DWORD callerModel : {DWORD{0}, DWORD{COINIT_APARTMENTTHREADED}, DWORD{COINIT_MULTITHREADED}}) {
    SCOPED_TRACE(callerModel);
    WriteBytes(file, "<ROOT><Version>1</Version><Level>0</Level></ROOT>");
    {
      std::optional<win::ComScope> caller;
      if (callerModel) caller.emplace(callerModel);
      WriteReleaseLevel(temp.path() + L"\\", L"1");
      if (callerModel) {
        // Still the caller's apartment: asking for the same model again only counts up.
        const HRESULT again = ::CoInitializeEx(nullptr, callerModel);
        EXPECT_EQ(again, S_FALSE);
        if (SUCCEEDED(again)) ::CoUninitialize();
      }
    }
    EXPECT_EQ(ReadBytes(file), "<ROOT><Version>1</Version><Level>1</Level></ROOT>");
    // No apartment is left behind: the thread may now join either kind.
    const HRESULT after = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(after, S_OK);
    if (SUCCEEDED(after)) ::CoUninitialize();
  }
}
