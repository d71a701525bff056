// Shortcut: writes a shell shortcut (.lnk) to a program into one of the current
// user's shell folders or into a folder the caller names.
#pragma once

#include <cstdint>
#include <string>

// Where CreateShortcut puts the shortcut.
enum ShortcutLocation : uint8_t {
  kShortcutDesktop = 0,      // HKCU ...\Explorer\Shell Folders, value "Desktop"
  kShortcutQuickLaunch = 1,  // HKCU ...\GrpConv\MapGroups, value "Quick Launch"
  kShortcutSendTo = 2,       // HKCU ...\Explorer\Shell Folders, value "SendTo"
  kShortcutStartMenu = 3,    // HKCU ...\Explorer\Shell Folders, value "Start Menu"
  kShortcutFolder = 4,       // the folder given as subFolder
};

// Writes a shortcut that starts `fileName`.
// - location: a ShortcutLocation; codes 5 to 255 write nothing.
// - subFolder: codes 0 to 3: a folder inside the shell folder (it must exist;
//   empty: the shell folder itself); code 4: the folder that receives the
//   shortcut, used as given.
// - workingFolder: empty: the folder of `fileName`, with its trailing backslash.
// - linkName: the shortcut's name, empty: the name of `fileName`; either way its
//   extension becomes ".lnk" and any folder part is dropped.
// - linkPath: receives the path written; untouched when the location gives no
//   folder (an unknown code, a registry value that is missing or not a string).
// A failed save is not reported (linkPath is still set). Raises EngineError
// when the shell link object cannot be created.
void CreateShortcut(const std::wstring& fileName, uint8_t location, const std::wstring& subFolder,
                    const std::wstring& workingFolder, const std::wstring& arguments, const std::wstring& description,
                    const std::wstring& linkName, std::wstring& linkPath);

// The shortcut's file name: `linkName` (or `fileName` when that is empty)
// without its folder part, with its extension (from the last dot on) replaced
// by ".lnk", or ".lnk" appended when it has none.
std::wstring ShortcutFileName(const std::wstring& fileName, const std::wstring& linkName);
