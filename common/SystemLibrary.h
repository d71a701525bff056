// Loading system libraries from the system folder only.
//
// The installer runs from a distribution folder that anyone may have put files
// into, so a library beside Install.exe must never be loaded in place of the
// system's own. RestrictDllSearchToSystemFolder() is the first thing the program
// does; LoadSystemLibrary() is how every library that is not linked at build
// time is loaded later (rich edit, the setup library, ...).
#pragma once

#include "common/Handles.h"

#include <string>

namespace win {

// Removes the program's folder and the current folder from the search for
// libraries, for the whole process. Returns false where the system cannot do it
// (Vista without the loader update); LoadSystemLibrary still loads by full path.
bool RestrictDllSearchToSystemFolder();

// The system folder (System32 for the program's bitness), with a trailing backslash.
std::wstring SystemFolder();

// Loads `name` (a bare file name such as L"syssetup.dll") from the system folder
// only. Returns an empty handle when the library is not there.
UniqueModule LoadSystemLibrary(const std::wstring& name);

// Loads, from the system folder and for the rest of the process, the libraries
// that system libraries load by bare name on their own, where the restriction
// does not reach (see the .cpp): found already loaded, they are never searched
// for beside the program.
void PreloadLibrariesSystemLibrariesLoadByName();

}  // namespace win
