// install_bench: a complete installation against the system's CopyFileW and
// xcopy of the same files.
//
//   install_bench.exe [database size in MiB ...]     default: 64 1024
//
// For each size it lays out a sample distribution
// (tests/win/SampleDistribution.h) whose S12.FDB has that size, then runs in
// turn, each in a child process of its own so that each memory peak belongs to
// that run alone:
//   - the installation sequence with a scripted window (no dialogs: the driver
//     option off, No to the final question) into a fresh target folder;
//   - CopyFileW of every file the installation copies, into a fresh folder;
//   - the system's xcopy of the same folders, into a fresh folder.
// It prints the best and the median time of each, their ratios, and the peak
// growth of private memory above the idle program (the child just before it
// starts the work). The seven fonts are placed in the fonts folder beforehand
// (so no run registers any) and removed again at the end, with the desktop
// shortcut the runs leave.
#include "bench/BenchSupport.h"
#include "common/ComPtr.h"
#include "common/Handles.h"
#include "common/SystemLibrary.h"
#include "common/TextUtil.h"
#include "common/WinText.h"
#include "install/CreateNSI.h"
#include "install/InstallEngine.h"
#include "install/RuntimeFiles.h"
#include "tests/win/SampleDistribution.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr int kRounds = 4;

// The main window as the benchmark plays it: every answer No, nothing shown.
class QuietView final : public IInstallerView {
 public:
  explicit QuietView(std::wstring target) : target_(std::move(target)) {}
  std::wstring TargetText() const override { return target_; }
  bool DriverOptionChecked() const override { return false; }
  int RuntimeVariant() const override { return 0; }
  bool SiblingProduct() const override { return false; }
  void SetSourceFolder(const std::wstring&) override {}
  void ClearLines() override { lines_.clear(); }
  int AddLine(const std::wstring& text) override {
    lines_.push_back(text);
    return static_cast<int>(lines_.size() - 1);
  }
  void ChangeLine(int index, const std::wstring& text) override { lines_.at(static_cast<size_t>(index)) = text; }
  std::wstring Line(int index) const override { return lines_.at(static_cast<size_t>(index)); }
  int LineCount() const override { return static_cast<int>(lines_.size()); }
  void RepaintList() override {}
  void ProcessMessages() override {}
  bool Confirm(const std::wstring&) override { return false; }
  void ShowError(const std::wstring& text) override { errors_ += text; }
  void ShowPage(WizardPage) override {}
  void SetBusyCursor(bool) override {}
  void SetCanClose(bool) override {}
  void EnableExit() override { completed_ = true; }
  void Close() override {}
  bool completed() const { return completed_ && errors_.empty(); }
  int failedLines() const {
    return static_cast<int>(std::count_if(lines_.begin(), lines_.end(),
                                          [](const std::wstring& line) { return line.ends_with(L"ОШИБКА!!!"); }));
  }

 private:
  std::wstring target_;
  std::vector<std::wstring> lines_;
  std::wstring errors_;
  bool completed_ = false;
};

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---------------------------------------------------------------------------
// The CopyFileW baseline: every file the installation copies, where it copies
// it.

struct FileCopy {
  std::wstring from, to;
};

void AddTree(const std::wstring& from, const std::wstring& to, std::vector<FileCopy>& copies,
             std::vector<std::wstring>& folders) {
  folders.push_back(to);
  WIN32_FIND_DATAW data;
  win::UniqueFind find(::FindFirstFileW((from + L"\\*").c_str(), &data));
  if (!find) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      AddTree(from + L"\\" + name, to + L"\\" + name, copies, folders);
    else
      copies.push_back({from + L"\\" + name, to + L"\\" + name});
  } while (::FindNextFileW(find.get(), &data));
}

