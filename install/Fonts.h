// The system fonts the suite needs: the distribution's "fonts" folder holds
// seven TrueType files; every one the Windows fonts folder lacks is copied
// there, registered in the machine-wide font list and announced to all
// top-level windows, with a progress line.
#pragma once

#include "install/InstallerView.h"

#include <windows.h>

#include <array>
#include <string>

// The font files, in the order they are installed; the registry data repeats
// each name letter for letter.
inline constexpr std::array<const wchar_t*, 7> kFontFiles = {L"ARIAL.TTF",  L"ARIALN.TTF", L"COUR.TTF",
                                                             L"MICROSS.TTF", L"TAHOMA.TTF", L"TIMES.TTF",
                                                             L"verdana.TTF"};

// The machine-wide font list under HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// Installs every font of kFontFiles from `sourceFolder` (the distribution's
// fonts folder, ending in a backslash) that `fontsFolder` (the Windows fonts
// folder, ending in a backslash) does not hold. The first failure that raises
// (a font file missing from the distribution, a fonts folder the user may not
// write, a registry value that cannot be written) ends the whole step; the
// fonts installed before it stay. The caller discards that error.
void InstallFonts(IInstallerView& view, const std::wstring& sourceFolder, const std::wstring& fontsFolder);

// One font of the list. A font whose file is in `fontsFolder` already is left
// alone without a word. A file that is there in the distribution but whose
// face name cannot be read (it is no TrueType font GDI or its name table could
// name) is not copied either: a file no font name can be given to would lie
// unregistered in the system's fonts folder and, being present by name, keep
// every later installation from putting the real font there. Its line says so.
void InstallFont(IInstallerView& view, const std::wstring& sourceFolder, const std::wstring& fontsFolder,
                 const std::wstring& name);

// The face name of the font file at `path`: what GDI reports (query 1 of
// GetFontResourceInfoW), else the full name from the file's own name table
// (fontname::FaceName); empty when neither gives one.
std::wstring GetFontFaceName(const std::wstring& path);

// GDI's GetFontResourceInfoW, which gdi32 exports without declaring it.
using FontResourceInfoFn = BOOL(WINAPI*)(LPCWSTR fileName, DWORD* size, LPVOID buffer, DWORD queryType);
// Tests put their own in place of the function looked up in gdi32 (under Wine
// it never answers); nullptr restores the lookup. Returns the previous one.
FontResourceInfoFn SetFontResourceInfoForTesting(FontResourceInfoFn replacement);
