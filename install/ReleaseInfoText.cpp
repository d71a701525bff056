#include "install/ReleaseInfoText.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace releaseinfo {
namespace {

constexpr size_t kNone = std::string_view::npos;

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view s) {
  std::string out;
  for (char c : s) out += LowerAscii(c);
  return out;
}

bool IsXmlSpace(uint32_t c) { return c == 0x20 || c == 0x09 || c == 0x0D || c == 0x0A; }

// ---------------------------------------------------------------------------
// Encoding named in the XML declaration of a byte-oriented document.

Encoding EncodingFromName(const std::string& name) {
  if (name == "utf-8" || name == "utf8") return Encoding::Utf8;
  if (name == "windows-1251" || name == "cp1251" || name == "x-cp1251") return Encoding::Windows1251;
  if (name == "us-ascii" || name == "ascii" || name == "koi8-r" || name == "koi8-u" || name == "cp866" ||
      name == "ibm866" || StartsWith(name, "iso-8859-") || StartsWith(name, "windows-125"))
    return Encoding::AsciiCompatible;
  throw FormatError("unsupported document encoding \"" + name + "\"");
}

// The value of the encoding pseudo-attribute of the "<?xml ...?>" declaration at
// the start of `decl`, or empty when there is none.
std::string DeclaredEncodingName(std::string_view document) {
  if (!StartsWith(document, "<?xml") || document.size() < 6 || !IsXmlSpace(static_cast<unsigned char>(document[5])))
    return {};
  const size_t close = document.find("?>");
  if (close == kNone) return {};
  const std::string_view decl = document.substr(0, close);
  size_t pos = decl.find("encoding");
  if (pos == kNone) return {};
  pos += 8;
  while (pos < decl.size() && IsXmlSpace(static_cast<unsigned char>(decl[pos]))) ++pos;
  if (pos >= decl.size() || decl[pos] != '=') return {};
  ++pos;
  while (pos < decl.size() && IsXmlSpace(static_cast<unsigned char>(decl[pos]))) ++pos;
  if (pos >= decl.size() || (decl[pos] != '"' && decl[pos] != '\'')) return {};
  const size_t end = decl.find(decl[pos], pos + 1);
  if (end == kNone) return {};
  return LowerAscii(decl.substr(pos + 1, end - pos - 1));
}

// ---------------------------------------------------------------------------
// The document as code units: bytes for UTF-8 and the single-byte encodings,
// 16-bit units for UTF-16. All markup is ASCII, so the scan compares unit values
// with ASCII characters whatever the width.

class Units {
 public:
  Units(std::string_view bytes, Encoding encoding)
      : bytes_(bytes),
        width_(encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be ? 2 : 1),
        bigEndian_(encoding == Encoding::Utf16Be) {
    if (bytes.size() % width_ != 0) throw FormatError("a UTF-16 document with an odd number of bytes");
    size_ = bytes.size() / width_;
    if (width_ == 2 && size_ > 0 && (*this)[0] == 0xFEFF) bomUnits_ = 1;
    if (width_ == 1 && StartsWith(bytes, "\xEF\xBB\xBF")) bomUnits_ = 3;
  }

  size_t size() const { return size_; }
  size_t BomUnits() const { return bomUnits_; }
  size_t ByteOffset(size_t index) const { return index * width_; }

  uint32_t operator[](size_t i) const {
    if (width_ == 1) return static_cast<unsigned char>(bytes_[i]);
    const uint32_t first = static_cast<unsigned char>(bytes_[2 * i]);
    const uint32_t second = static_cast<unsigned char>(bytes_[2 * i + 1]);
    return bigEndian_ ? (first << 8 | second) : (second << 8 | first);
  }

  // True when the units from `at` on spell `ascii`.
  bool Matches(size_t at, std::string_view ascii) const {
    if (at > size_ || size_ - at < ascii.size()) return false;
    for (size_t i = 0; i < ascii.size(); ++i)
      if ((*this)[at + i] != static_cast<unsigned char>(ascii[i])) return false;
    return true;
  }

  size_t Find(std::string_view ascii, size_t from) const {
    for (size_t i = from; i < size_; ++i)
      if (Matches(i, ascii)) return i;
    return kNone;
  }

 private:
  std::string_view bytes_;
  size_t width_;
  bool bigEndian_;
  size_t size_ = 0;
  size_t bomUnits_ = 0;
};

