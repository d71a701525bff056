// The files the installation deploys for the database: the database file, the
// Firebird runtime of the two Windows variants, its international-character and
// user-function files, and the suite's own user-function libraries. Names are
// written exactly as the progress lines show them, letter case included.
//
// Also the name under which a re-installation keeps the clinic's database
// before the distribution's empty one is copied over it.
//
// Platform-neutral.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace runtime {

inline constexpr const wchar_t* kDatabaseFolder = L"DTAfb\\";
inline constexpr const wchar_t* kDatabaseFile = L"S12.FDB";

// Item index 0 of CBWindows: "Windows 7, Windows 8".
inline constexpr std::array<const wchar_t*, 12> kWindows7Files = {
    L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll", L"icudt30.Dll", L"icuin30.Dll",
    L"icuuc30.Dll",  L"msvcp80.Dll",   L"msvcr80.Dll",  L"firebird.msg", L"gbak.exe",   L"gds32.dll"};

// Item index 1: "Windows XP": the older C runtime pair, no gbak.exe and gds32.dll.
inline constexpr std::array<const wchar_t*, 10> kWindowsXpFiles = {
    L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll", L"icudt30.Dll",
    L"icuin30.Dll",  L"icuuc30.Dll",   L"msvcp71.Dll",  L"msvcr71.Dll", L"firebird.msg"};

inline constexpr int kVariantWindows7 = 0;
inline constexpr int kVariantWindowsXp = 1;

// The runtime files of `variant`, in copy order. The control is hidden and
// always at 0; any index but 1 is the default variant.
std::span<const wchar_t* const> RuntimeFiles(int variant);

// From Firebird\intl\ to T\intl\.
inline constexpr std::array<const wchar_t*, 2> kIntlFiles = {L"fbintl.conf", L"fbintl.dll"};
// From Firebird\udf\ to T\udf\.
inline constexpr std::array<const wchar_t*, 5> kUdfFiles = {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql",
                                                            L"ib_udf2.sql"};
// The suite's own libraries, from UDF\ to T\udf\.
inline constexpr std::array<const wchar_t*, 4> kLibraries = {L"Ulmara.Dll", L"Tendis.Dll", L"Vorkal.Dll",
                                                             L"Feblin.Dll"};

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// The name an existing database keeps beside the new one: the file name, the
// local date and time of the installation and ".bak", so that it sorts next to
// the database, tells when it was set aside, and its extension no longer reads
// as a live database file. `attempt` 1 is the plain name;
// 2, 3, ... add " (2)", " (3)", ... for installations within the same second.
//   KeptFileName(L"S12.FDB", {2026, 12, 11, 8, 45, 12}, 1) == L"S12.FDB.2026-12-11_08-45-12.bak"
std::wstring KeptFileName(std::wstring_view fileName, const LocalTime& time, int attempt);

}  // namespace runtime
