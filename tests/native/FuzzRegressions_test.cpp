// Runs every fuzz target (tests/fuzz) on its seed inputs and on every input a
// fuzzer has found a fault with, so that a fault once fixed stays fixed. A
// property that fails aborts the test program with a message naming it.
#include "tests/fuzz/FuzzTargets.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct FuzzTarget {
  const char* name;  // its folder under tests/fuzz/seeds and tests/fuzz/regressions
  void (*run)(const uint8_t*, size_t);
};

const FuzzTarget kTargets[] = {
    {"IniFile", fuzz::FuzzIniFile},
    {"SettingsValues", fuzz::FuzzSettingsValues},
    {"CodeTexts", fuzz::FuzzCodeTexts},
    {"ReleaseInfoText", fuzz::FuzzReleaseInfoText},
    {"FontNameTable", fuzz::FuzzFontNameTable},
    {"ReleaseChoice", fuzz::FuzzReleaseChoice},
    {"TextEncoding", fuzz::FuzzTextEncoding},
};

// Names the target in test output.
void PrintTo(const FuzzTarget& target, std::ostream* out) { *out << target.name; }

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path());
  return files;
}

std::vector<uint8_t> Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzRegressions : public testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzRegressions, EverySeedAndFoundInputKeepsItsProperties) {
  const fs::path root = FUZZ_INPUT_DIR;
  const std::vector<fs::path> seeds = FilesIn(root / "seeds" / GetParam().name);
  ASSERT_FALSE(seeds.empty()) << "no seed inputs in " << (root / "seeds" / GetParam().name);
  std::vector<fs::path> inputs = seeds;
  for (const fs::path& found : FilesIn(root / "regressions" / GetParam().name)) inputs.push_back(found);
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.string());
    const std::vector<uint8_t> bytes = Bytes(input);
    ASSERT_FALSE(bytes.empty() && fs::file_size(input) != 0) << "cannot read " << input;
    GetParam().run(bytes.data(), bytes.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<FuzzTarget>& info) { return info.param.name; });

}  // namespace
