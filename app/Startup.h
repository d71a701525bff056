// Install: program start-up in its fixed order, and the end of the program.
#pragma once

#include <windows.h>

#include <string>

namespace app {

// The title of the application (the text of its taskbar button).
extern const wchar_t kApplicationTitle[];

// Makes the folder of the running program the current folder; a failure is
// ignored. Relative paths used later are thus relative to the installer.
void SetCurrentFolderToProgramFolder();

// Runs the whole program: start-up, the message loop, the end. Returns the exit code.
int RunInstaller(HINSTANCE instance);

}  // namespace app
