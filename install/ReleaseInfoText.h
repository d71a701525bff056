// The release level inside the updater's ReleaseInfo file, written by editing
// the file's bytes: the text of the Level child of the document element ROOT is
// replaced and every other byte stays exactly as it was.
//
// An XML library cannot promise that: MSXML (Wine's in particular) re-indents,
// drops a UTF-8 byte-order mark and writes a windows-1251 document as UTF-8 under
// its old declaration when it saves. The updater compares and signs these files,
// so the installer changes nothing but the level.
//
// Platform-neutral: bytes in, bytes out, no system calls.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace releaseinfo {

// Why the bytes could not be edited; what() is an English sentence in ASCII.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Encoding {
  Utf8,
  Utf16Le,
  Utf16Be,
  Windows1251,
  // Any other single-byte encoding whose first 128 codes are ASCII (us-ascii,
  // iso-8859-*, other windows-125x, koi8-*, cp866): only ASCII is written raw.
  AsciiCompatible,
};

// The encoding of an XML document as a parser decides it: the byte-order mark,
// else the first characters ("<" followed or preceded by a zero byte for
// UTF-16), else the encoding named in the XML declaration, else UTF-8. Throws
// FormatError for an encoding this module cannot write.
Encoding DetectEncoding(std::string_view document);

// `document` with the content of ROOT's first Level child element replaced by
// `levelUtf8` (UTF-8), escaped for XML and encoded as the document is; an empty
// <Level/> becomes <Level>level</Level>. Comments, CDATA sections, processing
// instructions and Level elements deeper down are passed over.
//
// Throws FormatError when the document is not well-formed as far as this scan
// can tell (unclosed or mismatched tags, truncated markup, text outside ROOT),
// when the document element is not ROOT, when ROOT has no Level child, when ROOT
// uses entity references other than the predefined and numeric ones (their
// expansion could hold elements a byte scan cannot see), or when the level text
// is not valid UTF-8 or holds a character XML cannot carry.
std::string ReplaceLevelText(std::string_view document, std::string_view levelUtf8);

}  // namespace releaseinfo
