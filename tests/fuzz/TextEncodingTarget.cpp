// Fuzz target for the decoding of text files (common/TextEncoding): the input
// is the bytes of a file.
//
// Checks: the encoding is what the byte-order mark says; encoding the decoded
// text again gives the same bytes for an ANSI file (every byte of code page
// 1251 survives), for UTF-16 of an even length (lone surrogates included) and
// for well-formed UTF-8, and decoding what was encoded gives the same text for
// any file; lines split and joined again are the text with every line break
// made CR LF; a text equals itself without regard to case.
#include "tests/fuzz/FuzzTargets.h"

#include <string>
#include <string_view>
#include <vector>

#include "common/TextEncoding.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {
namespace {

// Well-formed UTF-8 after Unicode's table of well-formed byte sequences.
bool IsWellFormedUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    if (lead <= 0x7F)
      length = 1;
    else if (lead >= 0xC2 && lead <= 0xDF)
      length = 2;
    else if (lead == 0xE0)
      length = 3, low = 0xA0;
    else if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF)
      length = 3;
    else if (lead == 0xED)
      length = 3, high = 0x9F;
    else if (lead == 0xF0)
      length = 4, low = 0x90;
    else if (lead >= 0xF1 && lead <= 0xF3)
      length = 4;
    else if (lead == 0xF4)
      length = 4, high = 0x8F;
    else
      return false;
    if (s.size() - i < length) return false;
    if (length > 1 && (byte(1) < low || byte(1) > high)) return false;
    for (size_t k = 2; k < length; ++k)
      if (byte(k) < 0x80 || byte(k) > 0xBF) return false;
    i += length;
  }
  return true;
}

size_t MarkLength(text::Encoding encoding) {
  switch (encoding) {
    case text::Encoding::Utf8:
      return 3;
    case text::Encoding::Utf16Le:
    case text::Encoding::Utf16Be:
      return 2;
    case text::Encoding::Ansi:
      break;
  }
  return 0;
}

bool SurvivesExactly(std::string_view bytes, text::Encoding encoding) {
  const std::string_view body = bytes.substr(MarkLength(encoding));
  switch (encoding) {
    case text::Encoding::Ansi:
      return true;
    case text::Encoding::Utf8:
      return IsWellFormedUtf8(body);
    case text::Encoding::Utf16Le:
    case text::Encoding::Utf16Be:
      return body.size() % 2 == 0;
  }
  return false;
}

// The text with CR LF, lone CR and lone LF all made CR LF, and a CR LF after
// the last line when it has none.
std::wstring WithCrLfBreaks(std::wstring_view text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      out += L"\r\n";
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      out += text[i];
    }
  }
  if (!text.empty() && text.back() != L'\r' && text.back() != L'\n') out += L"\r\n";
  return out;
}

void CheckLines(const std::wstring& text) {
  const std::vector<std::wstring> lines = text::SplitLines(text);
  for (const std::wstring& line : lines) FUZZ_CHECK(line.find_first_of(L"\r\n") == std::wstring::npos);
  FUZZ_CHECK(text::JoinLinesCrLf(lines) == WithCrLfBreaks(text));
  for (const std::wstring& line : lines) FUZZ_CHECK(text::EqualsIgnoreCase(line, line));
  if (lines.size() >= 2)
    FUZZ_CHECK(text::EqualsIgnoreCase(lines[0], lines[1]) == text::EqualsIgnoreCase(lines[1], lines[0]));
}

}  // namespace

void FuzzTextEncoding(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const text::DecodedText decoded = text::DecodeText(bytes, text::Cp1251());
  FUZZ_CHECK(decoded.encoding == text::DetectEncoding(bytes));
  FUZZ_CHECK(bytes.substr(0, MarkLength(decoded.encoding)) == text::EncodeText(L"", decoded.encoding, text::Cp1251()));

  const std::string encoded = text::EncodeText(decoded.text, decoded.encoding, text::Cp1251());
  if (SurvivesExactly(bytes, decoded.encoding)) FUZZ_CHECK(encoded == bytes);
  const text::DecodedText again = text::DecodeText(encoded, text::Cp1251());
  FUZZ_CHECK(again.encoding == decoded.encoding);
  FUZZ_CHECK(again.text == decoded.text);
  if (decoded.encoding == text::Encoding::Utf8) FUZZ_CHECK(text::FromUtf8(text::ToUtf8(decoded.text)) == decoded.text);
  CheckLines(decoded.text);
}

}  // namespace fuzz
