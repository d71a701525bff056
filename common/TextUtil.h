// Platform-neutral text helpers used across the program: trimming as the suite
// does it (every character of code 32 or below counts as blank), path joins.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Removes every leading and trailing character whose code is 32 or less.
std::wstring Trim(std::wstring_view s);
std::string Trim(std::string_view s);

// Appends a backslash unless the text already ends in one.
std::wstring WithTrailingBackslash(std::wstring_view path);

// Removes one trailing backslash, if there is one.
std::wstring WithoutTrailingBackslash(std::wstring_view path);

// Folder part of a path, up to and including its last backslash (or empty).
std::wstring FolderOf(std::wstring_view path);

// Name part of a path, after its last backslash.
std::wstring NameOf(std::wstring_view path);

}  // namespace text
