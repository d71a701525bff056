// Loads the library named by its argument with the ordinary search order and
// exits 0 when it was found.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  return ::LoadLibraryW(argv[1]) ? 0 : 1;
}
