// The small files the installation writes into the target folder: the first
// keys of the suite's settings file, the last-number record, the sibling
// product's btooth.ini, and the updater's two files made writable.
// `target` is the target folder with a trailing backslash throughout.
#pragma once

#include <string>

// target + "Settings\vavova.ini": FilterType=0 and HardwareType=1 in section
// "options", other keys and sections kept. Makes sure target + "Settings\"
// exists first: the path page normally made it, but a folder removed since
// would otherwise fail the installation at its first file. Raises
// files::FileError "Cannot create file ..." when the file cannot be written.
void WriteSuiteSettings(const std::wstring& target);

// target + "Settings\lastnum.dta" with last number 0 and the local date and
// time, only when the Settings folder exists and the file does not. Every
// failure is ignored: the suite makes the record itself when it is missing.
void WriteLastNumber(const std::wstring& target);

// target + "btooth.ini": Disk=I in section "Common". Raises like WriteSuiteSettings.
void WriteSiblingSettings(const std::wstring& target);

// Clears the read-only attribute of target + "ReleaseInfo" and of
// target + "Updater.exe.cfg" (a CD makes every file read-only); missing files
// are passed over.
void MakeUpdaterFilesWritable(const std::wstring& target);
