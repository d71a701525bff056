#include "common/TextEncoding.h"

#include <array>
#include <cstdint>

namespace text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Appends one code point; on Windows one above U+FFFF becomes a surrogate pair.
void AppendCodePoint(std::wstring& out, char32_t c) {
  if (kWideIsUtf16 && c > 0xFFFF) {
    c -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (c >> 10));
    out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<wchar_t>(c);
  }
}

// Reads the code point at `i` and advances past it. Lone surrogates are passed
// on as they are; the callers decide what to do with them.
char32_t NextCodePoint(std::wstring_view text, size_t& i) {
  char32_t c = static_cast<char32_t>(text[i++]);
  if (kWideIsUtf16) c &= 0xFFFF;
  if (kWideIsUtf16 && IsHighSurrogate(c) && i < text.size()) {
    const char32_t low = static_cast<char32_t>(text[i]) & 0xFFFF;
    if (IsLowSurrogate(low)) {
      ++i;
      return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return c;
}

// ---- UTF-8 ----

// Length of the sequence a lead byte starts, or 0 for a byte that cannot lead.
int Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Decodes the sequence at `i` and advances; a malformed sequence yields U+FFFD
// and advances by one byte only, so the next byte gets its own chance.
char32_t NextUtf8(std::string_view bytes, size_t& i) {
  const unsigned char lead = static_cast<unsigned char>(bytes[i]);
  const int length = Utf8SequenceLength(lead);
  if (length == 1) return bytes[i++] & 0x7F;
  if (length == 0 || i + length > bytes.size()) {
    ++i;
    return kReplacement;
  }
  char32_t c = lead & (0xFF >> (length + 1));
  for (int k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (next & 0x3F);
  }
  static constexpr std::array<char32_t, 5> kMinimum = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMinimum[length] || c > 0x10FFFF || IsSurrogate(c)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (IsSurrogate(c) || c > 0x10FFFF) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// ---- UTF-16 ----

std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  out.reserve(bytes.size() / 2 + 1);
  const auto unitAt = [&](size_t i) -> char32_t {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
  };
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char32_t unit = unitAt(i);
    if (!kWideIsUtf16 && IsHighSurrogate(unit) && i + 3 < bytes.size() && IsLowSurrogate(unitAt(i + 2))) {
      AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
      i += 2;
    } else {
      out += static_cast<wchar_t>(unit);  // lone surrogates are kept for a faithful round trip
    }
  }
  if (i < bytes.size()) out += static_cast<wchar_t>(kReplacement);  // a file cut after an odd byte
  return out;
}

std::string ToUtf16(std::wstring_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  const auto putUnit = [&](char32_t unit) {
    const char hi = static_cast<char>((unit >> 8) & 0xFF);
    const char lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  };
  for (size_t i = 0; i < text.size();) {
    char32_t c = NextCodePoint(text, i);
    if (c > 0x10FFFF) c = kReplacement;
    if (c > 0xFFFF) {
      putUnit(0xD800 + ((c - 0x10000) >> 10));
      putUnit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      putUnit(c);
    }
  }
  return out;
}

// ---- code page 1251 ----

// Bytes 80 to BF; C0 to FF are the 64 letters U+0410 to U+044F in order.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t Cp1251ToUnicode(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return 0x0410 + (b - 0xC0);
  return kCp1251High[b - 0x80];
}

char Cp1251FromUnicode(char32_t c) {
  if (c < 0x80) return static_cast<char>(c);
  if (c >= 0x0410 && c <= 0x044F) return static_cast<char>(0xC0 + (c - 0x0410));
  for (size_t k = 0; k < kCp1251High.size(); ++k) {
    if (kCp1251High[k] == c) return static_cast<char>(0x80 + k);
  }
  return '?';
}

class Cp1251Codec final : public AnsiCodec {
 public:
  std::wstring Decode(std::string_view bytes) const override {
    std::wstring out;
    out.reserve(bytes.size());
    for (char b : bytes) out += static_cast<wchar_t>(Cp1251ToUnicode(static_cast<unsigned char>(b)));
    return out;
  }
  std::string Encode(std::wstring_view text) const override {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) out += Cp1251FromUnicode(NextCodePoint(text, i));
    return out;
  }
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// ---- letter case ----

char32_t FoldCase(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // Latin-1, without the multiplication sign
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;           // А..Я
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;           // Ѐ..Џ, Ё among them
  if (c == 0x0490) return 0x0491;                            // Ґ
  return c;
}

}  // namespace

const AnsiCodec& Cp1251() {
  static const Cp1251Codec codec;
  return codec;
}

Encoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return Encoding::Utf8;
  if (bytes.starts_with(kUtf16LeMark)) return Encoding::Utf16Le;
  if (bytes.starts_with(kUtf16BeMark)) return Encoding::Utf16Be;
  return Encoding::Ansi;
}

DecodedText DecodeText(std::string_view bytes, const AnsiCodec& ansi) {
  DecodedText result;
  result.encoding = DetectEncoding(bytes);
  switch (result.encoding) {
    case Encoding::Utf8:
      result.text = FromUtf8(bytes.substr(kUtf8Mark.size()));
      break;
    case Encoding::Utf16Le:
      result.text = FromUtf16(bytes.substr(kUtf16LeMark.size()), false);
      break;
    case Encoding::Utf16Be:
      result.text = FromUtf16(bytes.substr(kUtf16BeMark.size()), true);
      break;
    case Encoding::Ansi:
      result.text = ansi.Decode(bytes);
      break;
  }
  return result;
}

std::string EncodeText(std::wstring_view text, Encoding encoding, const AnsiCodec& ansi) {
  switch (encoding) {
    case Encoding::Utf8:
      return std::string(kUtf8Mark) + ToUtf8(text);
    case Encoding::Utf16Le:
      return std::string(kUtf16LeMark) + ToUtf16(text, false);
    case Encoding::Utf16Be:
      return std::string(kUtf16BeMark) + ToUtf16(text, true);
    case Encoding::Ansi:
      break;
  }
  return ansi.Encode(text);
}

std::wstring FromUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) AppendCodePoint(out, NextUtf8(bytes, i));
  return out;
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size();) AppendUtf8(out, NextCodePoint(text, i));
  return out;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == L'\r' && start < text.size() && text[start] == L'\n') ++start;
  }
  return lines;
}

std::wstring JoinLinesCrLf(const std::vector<std::wstring>& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::wstring out;
  out.reserve(size);
  for (const auto& line : lines) {
    out += line;
    out += L"\r\n";
  }
  return out;
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<char32_t>(a[i])) != FoldCase(static_cast<char32_t>(b[i]))) return false;
  }
  return true;
}

}  // namespace text
