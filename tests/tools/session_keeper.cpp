// Keeps Wine's desktop process alive for a whole test session: without a
// program attached to the desktop, Wine ends its explorer after each program and
// starts it again for the next one, which costs more than a second per start.
// With "--once" it only makes sure the desktop and the services are up.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  ::GetDesktopWindow();
  if (commandLine && lstrcmpW(commandLine, L"--once") == 0) return 0;
  ::Sleep(INFINITE);
  return 0;
}
