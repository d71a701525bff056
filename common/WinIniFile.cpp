#include "common/WinIniFile.h"

#include <windows.h>

#include <vector>

#include "common/WinFiles.h"

namespace ini {

std::wstring PrivateProfile::ReadString(const std::wstring& section, const std::wstring& key,
                                        const std::wstring& fallback) const {
  if (path_.empty()) return fallback;
  std::vector<wchar_t> buffer(kMaxProfileValue + 1);
  const DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path_.c_str());
  return std::wstring(buffer.data(), length);
}

void WriteIniValues(const std::wstring& path, const std::wstring& section, const KeyValues& values) {
  const std::optional<std::string> existing = win::ReadWholeFile(path);
  win::WriteWholeFile(path, RewriteIni(existing, section, values, win::AnsiCodePage()));
}

}  // namespace ini
