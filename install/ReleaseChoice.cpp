#include "install/ReleaseChoice.h"

#include "install/EngineError.h"

#include <limits>

namespace release {

std::wstring KeyText(std::wstring_view path) {
  if (path.size() < 6) return std::wstring(path);
  const std::wstring_view c = path.substr(path.size() - 6);
  return {c[4], c[5], c[2], c[3], c[0], c[1]};
}

long ReleaseKey(std::wstring_view path) {
  const std::wstring key = KeyText(path);
  const auto invalid = [&] { return EngineError(L"'" + key + L"' is not a valid integer value"); };
  size_t at = 0;
  const bool negative = !key.empty() && key[0] == L'-';
  if (!key.empty() && (key[0] == L'-' || key[0] == L'+')) at = 1;
  if (at == key.size()) throw invalid();
  long value = 0;
  for (; at < key.size(); ++at) {
    if (key[at] < L'0' || key[at] > L'9') throw invalid();
    value = value * 10 + (key[at] - L'0');  // six characters at most: no overflow
  }
  return negative ? -value : value;
}

size_t ChooseRelease(const std::vector<std::wstring>& sortedFolders) {
  if (sortedFolders.empty()) throw EngineError(L"List index out of bounds (0)");
  size_t best = 0;
  long bestKey = std::numeric_limits<long>::min();
  for (size_t i = 0; i < sortedFolders.size(); ++i) {
    const long key = ReleaseKey(sortedFolders[i]);
    if (i == 0 || key > bestKey) {
      best = i;
      bestKey = key;
    }
  }
  return best;
}

std::wstring ReleaseLevel(std::wstring_view folderPath) {
  const size_t slash = folderPath.find_last_of(L'\\');
  const std::wstring_view name = slash == std::wstring_view::npos ? folderPath : folderPath.substr(slash + 1);
  return name.empty() ? std::wstring() : std::wstring(name.substr(1));
}

}  // namespace release
