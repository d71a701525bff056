#include "common/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using text::Encoding;

namespace {

struct EncodingCase {
  Encoding encoding;
  std::string bytes;  // of L"Яa\U0001F600" (the last one "?" in code page 1251)
};

const std::vector<EncodingCase> kEncodings = {
    {Encoding::Utf8, std::string("\xEF\xBB\xBF\xD0\xAF"
                                 "a\xF0\x9F\x98\x80")},
    {Encoding::Utf16Le, std::string("\xFF\xFE\x2F\x04"
                                    "a\0\x3D\xD8\x00\xDE",
                                    10)},
    {Encoding::Utf16Be, std::string("\xFE\xFF\x04\x2F\0a\xD8\x3D\xDE\x00", 10)},
    {Encoding::Ansi, std::string("\xDF"
                                 "a?")},
};

}  // namespace

TEST(TextEncoding, EncodesWithTheMarkOfItsEncoding) {
  for (const auto& c : kEncodings) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    EXPECT_EQ(text::EncodeText(L"Яa\U0001F600", c.encoding, text::Cp1251()), c.bytes);
  }
}

TEST(TextEncoding, DecodingFindsTheEncodingByItsMark) {
  for (const auto& c : kEncodings) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    const text::DecodedText decoded = text::DecodeText(c.bytes, text::Cp1251());
    EXPECT_EQ(decoded.encoding, c.encoding);
    EXPECT_EQ(decoded.text, c.encoding == Encoding::Ansi ? L"Яa?" : L"Яa\U0001F600");
    EXPECT_EQ(text::EncodeText(decoded.text, decoded.encoding, text::Cp1251()), c.bytes);
  }
}

TEST(TextEncoding, MalformedBytesBecomeReplacementCharacters) {
  struct Case {
    std::string bytes;
    std::wstring text;
  };
  const std::vector<Case> cases = {
      {"\xEF\xBB\xBF"
       "a\xC3(b",
       L"a\uFFFD(b"},                                                 // lead byte without its continuation
      {"\xEF\xBB\xBF\x80", L"\uFFFD"},                                // lone continuation byte
      {"\xEF\xBB\xBF\xE2\x82", L"\uFFFD\uFFFD"},                      // sequence cut by the end of the file
      {"\xEF\xBB\xBF\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong "/"
      {"\xEF\xBB\xBF\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
      {"\xEF\xBB\xBF\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {std::string("\xFF\xFE"
                   "a\0b",
                   5),
       L"a\uFFFD"},  // UTF-16 cut after an odd byte
      {"\xFF\xFE", L""},
      {"\xFF", L"я"},  // one byte: no mark, ANSI
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(text::DecodeText(c.bytes, text::Cp1251()).text, c.text);
  }
}

TEST(TextEncoding, LoneSurrogatesOfUtf16SurviveARoundTrip) {
  const std::string bytes(
      "\xFF\xFE\x00\xD8"
      "a\0\x00\xDC",
      8);
  const text::DecodedText decoded = text::DecodeText(bytes, text::Cp1251());
  EXPECT_EQ(text::EncodeText(decoded.text, decoded.encoding, text::Cp1251()), bytes);
  EXPECT_EQ(text::ToUtf8(decoded.text),
            "\xEF\xBF\xBD"
            "a\xEF\xBF\xBD");
}

TEST(TextEncoding, CodePage1251KeepsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::wstring decoded = text::Cp1251().Decode(all);
  ASSERT_EQ(decoded.size(), 256u);
  EXPECT_EQ(text::Cp1251().Encode(decoded), all);

  struct Case {
    unsigned char byte;
    wchar_t character;
  };
  for (const Case& c : {Case{0xC0, L'А'}, Case{0xFF, L'я'}, Case{0xA8, L'Ё'}, Case{0xB8, L'ё'}, Case{0xB9, L'№'},
                        Case{0x88, L'€'}, Case{0x98, L'\u0098'}, Case{0x41, L'A'}, Case{0x00, L'\0'}}) {
    EXPECT_EQ(decoded[c.byte], c.character) << static_cast<int>(c.byte);
  }
  EXPECT_EQ(text::Cp1251().Encode(L"中é\U0001F600"), "???");
}

TEST(TextEncoding, SplitsLinesAtEveryKindOfLineEnd) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> lines;
  };
  const std::vector<Case> cases = {
      {L"", {}},
      {L"a", {L"a"}},
      {L"a\r\nb", {L"a", L"b"}},
      {L"a\rb\nc", {L"a", L"b", L"c"}},
      {L"a\r\n", {L"a"}},
      {L"\r\n", {L""}},
      {L"a\n\nb", {L"a", L"", L"b"}},
      {L"\n\r", {L"", L""}},
      {std::wstring(L"a\0b", 3), {std::wstring(L"a\0b", 3)}},
  };
  for (const auto& c : cases) EXPECT_EQ(text::SplitLines(c.text), c.lines);
  EXPECT_EQ(text::JoinLinesCrLf({L"[options]", L""}), L"[options]\r\n\r\n");
}

TEST(TextEncoding, ComparesNamesWithoutRegardToLetterCase) {
  struct Case {
    std::wstring a, b;
    bool equal;
  };
  const std::vector<Case> cases = {
      {L"FilterType", L"FILTERTYPE", true},
      {L"Ключ", L"кЛЮЧ", true},
      {L"Ёж", L"ёж", true},
      {L"Ärger", L"ärger", true},
      {L"a", L"b", false},
      {L"key", L"key2", false},
      {L"е", L"ё", false},
      {L"×", L"÷", false},
  };
  for (const auto& c : cases) EXPECT_EQ(text::EqualsIgnoreCase(c.a, c.b), c.equal) << text::ToUtf8(c.a);
}