// ---------------------------------------------------------------------------
// The scan for ROOT's Level child.

// What to replace, in units: the content of <Level>...</Level>, or the "/>" of
// an empty-element tag <Level/>.
struct Splice {
  size_t begin;
  size_t end;
  bool emptyElement;
};

struct Tag {
  size_t nameBegin = 0;
  size_t nameEnd = 0;
  size_t slash = kNone;  // the "/" of "/>" in an empty-element tag
  size_t end = 0;        // just after ">"
  bool selfClosing() const { return slash != kNone; }
};

class LevelFinder {
 public:
  explicit LevelFinder(const Units& units) : u_(units) {}

  Splice Find() {
    pos_ = u_.BomUnits();
    SkipProlog();
    if (pos_ >= u_.size()) throw FormatError("the document has no document element");
    if (u_[pos_] != '<') throw FormatError("text before the document element");
    const Tag root = ReadStartTag();
    if (!NameIs(root, "ROOT")) throw FormatError("the document element is not ROOT");
    std::optional<Splice> level;
    if (!root.selfClosing()) level = ScanRootContent(root);
    SkipMisc();
    if (pos_ != u_.size()) throw FormatError("content after the document element");
    if (!level) throw FormatError("ROOT has no Level element");
    return *level;
  }

 private:
  bool AtEnd() const { return pos_ >= u_.size(); }
  bool At(std::string_view ascii) const { return u_.Matches(pos_, ascii); }

  void SkipPast(std::string_view terminator, const char* what) {
    const size_t at = u_.Find(terminator, pos_);
    if (at == kNone) throw FormatError(std::string("unterminated ") + what);
    pos_ = at + terminator.size();
  }

  // White space, comments and processing instructions (the XML declaration too).
  void SkipMisc() {
    for (;;) {
      while (!AtEnd() && IsXmlSpace(u_[pos_])) ++pos_;
      if (At("<?"))
        SkipPast("?>", "processing instruction");
      else if (At("<!--"))
        SkipPast("-->", "comment");
      else
        return;
    }
  }

  void SkipProlog() {
    for (;;) {
      SkipMisc();
      if (!At("<!DOCTYPE")) return;
      SkipDoctype();
    }
  }

  // Up to the ">" that ends the declaration, passing over quoted literals and
  // the comments and instructions of an internal subset.
  void SkipDoctype() {
    pos_ += 9;
    uint32_t quote = 0;
    bool inSubset = false;
    for (;;) {
      if (AtEnd()) throw FormatError("unterminated document type declaration");
      const uint32_t c = u_[pos_];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (inSubset && At("<!--")) {
        SkipPast("-->", "comment");
        continue;
      } else if (inSubset && At("<?")) {
        SkipPast("?>", "processing instruction");
        continue;
      } else if (c == '[') {
        inSubset = true;
      } else if (c == ']') {
        inSubset = false;
      } else if (c == '>' && !inSubset) {
        ++pos_;
        return;
      }
      ++pos_;
    }
  }

  void ReadName(Tag& tag) {
    tag.nameBegin = pos_;
    while (!AtEnd() && !IsXmlSpace(u_[pos_]) && u_[pos_] != '/' && u_[pos_] != '>' && u_[pos_] != '<') ++pos_;
    tag.nameEnd = pos_;
    if (tag.nameEnd == tag.nameBegin) throw FormatError("a tag without a name");
  }

  // At "<name": reads the start tag with its attributes (quoted values may hold
  // ">" and "/").
  Tag ReadStartTag() {
    Tag tag;
    ++pos_;
    ReadName(tag);
    for (;;) {
      if (AtEnd()) throw FormatError("unterminated start tag");
      const uint32_t c = u_[pos_];
      if (c == '"' || c == '\'') {
        const size_t close = u_.Find(c == '"' ? "\"" : "'", pos_ + 1);
        if (close == kNone) throw FormatError("unterminated attribute value");
        pos_ = close + 1;
      } else if (c == '>') {
        tag.end = ++pos_;
        return tag;
      } else if (c == '/') {
        if (!u_.Matches(pos_, "/>")) throw FormatError("malformed start tag");
        tag.slash = pos_;
        pos_ += 2;
        tag.end = pos_;
        return tag;
      } else if (c == '<') {
        throw FormatError("malformed start tag");
      } else {
        ++pos_;
      }
    }
  }

