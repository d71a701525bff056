// The start and the end of the common units, in the order the suite's programs
// have always run them: the suite settings, then the global log, then the
// clinical code texts. They run before the program's own start-up code; none
// of them fails on missing or damaged files.
#pragma once

#include <string>

// InitSuiteSettings, creation of the global log MyLog, LoadCodeTexts.
void StartCommonUnits();

// The same with `programFolder` (ending in a backslash) in place of the folder
// of the running program.
void StartCommonUnitsFor(const std::wstring& programFolder);

// Destroys the global log. Safe to call when the units never started.
void StopCommonUnits();
