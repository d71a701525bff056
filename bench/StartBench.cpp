// start_bench: start-up of Install.exe to its first painted main window,
// against a bare Win32 window (bare_window.exe) started the same way under the
// same wineserver.
//
//   start_bench.exe INSTALL.EXE BARE_WINDOW.EXE [rounds]     default: 10 rounds
//
// A run counts from CreateProcess until the program's main window is visible
// and neither it nor any of its visible child windows has anything left to
// paint (no update region), looked at every millisecond from this process.
// Then the window is closed and the program waited for. The two programs take
// turns; the first run of each is a warm-up and not counted.
#include "bench/BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

using namespace bench;

namespace {

struct Search {
  DWORD processId;
  const wchar_t* caption;
  HWND found = nullptr;
};

HWND VisibleWindowOf(DWORD processId, const wchar_t* caption) {
  Search search{processId, caption};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        wchar_t text[128] = {};
        ::GetWindowTextW(window, text, 128);
        if (process != s->processId || !::IsWindowVisible(window) || std::wcscmp(text, s->caption) != 0) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool NothingLeftToPaint(HWND window) {
  if (::GetUpdateRect(window, nullptr, FALSE)) return false;
  bool painted = true;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
          *reinterpret_cast<bool*>(param) = false;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&painted));
  return painted;
}

// Seconds from the start of `program` to its painted main window; negative
// when it showed none within a minute.
double TimeToPaintedWindow(const std::wstring& program, const wchar_t* caption) {
  std::wstring commandLine = Quoted(program);
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  const double start = Now();
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
    return -1;
  win::UniqueHandle process(info.hProcess);
  win::UniqueHandle thread(info.hThread);
  double seconds = -1;
  HWND window = nullptr;
  while (Now() - start < 60) {
    window = VisibleWindowOf(info.dwProcessId, caption);
    if (window && NothingLeftToPaint(window)) {
      seconds = Now() - start;
      break;
    }
    ::Sleep(1);
  }
  if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
  return seconds;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: start_bench.exe INSTALL.EXE BARE_WINDOW.EXE [rounds]\n");
    return 2;
  }
  const int rounds = argc > 3 ? std::max(1, _wtoi(argv[3])) : 10;
  const wchar_t* const captions[] = {L"Установка комплекса", L"Bare window"};
  const char* const names[] = {"Install.exe", "bare window"};
  std::vector<double> seconds[2];
  bool allShown = true;
  for (int round = 0; round <= rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      const int which = (round + turn) % 2;
      const double s = TimeToPaintedWindow(argv[1 + which], captions[which]);
      if (round == 0) continue;  // warm-up
      if (s < 0) allShown = false;
      seconds[which].push_back(s);
      std::printf("    round %2d  %-12s %7.3f s\n", round, names[which], s);
    }
  }
  std::printf("start-up to the first painted main window, %d runs each:\n", rounds);
  for (int which = 0; which < 2; ++which)
    std::printf("  %-12s best %.3f s  median %.3f s\n", names[which], BestOf(seconds[which]), MedianOf(seconds[which]));
  std::printf("  ratio Install.exe / bare window: median %.3f (goal <= 1.3)%s\n",
              MedianOf(seconds[0]) / MedianOf(seconds[1]), allShown ? "" : "  (A WINDOW DID NOT SHOW)");
  return allShown ? 0 : 1;
}
