// The fuzz targets: one function per parser of outside input. Each takes the
// raw bytes a fuzzer made up, feeds them to the parser and checks properties of
// what comes out (round trips, ranges, agreement with a simple reference). A
// property that fails aborts the process with a message naming it.
//
// The libFuzzer programs (tests/fuzz/CMakeLists.txt, scripts/fuzz.sh) call one
// function each; the native test FuzzRegressions runs every function on its
// seed inputs and on every input a fuzzer has ever found a fault with.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

// INI files: reading, rewriting with nothing set, and setting one key.
void FuzzIniFile(const uint8_t* data, size_t size);
// vavova.ini read into the settings record.
void FuzzSettingsValues(const uint8_t* data, size_t size);
// The language file read into the clinical code tables.
void FuzzCodeTexts(const uint8_t* data, size_t size);
// The release level spliced into ReleaseInfo's bytes.
void FuzzReleaseInfoText(const uint8_t* data, size_t size);
// The face name read from a font file's name table.
void FuzzFontNameTable(const uint8_t* data, size_t size);
// Release keys of folder names and the choice among folders.
void FuzzReleaseChoice(const uint8_t* data, size_t size);
// Decoding and re-encoding the bytes of a text file.
void FuzzTextEncoding(const uint8_t* data, size_t size);

}  // namespace fuzz
