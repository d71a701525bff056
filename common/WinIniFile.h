// INI files on disk: lookups through the Windows profile functions, and the
// rewrite of a whole file with a few keys set (ini::RewriteIni) in the
// system's ANSI code page or the file's own encoding.
#pragma once

#include <string>

#include "common/IniFile.h"
#include "common/ProfileReader.h"

namespace ini {

// Lookups in one file through GetPrivateProfileStringW with a buffer of 2048
// characters. An empty path stands for no file: every lookup gives its
// fallback (an empty or bare name would otherwise send Windows looking in its
// own folder).
class PrivateProfile final : public ProfileReader {
 public:
  explicit PrivateProfile(std::wstring path) : path_(std::move(path)) {}
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& fallback) const override;

 private:
  std::wstring path_;
};

// Reads the INI file `path` if it exists, sets `values` in `section` and writes
// the whole file back (see IniFile.h for what is carried over). Raises
// files::FileError "Cannot create file "<full path>". <reason>" when the file
// cannot be written, and "Cannot open file ..." when it exists but cannot be
// read (rather than overwrite what could not be read).
void WriteIniValues(const std::wstring& path, const std::wstring& section, const KeyValues& values);

}  // namespace ini
