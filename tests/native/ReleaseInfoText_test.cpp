#include "install/ReleaseInfoText.h"

#include <gtest/gtest.h>

#include <string>

using releaseinfo::Encoding;
using releaseinfo::FormatError;
using releaseinfo::ReplaceLevelText;

namespace {

// UTF-8 text as UTF-16 bytes, so the same documents can be written both ways.
std::string Utf16Bytes(const std::string& utf8, bool bigEndian) {
  std::u32string points;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const size_t extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    points += cp;
    i += extra + 1;
  }
  std::string out;
  auto unit = [&](char32_t u) {
    const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (char32_t cp : points) {
    if (cp < 0x10000) {
      unit(cp);
    } else {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

const std::string kBom8 = "\xEF\xBB\xBF";
const std::string kBom16Le = "\xFF\xFE";
const std::string kBom16Be = "\xFE\xFF";

// A ReleaseInfo as the updater ships it: CRLF, indentation, other elements.
const std::string kReleaseInfo =
    "<?xml version=\"1.0\"?>\r\n"
    "<ROOT>\r\n"
    "\t<Version>1</Version>\r\n"
    "\t<Product>Севрон-Rezezi</Product>\r\n"
    "\t<Level>000000</Level>\r\n"
    "\t<Files count=\"2\"/>\r\n"
    "</ROOT>\r\n";

std::string Replaced(std::string document, const std::string& from, const std::string& to) {
  const size_t at = document.find(from);
  if (at == std::string::npos) throw std::logic_error("test text not found: " + from);
  return document.replace(at, from.size(), to);
}

std::string ErrorOf(const std::string& document, const std::string& level = "1") {
  try {
    ReplaceLevelText(document, level);
  } catch (const FormatError& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace

TEST(ReleaseInfoText, ReplacesOnlyTheLevelTextInUtf8) {
  struct Case {
    const char* name;
    std::string document;
    std::string level;
    std::string expected;
  };
  const std::string withBom = kBom8 + kReleaseInfo;
  const Case cases[] = {
      {"plain", kReleaseInfo, "010320", Replaced(kReleaseInfo, "000000", "010320")},
      {"byte-order mark kept", withBom, "010320", Replaced(withBom, "000000", "010320")},
      {"Cyrillic level", kReleaseInfo, "Выпуск 5", Replaced(kReleaseInfo, "000000", "Выпуск 5")},
      {"escaped level", kReleaseInfo, "a&b<c>d\re\n", Replaced(kReleaseInfo, "000000", "a&amp;b&lt;c&gt;d&#13;e\n")},
      {"empty level", kReleaseInfo, "", Replaced(kReleaseInfo, "000000", "")},
      {"empty content", "<ROOT><Level></Level></ROOT>", "7", "<ROOT><Level>7</Level></ROOT>"},
      {"empty-element tag", "<ROOT><Level/></ROOT>", "7", "<ROOT><Level>7</Level></ROOT>"},
      {"empty-element tag with attributes", "<ROOT><Level a='1' b=\"/>\" /></ROOT>", "7",
       "<ROOT><Level a='1' b=\"/>\" >7</Level></ROOT>"},
      {"empty-element tag, empty level", "<ROOT><Level/></ROOT>", "", "<ROOT><Level/></ROOT>"},
      {"attribute values with markup characters", "<ROOT><Level n=\"a>b</Level>\">x</Level></ROOT>", "7",
       "<ROOT><Level n=\"a>b</Level>\">7</Level></ROOT>"},
      {"comment, CDATA and instruction before", "<ROOT><!-- <Level>c</Level> --><![CDATA[<Level>d</Level>]]>"
       "<?pi <Level>p</Level> ?><Level>x</Level></ROOT>", "7",
       "<ROOT><!-- <Level>c</Level> --><![CDATA[<Level>d</Level>]]><?pi <Level>p</Level> ?><Level>7</Level></ROOT>"},
      {"deeper Level first", "<ROOT><A><Level>deep</Level></A><Level>x</Level></ROOT>", "7",
       "<ROOT><A><Level>deep</Level></A><Level>7</Level></ROOT>"},
      {"similar names", "<ROOT><LevelX>a</LevelX><x:Level>b</x:Level><Level>x</Level></ROOT>", "7",
       "<ROOT><LevelX>a</LevelX><x:Level>b</x:Level><Level>7</Level></ROOT>"},
      {"content with elements", "<ROOT><Level>a<Level>b</Level><!--c--></Level><Z/></ROOT>", "7",
       "<ROOT><Level>7</Level><Z/></ROOT>"},
      {"first of two", "<ROOT><Level>a</Level><Level>b</Level></ROOT>", "7",
       "<ROOT><Level>7</Level><Level>b</Level></ROOT>"},
      {"end tag with blanks", "<ROOT ><Level >x</Level\r\n></ROOT >", "7", "<ROOT ><Level >7</Level\r\n></ROOT >"},
      {"references", "<ROOT><N>&amp;&lt;&gt;&apos;&quot;&#1234;&#x4f;</N><Level>&amp;</Level></ROOT>", "7",
       "<ROOT><N>&amp;&lt;&gt;&apos;&quot;&#1234;&#x4f;</N><Level>7</Level></ROOT>"},
      {"document type with internal subset",
       "<!DOCTYPE ROOT [ <!-- ]> --> <!ATTLIST ROOT a CDATA \"]>\"> ]><ROOT><Level>x</Level></ROOT>", "7",
       "<!DOCTYPE ROOT [ <!-- ]> --> <!ATTLIST ROOT a CDATA \"]>\"> ]><ROOT><Level>7</Level></ROOT>"},
      {"misc after ROOT", "<ROOT><Level>x</Level></ROOT>\n<!-- end --><?pi?>\n", "7",
       "<ROOT><Level>7</Level></ROOT>\n<!-- end --><?pi?>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplaceLevelText(c.document, c.level), c.expected);
  }
}

TEST(ReleaseInfoText, WritesUtf16InTheDocumentsByteOrder) {
  struct Case {
    const char* name;
    std::string prefix;
    bool bigEndian;
  };
  for (const Case& c : {Case{"LE with mark", kBom16Le, false}, Case{"BE with mark", kBom16Be, true},
                        Case{"LE without mark", "", false}, Case{"BE without mark", "", true}}) {
    SCOPED_TRACE(c.name);
    const std::string declared = Replaced(kReleaseInfo, "?>", " encoding=\"UTF-16\"?>");
    const std::string document = c.prefix + Utf16Bytes(declared, c.bigEndian);
    const std::string expected = c.prefix + Utf16Bytes(Replaced(declared, "000000", "Ур. 😀"), c.bigEndian);
    EXPECT_EQ(ReplaceLevelText(document, "Ур. 😀"), expected);
  }
}

TEST(ReleaseInfoText, WritesSingleByteEncodingsWithReferencesForMissingCharacters) {
  // "Севрон" in windows-1251 elsewhere in the document stays as it is.
  const std::string cp1251 =
      "<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\r\n<ROOT><P>\xD1\xE5\xE2\xF0\xEE\xED</P>"
      "<Version>1</Version><Level>0</Level></ROOT>";
  const std::string koi8 = "<?xml version='1.0' encoding='koi8-r'?><ROOT><Level>0</Level></ROOT>";
  struct Case {
    const char* name;
    std::string document;
    std::string level;
    std::string written;
  };
  const Case cases[] = {
      {"1251 digits", cp1251, "010320", "010320"},
      {"1251 Cyrillic", cp1251, "Выпуск Ёё", "\xC2\xFB\xEF\xF3\xF1\xEA \xA8\xB8"},
      {"1251 punctuation", cp1251, "€№—", "\x88\xB9\x97"},
      {"1251 lacks the character", cp1251, "漢", "&#28450;"},
      {"other single-byte", koi8, "Ж1", "&#1046;1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplaceLevelText(c.document, c.level), Replaced(c.document, "<Level>0<", "<Level>" + c.written + "<"));
  }
}

TEST(ReleaseInfoText, DetectsTheEncodingAsAParserDoes) {
  struct Case {
    std::string document;
    Encoding expected;
  };
  const Case cases[] = {
      {"<ROOT/>", Encoding::Utf8},
      {"", Encoding::Utf8},
      {kBom8 + "<?xml version=\"1.0\" encoding=\"windows-1251\"?><ROOT/>", Encoding::Utf8},
      {kBom16Le + "<", Encoding::Utf16Le},
      {kBom16Be + "<", Encoding::Utf16Be},
      {std::string("<\0?\0", 4), Encoding::Utf16Le},
      {std::string("\0<\0?", 4), Encoding::Utf16Be},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", Encoding::Utf8},
      {"<?xml version=\"1.0\"  encoding = 'cp1251' ?>", Encoding::Windows1251},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-5\"?>", Encoding::AsciiCompatible},
      {"<?xml version=\"1.0\"?><ROOT encoding=\"x\"/>", Encoding::Utf8},
      {"<?xml-stylesheet encoding=\"utf-16\"?><ROOT/>", Encoding::Utf8},
  };
  for (const Case& c : cases) EXPECT_EQ(releaseinfo::DetectEncoding(c.document), c.expected) << c.document;
  EXPECT_THROW(releaseinfo::DetectEncoding("<?xml version=\"1.0\" encoding=\"utf-16\"?><ROOT/>"), FormatError);
  EXPECT_THROW(releaseinfo::DetectEncoding("<?xml version=\"1.0\" encoding=\"shift_jis\"?>"), FormatError);
}

TEST(ReleaseInfoText, RefusesDocumentsItCannotEditSafely) {
  struct Case {
    std::string document;
    std::string message;
  };
  const Case cases[] = {
      {"", "the document has no document element"},
      {"  <!-- only -->  ", "the document has no document element"},
      {"hello", "text before the document element"},
      {"<Other><Level>1</Level></Other>", "the document element is not ROOT"},
      {"<root><Level>1</Level></root>", "the document element is not ROOT"},
      {"<ROOT/>", "ROOT has no Level element"},
      {"<ROOT><Version>1</Version></ROOT>", "ROOT has no Level element"},
      {"<ROOT><A><Level>1</Level></A></ROOT>", "ROOT has no Level element"},
      {"<ROOT><!-- <Level>1</Level> --></ROOT>", "ROOT has no Level element"},
      {"<ROOT><Level>1</Level>", "the document ends inside an element"},
      {"<ROOT><Level>1</Levl></ROOT>", "an end tag that does not match its start tag"},
      {"<ROOT><Level>1</Level></ROOT><ROOT/>", "content after the document element"},
      {"<ROOT><Level>1</Level></ROOT>x", "content after the document element"},
      {"<ROOT><Level a=\"1>1</Level></ROOT>", "unterminated attribute value"},
      {"<ROOT><Level a=\"1\" / >1</Level></ROOT>", "malformed start tag"},
      {"<ROOT><Level <x>1</Level></ROOT>", "malformed start tag"},
      {"<ROOT></></ROOT>", "a tag without a name"},
      {"<ROOT><Level>1</Level x></ROOT>", "malformed end tag"},
      {"<ROOT><!-- <Level>1</Level></ROOT>", "unterminated comment"},
      {"<ROOT><![CDATA[ <Level>1</Level></ROOT>", "unterminated CDATA section"},
      {"<ROOT><? <Level>1</Level></ROOT>", "unterminated processing instruction"},
      {"<!DOCTYPE ROOT [ <ROOT><Level>1</Level></ROOT>", "unterminated document type declaration"},
      {"<!DOCTYPE ROOT [<!ENTITY e \"<Level>9</Level>\">]><ROOT>&e;<Level>1</Level></ROOT>",
       "ROOT uses an entity reference that is not predefined"},
      {"<ROOT><Level>&#;</Level></ROOT>", "ROOT uses an entity reference that is not predefined"},
      {"<ROOT><Level>&#12a;</Level></ROOT>", "ROOT uses an entity reference that is not predefined"},
      {"<ROOT>a & b<Level>1</Level></ROOT>", "malformed entity reference"},
      {"<ROOT><Level>&amp</Level></ROOT>", "malformed entity reference"},
      {"<ROOT><!ELEMENT x ANY><Level>1</Level></ROOT>", "a markup declaration inside ROOT"},
      {"<?xml version=\"1.0\" encoding=\"utf-32\"?><ROOT><Level/></ROOT>", "unsupported document encoding \"utf-32\""},
      {kBom16Le + "<", "a UTF-16 document with an odd number of bytes"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.document), c.message) << c.document;
}

TEST(ReleaseInfoText, RefusesLevelTextsXmlCannotCarry) {
  for (const std::string level : {"\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF",
                                  "1\x80"})
    EXPECT_EQ(ErrorOf(kReleaseInfo, level), "the level text is not valid UTF-8") << testing::PrintToString(level);
  for (const std::string& level : {std::string("\x01"), std::string("a\0b", 3), std::string("\xEF\xBF\xBE")})
    EXPECT_EQ(ErrorOf(kReleaseInfo, level), "the level text holds a character that XML cannot carry")
        << testing::PrintToString(level);
}

// Whatever way a file is cut short, the scan reports it and never reads past
// the end (the sanitizers watch the reads).
TEST(ReleaseInfoText, EveryTruncatedDocumentIsRefused) {
  const std::string utf8 = kBom8 + kReleaseInfo;
  const std::string utf16 = kBom16Le + Utf16Bytes(kReleaseInfo, false);
  for (const std::string& document : {utf8, utf16}) {
    const size_t rootEnd = document == utf8 ? utf8.find("</ROOT>") + 7 : utf16.size() - 4;  // before "\r\n"
    ASSERT_NO_THROW(ReplaceLevelText(document.substr(0, rootEnd), "1"));
    for (size_t length = 0; length < rootEnd; ++length)
      EXPECT_THROW(ReplaceLevelText(document.substr(0, length), "1"), FormatError) << length;
  }
}
