// The libFuzzer entry point of one fuzz program; FUZZ_TARGET_FUNCTION names the
// target (see tests/fuzz/CMakeLists.txt).
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FUZZ_TARGET_FUNCTION(data, size);
  return 0;
}
