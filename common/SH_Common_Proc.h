// SH_Common_Proc: free procedures shared by the suite's programs: the string-table
// reader, the display font-size check, a folder copy through the shell, the
// Windows folder, and restarting Windows with the shutdown privilege.
#pragma once

#include <windows.h>

#include <string>

// Entry `id` of the string table of `instance`; texts longer than 254
// characters are cut, a missing entry gives an empty text.
std::wstring LoadResourceText(HINSTANCE instance, unsigned id);

// True when the screen works with "small" fonts: fewer than 100 logical pixels
// per inch across.
bool IsSmallFonts();
bool IsSmallFontsDpi(int logicalPixelsPerInch);

// Makes `Dest` a complete copy of the folder tree `Source` through the shell's
// file operation (with its own progress window and questions). One trailing
// backslash of either path is ignored. True when the copy succeeded.
bool ShellCopyFolder(const std::wstring& Source, const std::wstring& Dest);

// The Windows folder with exactly one trailing backslash, or empty.
std::wstring GetWindowsFolder();

// Enables the shutdown privilege where the system has one and asks Windows to
// end the session with `Flags` (ExitWindowsEx). True when Windows accepted.
bool ExitWindowsWithPrivilege(UINT Flags);

// The call that ends the Windows session. Tests put a recorder in its place so
// that nothing is ever restarted; the program leaves it at ExitWindowsEx.
using ExitWindowsExFn = BOOL(WINAPI*)(UINT flags, DWORD reason);
ExitWindowsExFn SetExitWindowsExForTesting(ExitWindowsExFn replacement);
