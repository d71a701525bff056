// Fuzz target for the font name-table reader (install/FontNameTable): the input
// is a font file.
//
// Checks: at most one name for a plain font and kMaxCollectionFaces for a
// collection; every name is non-empty, within kMaxFaceNameLength, free of
// control characters and of blanks at its ends; FaceName joins the names with
// " & "; and each name survives a round trip: a font whose name table holds
// just that name as its full name reads as that name.
#include "tests/fuzz/FuzzTargets.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "install/FontNameTable.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {
namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, value >> 16);
  PutU16(out, value & 0xFFFF);
}

std::vector<uint8_t> Utf16Be(const std::wstring& name) {
  std::vector<uint8_t> out;
  for (wchar_t c : name) {
    const uint32_t cp = static_cast<uint32_t>(c);
    if (cp >= 0x10000) {
      PutU16(out, 0xD800 + ((cp - 0x10000) >> 10));
      PutU16(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      PutU16(out, cp);
    }
  }
  return out;
}

// A TrueType file of one table, 'name', holding `name` as the full name
// (ID 4) on the Windows platform in US English.
std::vector<uint8_t> FontNamed(const std::wstring& name) {
  const std::vector<uint8_t> text = Utf16Be(name);
  std::vector<uint8_t> font;
  PutU32(font, 0x00010000);  // TrueType outlines
  PutU16(font, 1);           // one table
  PutU16(font, 16), PutU16(font, 0), PutU16(font, 0);
  PutU32(font, 0x6E616D65);  // 'name'
  PutU32(font, 0);
  PutU32(font, 28);  // after the 12-byte header and the 16-byte directory entry
  PutU32(font, 6 + 12 + static_cast<uint32_t>(text.size()));
  PutU16(font, 0), PutU16(font, 1), PutU16(font, 6 + 12);
  PutU16(font, 3), PutU16(font, 1), PutU16(font, 0x0409), PutU16(font, 4);
  PutU16(font, static_cast<uint32_t>(text.size())), PutU16(font, 0);
  font.insert(font.end(), text.begin(), text.end());
  return font;
}

bool IsCleanName(const std::wstring& name) {
  if (name.empty() || name.size() > fontname::kMaxFaceNameLength) return false;
  if (name.front() == L' ' || name.back() == L' ') return false;
  for (wchar_t c : name)
    if (static_cast<uint32_t>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

constexpr size_t kShortDirectory = 256;  // table entries

// The data with every table count whose directory runs past the end lowered to
// kShortDirectory where that directory runs past the end too: the reader fails
// on both alike, but it allocates the directory it was told of before it finds
// that out, and a megabyte allocation per input slows the fuzzing down several
// times.
std::vector<uint8_t> WithShortDirectories(const uint8_t* data, size_t size) {
  std::vector<uint8_t> font(data, data + size);
  const auto shorten = [&](uint64_t face) {
    if (face + 6 > size || face + 12 + 16 * kShortDirectory <= size) return;
    if ((font[face + 4] << 8 | font[face + 5]) <= static_cast<int>(kShortDirectory)) return;
    font[face + 4] = kShortDirectory >> 8;
    font[face + 5] = kShortDirectory & 0xFF;
  };
  const bool collection = size >= 12 && std::memcmp(data, "ttcf", 4) == 0;
  if (!collection) {
    shorten(0);
    return font;
  }
  const size_t faces = std::min<size_t>(uint32_t(data[8]) << 24 | data[9] << 16 | data[10] << 8 | data[11],
                                        fontname::kMaxCollectionFaces);
  for (size_t i = 0; i < faces && 12 + 4 * i + 4 <= size; ++i) {
    const uint8_t* at = data + 12 + 4 * i;
    shorten(uint64_t(at[0]) << 24 | at[1] << 16 | at[2] << 8 | at[3]);
  }
  return font;
}

}  // namespace

void FuzzFontNameTable(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes = WithShortDirectories(data, size);
  const fontname::MemorySource font(bytes);
  const std::vector<std::wstring> names = fontname::FaceNames(font);

  const bool collection = size >= 4 && std::memcmp(data, "ttcf", 4) == 0;
  FUZZ_CHECK(names.size() <= (collection ? fontname::kMaxCollectionFaces : 1));
  std::wstring joined;
  for (const std::wstring& name : names) {
    FUZZ_CHECK(IsCleanName(name));
    const std::vector<uint8_t> rebuilt = FontNamed(name);
    FUZZ_CHECK(fontname::FaceName(fontname::MemorySource(rebuilt)) == name);
    joined += (joined.empty() ? L"" : L" & ") + name;
  }
  FUZZ_CHECK(fontname::FaceName(font) == joined);
}

}  // namespace fuzz
