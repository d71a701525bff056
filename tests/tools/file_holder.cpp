// Stands in for another program that has a file open (a database server, an
// editor): opens the file named on its command line without any sharing, sets
// the event named second ("held") and keeps the file open until the event named
// third ("let go") is set, then exits 0. Exits 2 when the file cannot be opened.
//
//   file_holder.exe PATH HELD_EVENT LET_GO_EVENT
#include <windows.h>

namespace {

// A handle that is closed when it goes out of scope.
struct Handle {
  HANDLE value;
  explicit Handle(HANDLE h) : value(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (value) ::CloseHandle(value);
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 1;
  const Handle file(::CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.value) return 2;
  const Handle held(::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]));
  const Handle letGo(::OpenEventW(SYNCHRONIZE, FALSE, argv[3]));
  if (!held.value || !letGo.value) return 3;
  ::SetEvent(held.value);
  ::WaitForSingleObject(letGo.value, INFINITE);
  return 0;
}
