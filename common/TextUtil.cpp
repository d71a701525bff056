#include "common/TextUtil.h"

namespace text {
namespace {

template <class Char>
std::basic_string<Char> TrimImpl(std::basic_string_view<Char> s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && static_cast<unsigned>(s[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned>(s[last - 1]) <= 32) --last;
  return std::basic_string<Char>(s.substr(first, last - first));
}

}  // namespace

std::wstring Trim(std::wstring_view s) { return TrimImpl(s); }

std::string Trim(std::string_view s) {
  // Bytes above 127 are parts of multi-byte characters, never blanks.
  size_t first = 0;
  size_t last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= 32) --last;
  return std::string(s.substr(first, last - first));
}

std::wstring WithTrailingBackslash(std::wstring_view path) {
  std::wstring result(path);
  if (result.empty() || result.back() != L'\\') result += L'\\';
  return result;
}

std::wstring WithoutTrailingBackslash(std::wstring_view path) {
  std::wstring result(path);
  if (!result.empty() && result.back() == L'\\') result.pop_back();
  return result;
}

std::wstring FolderOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring NameOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L'\\');
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

}  // namespace text
