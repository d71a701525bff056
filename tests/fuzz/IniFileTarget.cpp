// Fuzz target for the INI reader and rewriter (common/IniFile): the input is a
// section, a key and a value to set, then the bytes of the file.
//
// Checks: a rewrite with nothing to set keeps the encoding and everything a
// reader sees, and rewriting its result again changes no byte; setting a key
// either raises for a name or value that could not be read back, or writes a
// file in the same encoding in which the key reads back as the value (blanks at
// its ends dropped) and every other key keeps its value.
#include "tests/fuzz/FuzzTargets.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/IniFile.h"
#include "common/TextEncoding.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {
namespace {

struct Entry {
  std::wstring section;
  std::wstring key;
};

bool IsSectionHeader(const std::wstring& line) {
  return line.size() >= 2 && line.front() == L'[' && line.back() == L']';
}

// Every (section, key) of the document, walked through its written lines:
// "[name]" opens a section, a line with "=" is a key of the current one.
std::vector<Entry> EntriesOf(const ini::IniDocument& document) {
  std::vector<Entry> entries;
  std::wstring section;
  for (const std::wstring& line : document.Lines()) {
    if (IsSectionHeader(line)) {
      section = line.substr(1, line.size() - 2);
    } else if (const size_t equals = line.find(L'='); equals != std::wstring::npos) {
      entries.push_back({section, line.substr(0, equals)});
    }
  }
  return entries;
}

bool HasLineBreak(std::wstring_view s) { return s.find_first_of(L"\r\n") != std::wstring_view::npos; }

bool HasBlankAtAnEnd(std::wstring_view s) { return TrimBlanks(s).size() != s.size(); }

// What SetValue must accept: names that read back as themselves and a value
// that stays on its line.
bool IsWritable(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (HasBlankAtAnEnd(section) || HasBlankAtAnEnd(key)) return false;
  return !key.empty() && key.front() != L';' && key.front() != L'[' && key.find(L'=') == std::wstring_view::npos;
}

ini::IniDocument Read(const std::string& bytes, text::Encoding expectedEncoding) {
  const text::DecodedText decoded = text::DecodeText(bytes, text::Cp1251());
  FUZZ_CHECK(decoded.encoding == expectedEncoding);
  return ini::IniDocument::Parse(decoded.text);
}

void CheckRewriteWithoutChanges(const std::string& file, const ini::IniDocument& original, text::Encoding encoding) {
  const std::string rewritten = ini::RewriteIni(file, L"options", {}, text::Cp1251());
  FUZZ_CHECK(Read(rewritten, encoding).Lines() == original.Lines());
  FUZZ_CHECK(ini::RewriteIni(rewritten, L"options", {}, text::Cp1251()) == rewritten);
}

void CheckSetValue(const std::string& file, const ini::IniDocument& original, text::Encoding encoding,
                   const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  std::string written;
  try {
    written = ini::RewriteIni(file, section, {{key, value}}, text::Cp1251());
  } catch (const std::invalid_argument&) {
    FUZZ_CHECK(!IsWritable(section, key, value));
    return;
  }
  FUZZ_CHECK(IsWritable(section, key, value));
  const ini::IniDocument changed = Read(written, encoding);
  FUZZ_CHECK(changed.Value(section, key) == std::wstring(TrimBlanks(value)));
  for (const Entry& entry : EntriesOf(original)) {
    if (text::EqualsIgnoreCase(entry.section, section) && text::EqualsIgnoreCase(entry.key, key)) continue;
    FUZZ_CHECK(changed.Value(entry.section, entry.key) == original.Value(entry.section, entry.key));
  }
  // One key line more at most, or a new section: its header, the key, the empty line.
  const size_t before = original.Lines().size();
  const size_t after = changed.Lines().size();
  FUZZ_CHECK(after == before || after == before + 1 || after == before + 3);
}

}  // namespace

void FuzzIniFile(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  // Names and values as code page 1251 gives them: every encoding can carry them.
  const std::wstring section = text::Cp1251().Decode(input.Field(15));
  const std::wstring key = text::Cp1251().Decode(input.Field(15));
  const std::wstring value = text::Cp1251().Decode(input.Field(31));
  const std::string file(input.Rest());

  const text::Encoding encoding = text::DetectEncoding(file);
  const ini::IniDocument original = Read(file, encoding);
  CheckRewriteWithoutChanges(file, original, encoding);
  CheckSetValue(file, original, encoding, section, key, value);
}

}  // namespace fuzz
