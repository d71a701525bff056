// Text files as the suite keeps them: the byte-order mark decides the encoding
// (UTF-8, UTF-16 little- or big-endian); without one the bytes are in the
// system's ANSI code page. Conversions work on std::wstring whatever the width
// of wchar_t: UTF-16 on Windows, UTF-32 on the build host.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace text {

enum class Encoding {
  Ansi,     // the system's ANSI code page, no byte-order mark
  Utf8,     // with the mark EF BB BF
  Utf16Le,  // with the mark FF FE
  Utf16Be,  // with the mark FE FF
};

// A single-byte code page. On Windows the ANSI code page of the system
// (win::AnsiCodePage()); Cp1251() is a table of its own for tests off Windows.
class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  virtual std::wstring Decode(std::string_view bytes) const = 0;
  // Characters the code page lacks become "?".
  virtual std::string Encode(std::wstring_view text) const = 0;
};

// Windows code page 1251 (Cyrillic). Byte 98, which the code page leaves
// undefined, maps to U+0098 and back, as Windows does, so every byte survives a
// round trip.
const AnsiCodec& Cp1251();

struct DecodedText {
  std::wstring text;
  Encoding encoding = Encoding::Ansi;
};

// Looks at the byte-order mark only.
Encoding DetectEncoding(std::string_view bytes);

// Decodes a whole file. Malformed sequences (bad UTF-8, an odd last byte of
// UTF-16) become U+FFFD; nothing ever fails.
DecodedText DecodeText(std::string_view bytes, const AnsiCodec& ansi);

// Encodes `text` with the byte-order mark of `encoding` (none for ANSI).
std::string EncodeText(std::wstring_view text, Encoding encoding, const AnsiCodec& ansi);

std::wstring FromUtf8(std::string_view bytes);
std::string ToUtf8(std::wstring_view text);

// Splits text into lines as a string list does: a line ends at CR LF, a lone CR
// or a lone LF; a break at the very end does not start another line.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// Joins lines, each followed by CR LF.
std::wstring JoinLinesCrLf(const std::vector<std::wstring>& lines);

// Compares two texts without regard to letter case, for Latin, Latin-1 and
// Cyrillic letters (what INI key and section names use).
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

}  // namespace text
