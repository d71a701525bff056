// Install: the set-up wizard of the "Севрон-Rezezi" suite. It takes no
// command-line arguments; everything happens in the main window.
#include "app/Startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return app::RunInstaller(instance); }
