// The database and its engine's runtime: the database folder and file, the
// Firebird runtime files of the chosen Windows variant directly in the target
// folder, its intl\ and udf\ folders, and the suite's user-function libraries.
// Every copy is one "copy step" with its progress line.
#pragma once

#include "install/InstallerView.h"

#include <string>

// Adds "Копирование файла " + name + "....", lets messages run, copies `source`
// to `target` with CopyOneFile and completes the line with "Завершено" (true)
// or "ОШИБКА!!!" (false). What CopyOneFile raises goes to the caller and the
// line keeps no ending.
bool CopyStep(IInstallerView& view, const std::wstring& name, const std::wstring& source, const std::wstring& target);

// The whole block, `source` and `target` ending in a backslash. False when the
// installation must stop: the database folder cannot be created (error box and
// line), or a copy of the database file, a runtime file, an intl or a udf file
// returns false. A library copy that returns false only marks its line.
// Raises what CopyOneFile raises.
//
// A database file already in the target is the clinic's data: before the
// distribution's file replaces it, it is renamed beside itself to
// "S12.FDB.<yyyy-mm-dd_hh-mm-ss>.bak" (runtime::KeptFileName) and a line names
// it. If the copy then fails, the kept file is put back in place. If it cannot
// be set aside, nothing is copied over it: the rename's failure is raised.
bool DeployDatabaseRuntime(IInstallerView& view, const std::wstring& source, const std::wstring& target, int variant);
