// Entry of the Windows test program. No test may ever end the Windows session:
// the restart call is replaced by a recorder before any test runs.
#include "common/SH_Common_Proc.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
  SetExitWindowsExForTesting(testsupport::RecordExitWindowsEx);
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
