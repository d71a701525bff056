// copy_bench: CopyOneFile against the system's CopyFileW on the same file.
//
//   copy_bench.exe [size in MiB ...]     default: 256 1024
//
// For each size it writes a source file into a folder under %TEMP%, then copies
// it three times with each method in alternating order and prints the best
// time of each, their ratio, and the peak growth of private memory during each
// copy. Every copy runs in a child process of its own (this program started in
// its "--copy" mode), so each peak belongs to that copy alone.
#include "bench/BenchSupport.h"
#include "common/Handles.h"
#include "install/CreateNSI.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr int kRounds = 4;  // an even number: each method goes first equally often

struct Measurement {
  double seconds = 0;
  long long peakPrivateGrowth = 0;  // bytes above the private memory in use before the copy
  long long peakWorkingSetGrowth = 0;
  bool copied = false;
};

// Child mode: one copy, measured, the figures written to `resultFile`.
int CopyOnce(const std::wstring& method, const std::wstring& source, const std::wstring& target,
             const std::wstring& resultFile) {
  const PROCESS_MEMORY_COUNTERS_EX before = Memory();
  const double start = Now();
  bool copied = false;
  try {
    copied = method == L"one" ? CopyOneFile(source, target) : ::CopyFileW(source.c_str(), target.c_str(), FALSE) != 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  const double seconds = Now() - start;
  const PROCESS_MEMORY_COUNTERS_EX after = Memory();
  char line[200];
  const int length = std::snprintf(
      line, sizeof(line), "%.6f %lld %lld %d", seconds,
      static_cast<long long>(after.PeakPagefileUsage) - static_cast<long long>(before.PrivateUsage),
      static_cast<long long>(after.PeakWorkingSetSize) - static_cast<long long>(before.WorkingSetSize), copied ? 1 : 0);
  return WriteSmallFile(resultFile, std::string(line, static_cast<size_t>(length))) ? 0 : 1;
}

Measurement RunChild(const std::wstring& method, const std::wstring& source, const std::wstring& target,
                     const std::wstring& resultFile) {
  Measurement m;
  int copied = 0;
  if (std::sscanf(RunSelf(L"--copy", {method, source, target}, resultFile).c_str(), "%lf %lld %lld %d", &m.seconds,
                  &m.peakPrivateGrowth, &m.peakWorkingSetGrowth, &copied) == 4)
    m.copied = copied != 0;
  return m;
}

bool WriteSource(const std::wstring& path, uint64_t size) {
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  std::vector<uint32_t> block(MiB / sizeof(uint32_t));
  uint32_t state = 12345;
  for (uint64_t done = 0; done < size; done += MiB) {
    for (uint32_t& word : block) word = state = state * 1664525u + 1013904223u;
    const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(MiB, size - done));
    DWORD written = 0;
    if (!::WriteFile(file.get(), block.data(), chunk, &written, nullptr) || written != chunk) return false;
  }
  // On disk before any copy is timed, so that writing the source back does not
  // compete with the copies.
  return ::FlushFileBuffers(file.get()) != 0;
}

struct Best {
  double seconds = 1e300;
  long long peakPrivateGrowth = 0;
  long long peakWorkingSetGrowth = 0;
  bool allCopied = true;
  void Add(const Measurement& m) {
    seconds = std::min(seconds, m.seconds);
    peakPrivateGrowth = std::max(peakPrivateGrowth, m.peakPrivateGrowth);
    peakWorkingSetGrowth = std::max(peakWorkingSetGrowth, m.peakWorkingSetGrowth);
    allCopied = allCopied && m.copied;
  }
};

void Report(const char* name, uint64_t sizeMiB, const Best& best) {
  std::printf(
      "  %-12s best %7.3f s  %8.1f MiB/s  peak private +%7.2f MiB  "
      "peak working set +%8.2f MiB%s\n",
      name, best.seconds, static_cast<double>(sizeMiB) / best.seconds, AsMiB(best.peakPrivateGrowth),
      AsMiB(best.peakWorkingSetGrowth), best.allCopied ? "" : "  (A COPY FAILED)");
}

int Compare(const std::wstring& folder, uint64_t sizeMiB, int rounds) {
  const std::wstring source = folder + L"\\source.bin";
  const std::wstring target = folder + L"\\target.bin";
  const std::wstring result = folder + L"\\result.txt";
  if (!WriteSource(source, sizeMiB * MiB)) {
    std::printf("cannot write the %llu MiB source file\n", static_cast<unsigned long long>(sizeMiB));
    return 1;
  }
  Best one, system;
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool oneFirst = round % 2 == 0;
      const bool useOne = (turn == 0) == oneFirst;
      const Measurement m = RunChild(useOne ? L"one" : L"system", source, target, result);
      std::printf("    round %d  %-11s %7.3f s\n", round + 1, useOne ? "CopyOneFile" : "CopyFileW", m.seconds);
      (useOne ? one : system).Add(m);
      ::DeleteFileW(target.c_str());
    }
  }
  ::DeleteFileW(source.c_str());
  ::DeleteFileW(result.c_str());
  std::printf("%llu MiB, best of %d each:\n", static_cast<unsigned long long>(sizeMiB), rounds);
  Report("CopyOneFile", sizeMiB, one);
  Report("CopyFileW", sizeMiB, system);
  std::printf("  ratio CopyOneFile / CopyFileW = %.3f\n", one.seconds / system.seconds);
  return one.allCopied && system.allCopied ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 6 && std::wstring(argv[1]) == L"--copy") return CopyOnce(argv[2], argv[3], argv[4], argv[5]);

  std::vector<uint64_t> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::wcstoull(argv[i], nullptr, 10));
  if (sizes.empty()) sizes = {256, 1024};

  const std::wstring folder = ScratchFolder(L"copy bench");
  int status = 0;
  for (uint64_t size : sizes) status |= Compare(folder, size, kRounds);
  ::RemoveDirectoryW(folder.c_str());
  return status;
}
