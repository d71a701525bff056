// Whole-file reads and writes for the small text files of the suite (INI files,
// the log), and the system's ANSI code page as a codec for text::DecodeText.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/TextEncoding.h"

namespace win {

// The ANSI code page of the system (CP_ACP): 1251 on Russian Windows.
const text::AnsiCodec& AnsiCodePage();

// The absolute form of `path` (GetFullPathNameW); `path` itself if that fails.
std::wstring FullPath(const std::wstring& path);

// The bytes of a file, or nothing when there is no such file (missing, its
// folder missing, or a name no file can have). A file that exists but cannot be
// read raises files::FileError "Cannot open file ...".
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// Replaces the content of a file with `bytes`, creating the file if needed.
// Failures raise files::FileError: "Cannot create file "<full path>". <reason>"
// when the file cannot be opened for writing (missing folder, read-only file,
// no access), "Cannot write file ..." when writing fails. The file is opened
// rather than re-created, so a hidden file can be rewritten too (CreateFile
// with CREATE_ALWAYS refuses hidden and system files).
void WriteWholeFile(const std::wstring& path, std::string_view bytes);

}  // namespace win
