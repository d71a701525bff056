// The installation sequence with the surroundings it takes from the running
// program made explicit, so that tests and the benchmark can run it on a
// distribution folder of their own. RunInstallSequence(view) is
// RunInstallSequence(view, ProgramEnvironment()).
#pragma once

#include "install/InstallerView.h"

#include <functional>
#include <string>

struct InstallEnvironment {
  // S: the distribution folder, with a trailing backslash.
  std::wstring sourceFolder;
  // The Windows fonts folder, with a trailing backslash.
  std::wstring fontsFolder;
  // Whether the screen works with small fonts (IsSmallFonts).
  std::function<bool()> isSmallFonts;
};

// The folder of the running program, the system's fonts folder, IsSmallFonts.
InstallEnvironment ProgramEnvironment();

void RunInstallSequence(IInstallerView& view, const InstallEnvironment& environment);
