// Conversions between UTF-16 and the byte encodings the system uses, and the
// system's message text for an error code.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

std::wstring FromCodePage(std::string_view bytes, UINT codePage);
std::string ToCodePage(std::wstring_view text, UINT codePage);
inline std::wstring FromUtf8(std::string_view bytes) { return FromCodePage(bytes, CP_UTF8); }
inline std::string ToUtf8(std::wstring_view text) { return ToCodePage(text, CP_UTF8); }

// The system's description of an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD error);

// The full path of the running program file.
std::wstring ModuleFileName(HMODULE module = nullptr);

}  // namespace win