  // At "</name": reads the end tag.
  Tag ReadEndTag() {
    Tag tag;
    pos_ += 2;
    ReadName(tag);
    while (!AtEnd() && IsXmlSpace(u_[pos_])) ++pos_;
    if (AtEnd() || u_[pos_] != '>') throw FormatError("malformed end tag");
    tag.end = ++pos_;
    return tag;
  }

  // At "&": only the predefined entities and character references; a declared
  // entity could expand to elements that this scan would not see.
  void SkipReference() {
    const size_t nameBegin = ++pos_;
    while (!AtEnd() && u_[pos_] != ';' && !IsXmlSpace(u_[pos_]) && u_[pos_] != '<' && u_[pos_] != '&') ++pos_;
    if (AtEnd() || u_[pos_] != ';' || pos_ == nameBegin) throw FormatError("malformed entity reference");
    const size_t nameEnd = pos_++;
    for (const char* known : {"lt", "gt", "amp", "apos", "quot"})
      if (nameEnd - nameBegin == std::string_view(known).size() && u_.Matches(nameBegin, known)) return;
    if (!IsCharacterReference(nameBegin, nameEnd))
      throw FormatError("ROOT uses an entity reference that is not predefined");
  }

  bool IsCharacterReference(size_t begin, size_t end) const {
    if (u_[begin] != '#') return false;
    ++begin;
    const bool hex = begin < end && u_[begin] == 'x';
    if (hex) ++begin;
    if (begin == end) return false;
    for (size_t i = begin; i < end; ++i) {
      const uint32_t c = u_[i];
      const bool digit = c >= '0' && c <= '9';
      const bool hexLetter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
      if (!digit && !(hex && hexLetter)) return false;
    }
    return true;
  }

  bool NameIs(const Tag& tag, std::string_view ascii) const {
    return tag.nameEnd - tag.nameBegin == ascii.size() && u_.Matches(tag.nameBegin, ascii);
  }

  bool SameName(const Tag& a, const Tag& b) const {
    if (a.nameEnd - a.nameBegin != b.nameEnd - b.nameBegin) return false;
    for (size_t i = 0; i < a.nameEnd - a.nameBegin; ++i)
      if (u_[a.nameBegin + i] != u_[b.nameBegin + i]) return false;
    return true;
  }

  // From just after ROOT's start tag to just after its end tag. Returns the
  // splice for the first Level child, if there is one.
  std::optional<Splice> ScanRootContent(const Tag& root) {
    std::vector<Tag> open{root};
    std::optional<Splice> level;
    size_t levelContentBegin = kNone;
    while (!open.empty()) {
      if (AtEnd()) throw FormatError("the document ends inside an element");
      const uint32_t c = u_[pos_];
      if (c == '&') {
        SkipReference();
      } else if (c != '<') {
        ++pos_;
      } else if (At("<!--")) {
        SkipPast("-->", "comment");
      } else if (At("<![CDATA[")) {
        SkipPast("]]>", "CDATA section");
      } else if (At("<?")) {
        SkipPast("?>", "processing instruction");
      } else if (At("<!")) {
        throw FormatError("a markup declaration inside ROOT");
      } else if (At("</")) {
        const size_t tagBegin = pos_;
        const Tag end = ReadEndTag();
        if (!SameName(end, open.back())) throw FormatError("an end tag that does not match its start tag");
        open.pop_back();
        if (levelContentBegin != kNone && open.size() == 1) {
          level = Splice{levelContentBegin, tagBegin, false};
          levelContentBegin = kNone;
        }
      } else {
        const Tag tag = ReadStartTag();
        const bool isLevel = open.size() == 1 && !level && NameIs(tag, "Level");
        if (tag.selfClosing()) {
          if (isLevel) level = Splice{tag.slash, tag.end, true};
        } else {
          open.push_back(tag);
          if (isLevel) levelContentBegin = tag.end;
        }
      }
    }
    return level;
  }

  const Units& u_;
  size_t pos_ = 0;
};

// ---------------------------------------------------------------------------
// The new level text: decoded, checked, escaped, encoded as the document is.

