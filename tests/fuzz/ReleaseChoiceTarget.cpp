// Fuzz target for the release key and the choice among release folders
// (install/ReleaseChoice): the input is a list of folder paths, one per line,
// in UTF-8.
//
// Checks: the key text is the last six characters rearranged c5 c6 c3 c4 c1 c2
// (the whole path when shorter); the key is what a simple reference reads from
// it, and for a path ending in six digits ddmmyy it is the number yymmdd; a key
// that is not an integer raises EngineError naming it; the chosen folder is the
// first one with the greatest key, an empty list or a malformed key anywhere
// raises; the release level is the folder's name without its first character.
#include "tests/fuzz/FuzzTargets.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/TextEncoding.h"
#include "install/EngineError.h"
#include "install/ReleaseChoice.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {
namespace {

// Enough for the choice among several; each malformed key costs an exception.
constexpr size_t kMostFolders = 8;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// An optional sign, then one decimal digit or more.
std::optional<long> ReferenceKey(const std::wstring& key) {
  size_t at = key.empty() || (key[0] != L'-' && key[0] != L'+') ? 0 : 1;
  if (at == key.size()) return std::nullopt;
  long value = 0;
  for (; at < key.size(); ++at) {
    if (!IsDigit(key[at])) return std::nullopt;
    value = value * 10 + (key[at] - L'0');
  }
  return key[0] == L'-' ? -value : value;
}

std::vector<std::wstring> FoldersOf(std::string_view bytes) {
  std::vector<std::wstring> folders;
  while (!bytes.empty() && folders.size() < kMostFolders) {
    const size_t end = bytes.find('\n');
    folders.push_back(text::FromUtf8(bytes.substr(0, end)));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  return folders;
}

// The key of one folder; nothing (and the documented error checked) when it
// has none.
std::optional<long> CheckKey(const std::wstring& folder) {
  const std::wstring key = release::KeyText(folder);
  if (folder.size() < 6) {
    FUZZ_CHECK(key == folder);
  } else {
    const std::wstring last = folder.substr(folder.size() - 6);
    const std::wstring rearranged{last[4], last[5], last[2], last[3], last[0], last[1]};
    FUZZ_CHECK(key == rearranged);
  }
  const std::optional<long> expected = ReferenceKey(key);
  try {
    const long value = release::ReleaseKey(folder);
    FUZZ_CHECK(expected && value == *expected);
    if (key.size() == 6 && std::all_of(key.begin(), key.end(), IsDigit)) {
      const std::wstring ddmmyy = folder.substr(folder.size() - 6);
      const long day = std::stol(ddmmyy.substr(0, 2)), month = std::stol(ddmmyy.substr(2, 2));
      const long year = std::stol(ddmmyy.substr(4, 2));
      FUZZ_CHECK(value == year * 10000 + month * 100 + day);
    }
  } catch (const EngineError& error) {
    FUZZ_CHECK(!expected);
    // what() is a C string: a zero character in the key ends it there.
    const std::string message = text::ToUtf8(L"'" + key + L"' is not a valid integer value");
    FUZZ_CHECK(std::string(error.what()) == message.substr(0, message.find('\0')));
  }
  return expected;
}

void CheckLevel(const std::wstring& folder) {
  const std::wstring level = release::ReleaseLevel(folder);
  const size_t slash = folder.rfind(L'\\');
  const std::wstring name = slash == std::wstring::npos ? folder : folder.substr(slash + 1);
  FUZZ_CHECK(level == (name.empty() ? std::wstring() : name.substr(1)));
}

void CheckChoice(const std::vector<std::wstring>& folders, const std::vector<std::optional<long>>& keys) {
  std::optional<size_t> expected;
  bool malformed = folders.empty();
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!keys[i])
      malformed = true;
    else if (!expected || *keys[i] > *keys[*expected])
      expected = i;
  }
  try {
    const size_t chosen = release::ChooseRelease(folders);
    FUZZ_CHECK(!malformed && chosen == *expected);
  } catch (const EngineError& error) {
    FUZZ_CHECK(malformed);
    if (folders.empty()) FUZZ_CHECK(std::string(error.what()) == "List index out of bounds (0)");
  }
}

}  // namespace

void FuzzReleaseChoice(const uint8_t* data, size_t size) {
  const std::vector<std::wstring> folders = FoldersOf(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::optional<long>> keys;
  for (const std::wstring& folder : folders) {
    keys.push_back(CheckKey(folder));
    CheckLevel(folder);
  }
  CheckChoice(folders, keys);
}

}  // namespace fuzz