bool CopyLikeTheInstallation(const std::wstring& s, const std::wstring& t) {
  std::vector<FileCopy> copies;
  std::vector<std::wstring> folders = {t + L"DTAfb", t + L"intl", t + L"udf"};
  copies.push_back({s + L"DTAfb\\S12.FDB", t + L"DTAfb\\S12.FDB"});
  for (const wchar_t* n : runtime::kWindows7Files) copies.push_back({s + L"Firebird\\" + n, t + n});
  for (const wchar_t* n : runtime::kIntlFiles) copies.push_back({s + L"Firebird\\intl\\" + n, t + L"intl\\" + n});
  for (const wchar_t* n : runtime::kUdfFiles) copies.push_back({s + L"Firebird\\udf\\" + n, t + L"udf\\" + n});
  for (const wchar_t* n : runtime::kLibraries) copies.push_back({s + L"UDF\\" + n, t + L"udf\\" + n});
  AddTree(s + L"backup", t + L"backup", copies, folders);
  AddTree(s + L"Updater", text::WithoutTrailingBackslash(t), copies, folders);
  for (const std::wstring& folder : folders)
    if (!IsFolder(folder)) ::CreateDirectoryW(folder.c_str(), nullptr);
  bool all = true;
  for (const FileCopy& copy : copies) all = ::CopyFileW(copy.from.c_str(), copy.to.c_str(), FALSE) && all;
  return all;
}

// The same trees copied by the system's xcopy, one command per folder of the
// distribution (the runtime folder whole, so a few small files more).
bool XcopyLikeTheInstallation(const std::wstring& s, const std::wstring& t) {
  const std::wstring xcopy = Quoted(win::SystemFolder() + L"xcopy.exe");
  const std::wstring files = L" /Q /Y /I", trees = L" /E /Q /Y /I";
  const std::wstring commands[] = {
      Quoted(s + L"DTAfb\\S12.FDB") + L" " + Quoted(t + L"DTAfb\\") + files,
      Quoted(s + L"Firebird\\*") + L" " + Quoted(t) + files,
      Quoted(s + L"Firebird\\intl") + L" " + Quoted(t + L"intl\\") + files,
      Quoted(s + L"Firebird\\udf") + L" " + Quoted(t + L"udf\\") + files,
      Quoted(s + L"UDF") + L" " + Quoted(t + L"udf\\") + files,
      Quoted(s + L"backup") + L" " + Quoted(t + L"backup\\") + trees,
      Quoted(s + L"Updater") + L" " + Quoted(t) + trees,
  };
  bool all = true;
  for (const std::wstring& arguments : commands) {
    DWORD exitCode = 1;
    all = RunToEnd(xcopy + L" " + arguments, &exitCode, /*quiet=*/true) && exitCode == 0 && all;
  }
  return all;
}

// ---------------------------------------------------------------------------
// Child mode: one measured run, the figures written to `resultFile`.

// Wine reports as PeakPagefileUsage the private memory in use at the moment
// of the query, not a peak; a thread looks at it every millisecond instead.
// The working-set peak (the system's high-water mark, private and shared
// pages alike) is a true peak and an upper bound of the private one.
class PrivateMemorySampler {
 public:
  PrivateMemorySampler() : stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_.reset(::CreateThread(nullptr, 0, Loop, this, 0, nullptr));
  }
  PrivateMemorySampler(const PrivateMemorySampler&) = delete;
  PrivateMemorySampler& operator=(const PrivateMemorySampler&) = delete;
  ~PrivateMemorySampler() { Stop(); }
  void Stop() {
    if (!thread_) return;
    ::SetEvent(stop_.get());
    ::WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }
  long long peak() const { return peak_; }

 private:
  static DWORD WINAPI Loop(void* self) {
    auto* sampler = static_cast<PrivateMemorySampler*>(self);
    do sampler->Sample();
    while (::WaitForSingleObject(sampler->stop_.get(), 1) == WAIT_TIMEOUT);
    sampler->Sample();
    return 0;
  }
  void Sample() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters));
    peak_ = std::max(
        {peak_, static_cast<long long>(counters.PagefileUsage), static_cast<long long>(counters.PeakPagefileUsage)});
  }

  win::UniqueHandle stop_;
  win::UniqueHandle thread_;
  long long peak_ = 0;
};

