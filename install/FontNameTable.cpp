#include "install/FontNameTable.h"

#include <algorithm>
#include <array>
#include <optional>

namespace fontname {

bool MemorySource::Read(uint64_t offset, size_t size, uint8_t* out) const {
  if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), size, out);
  return true;
}

namespace {

// A name table cannot be larger than its header, 65535 records and strings
// addressed by two 16-bit offsets and a 16-bit length; a larger one is cut here.
constexpr size_t kMaxNameTableBytes = 6 + 12 * 65535 + 3 * 65535;

constexpr uint32_t Tag(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8 | uint8_t(d);
}

uint16_t U16(std::span<const uint8_t> bytes, size_t at) { return uint16_t(bytes[at] << 8 | bytes[at + 1]); }
uint32_t U32(std::span<const uint8_t> bytes, size_t at) { return uint32_t(U16(bytes, at)) << 16 | U16(bytes, at + 2); }

std::optional<std::vector<uint8_t>> ReadBlock(const ByteSource& font, uint64_t offset, size_t size) {
  std::vector<uint8_t> block(size);
  if (!font.Read(offset, size, block.data())) return std::nullopt;
  return block;
}

// ---------------------------------------------------------------------------
// Text of the name records

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      out += wchar_t(0xD800 + ((cp - 0x10000) >> 10));
      out += wchar_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
      return;
    }
  }
  out += wchar_t(cp);
}

// UTF-16 big-endian, as the Unicode and Windows platforms store names. An odd
// length is malformed; an unpaired surrogate becomes U+FFFD.
std::optional<std::wstring> DecodeUtf16Be(std::span<const uint8_t> bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::wstring out;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const char32_t unit = U16(bytes, i);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 2 < bytes.size()) {
      const char32_t low = U16(bytes, i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendCodePoint(out, unit >= 0xD800 && unit < 0xE000 ? char32_t(0xFFFD) : unit);
  }
  return out;
}

// Mac OS Roman, bytes 0x80 to 0xFF: the Macintosh platform's English names.
constexpr std::array<char16_t, 128> kMacRomanHigh = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

std::wstring DecodeMacRoman(std::span<const uint8_t> bytes) {
  std::wstring out;
  for (uint8_t b : bytes) out += b < 0x80 ? wchar_t(b) : wchar_t(kMacRomanHigh[b - 0x80]);
  return out;
}

// Control characters (a zero among them) would make a registry value name and
// a progress line that differ from what is shown; blanks at the ends are noise.
std::wstring Cleaned(const std::wstring& raw) {
  std::wstring out;
  for (wchar_t c : raw)
    if (static_cast<uint32_t>(c) >= 0x20 && c != 0x7F) out += c;
  const size_t first = out.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  out = out.substr(first, out.find_last_not_of(L' ') - first + 1);
  return out.size() <= kMaxFaceNameLength ? out : std::wstring();
}

// ---------------------------------------------------------------------------
// The name table

struct NameRecord {
  uint16_t platform;
  uint16_t encoding;
  uint16_t language;
  uint16_t nameId;
  std::span<const uint8_t> bytes;
};

constexpr uint16_t kPlatformUnicode = 0;
constexpr uint16_t kPlatformMac = 1;
constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kEnglishUs = 0x0409;

// How well a record suits GDI's choice, lower is better: Windows platform in
// US English first (what GDI reports and the registry lists), then any
// Windows language, then the Unicode platform, then Macintosh Roman English.
std::optional<int> Rank(const NameRecord& r) {
  if (r.platform == kPlatformWindows) {
    const bool unicode = r.encoding == 1 || r.encoding == 10;
    const bool symbol = r.encoding == 0;
    if (!unicode && !symbol) return std::nullopt;
    return (symbol ? 2 : 0) + (r.language == kEnglishUs ? 0 : 1);
  }
  if (r.platform == kPlatformUnicode) return 4;
  if (r.platform == kPlatformMac && r.encoding == 0 && r.language == 0) return 5;
  return std::nullopt;
}

std::optional<std::wstring> Decode(const NameRecord& r) {
  if (r.platform == kPlatformMac) return DecodeMacRoman(r.bytes);
  return DecodeUtf16Be(r.bytes);
}

