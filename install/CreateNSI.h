// CreateNSI: the installation engine's own file, folder, process and release
// operations: copying one file, copying a folder tree, listing release folders,
// starting a program with and without waiting, the read-only attribute, making
// sure a folder exists, and writing the release level into ReleaseInfo.
//
// Expected failures are results (CopyOneFile false, RunProgram -1); failures the
// installation cannot go on from are raised as CreateNSIError.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

// What() is the message in UTF-8, for the program's error display.
class CreateNSIError : public std::runtime_error {
 public:
  explicit CreateNSIError(const std::wstring& message);
};

// The longest command lines the two process operations accept, in characters:
// RunAndWait counts the path, one blank and the parameters; RunProgram the
// command line as given. A longer one is treated as a program that cannot start.
constexpr size_t kRunAndWaitCommandLimit = 512;
constexpr size_t kRunProgramCommandLimit = 255;

// Creates `Folder` (one level) when it does not exist; the outcome is not examined.
void EnsureFolder(const std::wstring& Folder);

// Appends Folder + name for every sub-folder of `Folder` (which ends in a
// backslash) that is neither hidden nor system and is not named "WithOutAnswer"
// (exactly so), in the order the file system lists them.
void ListReleaseFolders(const std::wstring& Folder, std::vector<std::wstring>& List);

// Writes `Level` as the text of the Level element of Folder + "ReleaseInfo"
// (Folder ends in a backslash). The file keeps every other byte. Raises
// "Release info file does not exist", or "Cannot get release information,
// error: " + the reason (among them "unknown release file version" when Version
// is not 1); the file is then unchanged.
void WriteReleaseLevel(const std::wstring& Folder, const std::wstring& Level);

// Starts `Path` (a program, or a .cmd/.bat script) with `Params` after one blank,
// in a new console with the show mode `ShowMode`, in the folder of `Path`, and
// waits for it, looking every 100 ms without processing window messages. Returns
// its exit code. Raises "не смог создать процесс: " + Path when it cannot start.
DWORD RunAndWait(const std::wstring& Path, const std::wstring& Params, int ShowMode);

// Copies the files of `Source` (hidden, system and read-only ones included, with
// their attributes) into `Target`, replacing existing files, and then the
// sub-folders that are neither hidden nor system, the same way. Creates
// `Target` with its missing parents. Failures are passed over.
void CopyFolderTree(const std::wstring& Source, const std::wstring& Target);

// Copies `Source` to `Target` in blocks of 1 MiB and gives the copy the source's
// last-write time rounded down to an even second. True when copied; false when
// the copy itself failed, in which case the target is as it was before (or
// absent). Raises "Cannot open file "<Source>". <reason>" or "Cannot create file
// "<Target>". <reason>" when a file cannot be opened, created or replaced.
bool CopyOneFile(const std::wstring& Source, const std::wstring& Target);

// Starts `CommandLine` in a new console with the show mode `ShowMode`, in the
// installer's current folder. When the command line as a whole names an existing
// file, that file is started (so blanks in its path are safe). With `Wait`,
// waits without a time limit and returns the exit code; without, returns 0 once
// started. Returns -1 when the program cannot start.
int RunProgram(const std::wstring& CommandLine, int ShowMode, bool Wait);

// The read call CopyOneFile uses. Tests put a failing one in its place to see a
// copy break off half-way (a scratched disc does that); the program leaves it
// at ReadFile. Returns the call replaced.
using CopyReadFn = BOOL(WINAPI*)(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);
CopyReadFn SetCopyReadForTesting(CopyReadFn replacement);

// Sets (true) or clears (false) the read-only attribute of `Path`, leaving the
// other attributes alone; nothing happens when the file is missing.
void SetReadOnly(const std::wstring& Path, bool ReadOnly);