int MeasureOnce(const std::wstring& method, const std::wstring& source, const std::wstring& target,
                const std::wstring& resultFile) {
  const win::ComScope com;  // as the window toolkit has it on the installer's thread
  ::CreateDirectoryW(target.c_str(), nullptr);
  ::CreateDirectoryW((target + L"Settings").c_str(),
                     nullptr);  // as the path page leaves it
  QuietView view(target);
  const InstallEnvironment environment{source, ProgramEnvironment().fontsFolder, [] { return false; }};

  // The private memory in use now (PagefileUsage: the commit charge, which
  // Wine reports where it leaves PrivateUsage at 0), with the sampler running.
  PrivateMemorySampler sampler;
  const PROCESS_MEMORY_COUNTERS_EX idle = Memory();
  const double start = Now();
  bool ok = false;
  try {
    if (method == L"install") {
      RunInstallSequence(view, environment);
      ok = view.completed() && view.failedLines() == 0;
    } else if (method == L"xcopy") {
      ok = XcopyLikeTheInstallation(source, target);
    } else {
      ok = CopyLikeTheInstallation(source, target);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  const double seconds = Now() - start;
  sampler.Stop();
  // Outside the timed copy: what starting the newest release's Install.cmd
  // costs by itself (a new console and the command interpreter), which the
  // installation pays once whatever the size of the database.
  double scriptSeconds = 0;
  if (method == L"copy") {
    const double scriptStart = Now();
    try {
      RunAndWait(target + L"backup\\r010320\\Install.cmd", L"", SW_HIDE);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
    }
    scriptSeconds = Now() - scriptStart;
  }
  const PROCESS_MEMORY_COUNTERS_EX after = Memory();
  char line[200];
  const int length = std::snprintf(
      line, sizeof(line), "%.6f %lld %lld %lld %d %.6f", seconds,
      sampler.peak() - static_cast<long long>(idle.PagefileUsage), static_cast<long long>(idle.PagefileUsage),
      static_cast<long long>(after.PeakWorkingSetSize) - static_cast<long long>(idle.WorkingSetSize), ok ? 1 : 0,
      scriptSeconds);
  return WriteSmallFile(resultFile, std::string(line, static_cast<size_t>(length))) ? 0 : 1;
}

struct Measurement {
  double seconds = 0;
  long long peakPrivateGrowth = 0;  // above the idle program
  long long idlePrivate = 0;
  long long peakWorkingSetGrowth = 0;
  bool ok = false;
  double scriptSeconds = 0;  // copy runs: the release script started on its own
};

Measurement RunChild(const std::wstring& method, const std::wstring& source, const std::wstring& target,
                     const std::wstring& resultFile) {
  Measurement m;
  int ok = 0;
  if (std::sscanf(RunSelf(L"--measure", {method, source, target}, resultFile).c_str(), "%lf %lld %lld %lld %d %lf",
                  &m.seconds, &m.peakPrivateGrowth, &m.idlePrivate, &m.peakWorkingSetGrowth, &ok,
                  &m.scriptSeconds) == 6)
    m.ok = ok != 0;
  return m;
}

// ---------------------------------------------------------------------------
// The comparison

struct Series {
  std::vector<double> seconds;
  long long peakPrivateGrowth = 0;
  long long idlePrivate = 0;
  long long peakWorkingSetGrowth = 0;
  bool allOk = true;
  std::vector<double> scriptSeconds;
  void Add(const Measurement& m) {
    seconds.push_back(m.seconds);
    scriptSeconds.push_back(m.scriptSeconds);
    peakPrivateGrowth = std::max(peakPrivateGrowth, m.peakPrivateGrowth);
    peakWorkingSetGrowth = std::max(peakWorkingSetGrowth, m.peakWorkingSetGrowth);
    idlePrivate = std::max(idlePrivate, m.idlePrivate);
    allOk = allOk && m.ok;
  }
  double Best() const { return BestOf(seconds); }
  double Median() const { return MedianOf(seconds); }
};

void Report(const char* name, const Series& series) {
  std::printf(
      "  %-20s best %7.3f s  median %7.3f s  peak private +%.2f MiB "
      "above idle (%.2f MiB), "
      "peak working set +%.2f MiB%s\n",
      name, series.Best(), series.Median(), AsMiB(series.peakPrivateGrowth), AsMiB(series.idlePrivate),
      AsMiB(series.peakWorkingSetGrowth), series.allOk ? "" : "  (A RUN FAILED)");
}

void FlushToDisk(const std::wstring& path) {
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (file) ::FlushFileBuffers(file.get());
}

int Compare(const std::wstring& folder, uint64_t sizeMiB) {
  const std::wstring source = folder + L"\\distribution\\";
  const std::wstring result = folder + L"\\result.txt";
  RemoveTree(text::WithoutTrailingBackslash(source));
  ::CreateDirectoryW(source.c_str(), nullptr);
  sample::Options options;
  options.databaseBytes = sizeMiB * MiB;
  sample::Build(source, options);
  FlushToDisk(source + L"DTAfb\\S12.FDB");

  // Each round runs the three methods in another order, so that none always
  // comes first (onto a cold cache) or last.
  const wchar_t* const methods[] = {L"install", L"copy", L"xcopy"};
  const char* const names[] = {"RunInstallSequence", "CopyFileW", "xcopy"};
  Series series[3];
  for (int round = 0; round < kRounds; ++round) {
    for (int turn = 0; turn < 3; ++turn) {
      const int method = (round + turn) % 3;
      const std::wstring target = folder + L"\\target " + std::to_wstring(round) + L"-" + std::to_wstring(turn) + L"\\";
      const Measurement m = RunChild(methods[method], source, target, result);
      std::printf(
          "    round %d  %-20s %7.3f s  peak private +%.2f MiB  peak "
          "working set +%.2f MiB%s\n",
          round + 1, names[method], m.seconds, AsMiB(m.peakPrivateGrowth), AsMiB(m.peakWorkingSetGrowth),
          m.ok ? "" : "  FAILED");
      series[method].Add(m);
      RemoveTree(text::WithoutTrailingBackslash(target));
    }
  }
  RemoveTree(text::WithoutTrailingBackslash(source));
  ::DeleteFileW(result.c_str());
  const Series& install = series[0];
  const Series& system = series[1];
  const Series& xcopy = series[2];
  std::printf("S12.FDB of %llu MiB, %d runs each:\n", static_cast<unsigned long long>(sizeMiB), kRounds);
  for (int method = 0; method < 3; ++method) Report(names[method], series[method]);
  std::printf(
      "  ratio installation / CopyFileW: best %.3f, median %.3f (goal "
      "<= 1.10)\n",
      install.Best() / system.Best(), install.Median() / system.Median());
  std::printf("  ratio installation / xcopy:     best %.3f, median %.3f\n", install.Best() / xcopy.Best(),
              install.Median() / xcopy.Median());
  const double script = MedianOf(system.scriptSeconds);
  std::printf(
      "  the release's Install.cmd alone: median %.3f s; installation "
      "without it / CopyFileW: median %.3f\n",
      script, (install.Median() - script) / system.Median());
  std::printf(
      "  peak private memory of the installation: +%.2f MiB above idle "
      "(goal <= 8 MiB)\n",
      AsMiB(install.peakPrivateGrowth));
  return install.allOk && system.allOk && xcopy.allOk ? 0 : 1;
}

// The seven fonts in the fonts folder for the length of the benchmark, so that
// no run adds any to the system; what was not there before goes again after.
class FontsInPlace {
 public:
  FontsInPlace() {
    for (const sample::FontSource& font : sample::kFonts) {
      const std::wstring path = fonts_ + font.fileName;
      if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
      if (::CopyFileW(font.hostFile, path.c_str(), TRUE)) placed_.push_back(path);
    }
  }
  ~FontsInPlace() {
    for (const std::wstring& path : placed_) ::DeleteFileW(path.c_str());
  }

 private:
  std::wstring fonts_ = ProgramEnvironment().fontsFolder;
  std::vector<std::wstring> placed_;
};

std::wstring DesktopShortcut() {
  wchar_t desktop[MAX_PATH];
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop))) return {};
  return std::wstring(desktop) + L"\\Севрон - Rezezi.lnk";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 6 && std::wstring(argv[1]) == L"--measure") return MeasureOnce(argv[2], argv[3], argv[4], argv[5]);

  std::vector<uint64_t> sizes;
  for (int i = 1; i < argc; ++i) {
    const uint64_t size = std::wcstoull(argv[i], nullptr, 10);
    if (size == 0) {
      std::fprintf(stderr, "usage: install_bench.exe [database size in MiB ...]\n");
      return 2;
    }
    sizes.push_back(size);
  }
  if (sizes.empty()) sizes = {64, 1024};

  const std::wstring shortcut = DesktopShortcut();
  const bool hadShortcut = ::GetFileAttributesW(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES;
  const std::wstring folder = ScratchFolder(L"install bench");
  int status = 0;
  {
    const FontsInPlace fonts;
    for (uint64_t size : sizes) status |= Compare(folder, size);
  }
  RemoveTree(folder);
  if (!hadShortcut) ::DeleteFileW(shortcut.c_str());
  return status;
}
