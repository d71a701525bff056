#include "install/RuntimeFiles.h"

#include <cwchar>

namespace runtime {

std::span<const wchar_t* const> RuntimeFiles(int variant) {
  if (variant == kVariantWindowsXp) return kWindowsXpFiles;
  return kWindows7Files;
}

std::wstring KeptFileName(std::wstring_view fileName, const LocalTime& t, int attempt) {
  wchar_t stamp[64];
  std::swprintf(stamp, 64, L".%04d-%02d-%02d_%02d-%02d-%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  std::wstring name = std::wstring(fileName) + stamp;
  if (attempt > 1) name += L" (" + std::to_wstring(attempt) + L")";
  return name + L".bak";
}

}  // namespace runtime
