// Which of the backed-up releases the installation runs: the release key of a
// folder path, the choice among the sorted folders and the release level.
//
// Release folders are named with a letter and a date written ddmmyy (r010320);
// the key rearranges the last six characters of the path into yymmdd so that
// the newest release has the greatest key.
//
// Platform-neutral; the sorting of the folder list (case-insensitive, in the
// user's locale) is the caller's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace release {

// The last six characters c1..c6 of `path` rearranged as c5 c6 c3 c4 c1 c2
// (all of `path` when it is shorter).
std::wstring KeyText(std::wstring_view path);

// KeyText(path) read as a decimal integer (an optional sign, then digits).
// Raises EngineError "'<key text>' is not a valid integer value" otherwise.
long ReleaseKey(std::wstring_view path);

// The index in `sortedFolders` of the release to run: the greatest key, the
// first one in the list when several share it. Every entry's key is read, so
// one malformed name anywhere raises (see ReleaseKey). An empty list raises
// EngineError "List index out of bounds (0)".
size_t ChooseRelease(const std::vector<std::wstring>& sortedFolders);

// The release level: the folder's name (after its last backslash) without its
// first character; "r010320" gives "010320".
std::wstring ReleaseLevel(std::wstring_view folderPath);

}  // namespace release