std::u32string DecodeUtf8(std::string_view s) {
  const FormatError bad("the level text is not valid UTF-8");
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      out += static_cast<char32_t>(lead);
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
      throw bad;
    }
    if (s.size() - i <= extra) throw bad;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0) != 0x80) throw bad;
      cp = cp << 6 | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) throw bad;
    out += cp;
    i += extra + 1;
  }
  return out;
}

bool IsXmlChar(char32_t c) {
  return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

std::u32string Ascii(std::string_view s) { return std::u32string(s.begin(), s.end()); }

// As a DOM would write text content: "&", "<" and ">" escaped, and a carriage
// return as a reference, because a parser turns a raw one into a line feed.
std::u32string EscapeText(std::u32string_view text) {
  std::u32string out;
  for (char32_t c : text) {
    if (!IsXmlChar(c)) throw FormatError("the level text holds a character that XML cannot carry");
    switch (c) {
      case U'&': out += U"&amp;"; break;
      case U'<': out += U"&lt;"; break;
      case U'>': out += U"&gt;"; break;
      case U'\r': out += U"&#13;"; break;
      default: out += c;
    }
  }
  return out;
}

// Windows code page 1251, bytes 0x80 to 0xFF (0x98 is undefined).
constexpr std::array<char16_t, 128> kWindows1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

std::optional<char> ToWindows1251(char32_t c) {
  if (c < 0x80) return static_cast<char>(c);
  for (size_t i = 0; i < kWindows1251High.size(); ++i)
    if (kWindows1251High[i] != 0 && kWindows1251High[i] == c) return static_cast<char>(0x80 + i);
  return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16Unit(std::string& out, char32_t unit, bool bigEndian) {
  const char high = static_cast<char>(unit >> 8);
  const char low = static_cast<char>(unit & 0xFF);
  out += bigEndian ? high : low;
  out += bigEndian ? low : high;
}

void AppendUtf16(std::string& out, char32_t c, bool bigEndian) {
  if (c < 0x10000) return AppendUtf16Unit(out, c, bigEndian);
  AppendUtf16Unit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
  AppendUtf16Unit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
}

// A single-byte encoding: characters it lacks become character references,
// which are only ever written where text content goes.
void AppendSingleByte(std::string& out, char32_t c, Encoding encoding) {
  const std::optional<char> byte =
      encoding == Encoding::Windows1251 ? ToWindows1251(c) : (c < 0x80 ? std::optional<char>(c) : std::nullopt);
  if (byte)
    out += *byte;
  else
    out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
}

std::string Encode(std::u32string_view text, Encoding encoding) {
  std::string out;
  for (char32_t c : text) {
    switch (encoding) {
      case Encoding::Utf8: AppendUtf8(out, c); break;
      case Encoding::Utf16Le: AppendUtf16(out, c, false); break;
      case Encoding::Utf16Be: AppendUtf16(out, c, true); break;
      case Encoding::Windows1251:
      case Encoding::AsciiCompatible: AppendSingleByte(out, c, encoding); break;
    }
  }
  return out;
}

}  // namespace

Encoding DetectEncoding(std::string_view document) {
  if (StartsWith(document, "\xEF\xBB\xBF")) return Encoding::Utf8;
  if (StartsWith(document, "\xFF\xFE")) return Encoding::Utf16Le;
  if (StartsWith(document, "\xFE\xFF")) return Encoding::Utf16Be;
  if (StartsWith(document, std::string_view("<\0", 2))) return Encoding::Utf16Le;
  if (StartsWith(document, std::string_view("\0<", 2))) return Encoding::Utf16Be;
  const std::string name = DeclaredEncodingName(document);
  return name.empty() ? Encoding::Utf8 : EncodingFromName(name);
}

std::string ReplaceLevelText(std::string_view document, std::string_view levelUtf8) {
  std::u32string content = EscapeText(DecodeUtf8(levelUtf8));
  const Encoding encoding = DetectEncoding(document);
  const Units units(document, encoding);
  const Splice splice = LevelFinder(units).Find();
  if (splice.emptyElement) {
    if (content.empty()) return std::string(document);  // <Level/> already has no text
    content = Ascii(">") + content + Ascii("</Level>");
  }
  std::string out(document.substr(0, units.ByteOffset(splice.begin)));
  out += Encode(content, encoding);
  out += document.substr(units.ByteOffset(splice.end));
  return out;
}

}  // namespace releaseinfo