std::vector<NameRecord> ParseNameTable(std::span<const uint8_t> table) {
  std::vector<NameRecord> records;
  if (table.size() < 6) return records;
  const size_t count = std::min<size_t>(U16(table, 2), (table.size() - 6) / 12);
  const size_t storage = U16(table, 4);
  for (size_t i = 0; i < count; ++i) {
    const size_t at = 6 + 12 * i;
    const size_t length = U16(table, at + 8);
    const size_t start = storage + U16(table, at + 10);
    if (start > table.size() || length > table.size() - start) continue;
    records.push_back({U16(table, at), U16(table, at + 2), U16(table, at + 4), U16(table, at + 6),
                       table.subspan(start, length)});
  }
  return records;
}

// The best readable text of name `nameId`, or empty.
std::wstring BestName(const std::vector<NameRecord>& records, uint16_t nameId) {
  std::wstring best;
  int bestRank = 0;
  for (const NameRecord& record : records) {
    if (record.nameId != nameId) continue;
    const std::optional<int> rank = Rank(record);
    if (!rank || (!best.empty() && *rank >= bestRank)) continue;
    const std::optional<std::wstring> text = Decode(record);
    if (!text) continue;
    std::wstring cleaned = Cleaned(*text);
    if (cleaned.empty()) continue;
    best = std::move(cleaned);
    bestRank = *rank;
  }
  return best;
}

constexpr uint16_t kNameFamily = 1;
constexpr uint16_t kNameSubfamily = 2;
constexpr uint16_t kNameFull = 4;

// The full name; a font without one is named as GDI would build it, family and
// style, the style left out when it is the regular one.
std::wstring NameOfFace(const std::vector<NameRecord>& records) {
  if (std::wstring full = BestName(records, kNameFull); !full.empty()) return full;
  std::wstring family = BestName(records, kNameFamily);
  if (family.empty()) return {};
  const std::wstring style = BestName(records, kNameSubfamily);
  if (!style.empty() && style != L"Regular") family += L" " + style;
  return family.size() <= kMaxFaceNameLength ? family : std::wstring();
}

// ---------------------------------------------------------------------------
// The font file

bool IsSfntVersion(uint32_t version) {
  return version == 0x00010000 || version == Tag('O', 'T', 'T', 'O') || version == Tag('t', 'r', 'u', 'e') ||
         version == Tag('t', 'y', 'p', '1');
}

// The name of the face whose table directory starts at `offset`, or empty.
std::wstring FaceAt(const ByteSource& font, uint64_t offset) {
  const auto header = ReadBlock(font, offset, 12);
  if (!header || !IsSfntVersion(U32(*header, 0))) return {};
  const size_t tableCount = U16(*header, 4);
  const auto directory = ReadBlock(font, offset + 12, 16 * tableCount);
  if (!directory) return {};
  for (size_t i = 0; i < tableCount; ++i) {
    const size_t entry = 16 * i;
    if (U32(*directory, entry) != Tag('n', 'a', 'm', 'e')) continue;
    const uint64_t tableOffset = U32(*directory, entry + 8);
    const uint64_t declared = U32(*directory, entry + 12);
    if (tableOffset >= font.Size()) return {};
    // A name table that runs past the end of a cut file is read as far as it
    // goes: the records whose strings are there still count.
    const size_t length = static_cast<size_t>(std::min({declared, font.Size() - tableOffset,
                                                        static_cast<uint64_t>(kMaxNameTableBytes)}));
    const auto table = ReadBlock(font, tableOffset, length);
    return table ? NameOfFace(ParseNameTable(*table)) : std::wstring();
  }
  return {};
}

}  // namespace

std::vector<std::wstring> FaceNames(const ByteSource& font) {
  std::vector<std::wstring> names;
  const auto header = ReadBlock(font, 0, 12);
  if (!header) return names;
  if (U32(*header, 0) != Tag('t', 't', 'c', 'f')) {
    if (std::wstring name = FaceAt(font, 0); !name.empty()) names.push_back(std::move(name));
    return names;
  }
  const size_t faces = std::min<size_t>(U32(*header, 8), kMaxCollectionFaces);
  const auto offsets = ReadBlock(font, 12, 4 * faces);
  if (!offsets) return names;
  for (size_t i = 0; i < faces; ++i)
    if (std::wstring name = FaceAt(font, U32(*offsets, 4 * i)); !name.empty()) names.push_back(std::move(name));
  return names;
}

std::wstring FaceName(const ByteSource& font) {
  std::wstring joined;
  for (const std::wstring& name : FaceNames(font)) joined += (joined.empty() ? L"" : L" & ") + name;
  return joined;
}

}  // namespace fontname
