// The in-memory INI file the suite's programs use to change a few keys of an
// initialisation file: it reads the whole file, sets keys and writes the whole
// file back.
//
// What survives a rewrite: every section in its order and, inside a section,
// every line that is neither empty nor a comment (";" as its first non-blank
// character), in its order. Blanks (every character of code 32 or below) at the
// ends of a line and around the first "=" are dropped, and so are empty lines,
// comments, lines before the first section and the lines of a section whose
// name (compared without regard to letter case) appeared earlier in the file.
//
// Written text: "[name]", then one "key=value" line per key, then one empty
// line, for every section; the caller encodes it (see RewriteIni).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/TextEncoding.h"

namespace ini {

using KeyValues = std::vector<std::pair<std::wstring, std::wstring>>;

class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument Parse(std::wstring_view text);

  // Sets `key` in `section`. A key of the same name (letter case aside) gets the
  // new value in its place and keeps the spelling of its name; otherwise the
  // key is added at the end of its section. A missing section is added at the
  // end. What would not read back as the same key raises std::invalid_argument:
  // line breaks anywhere, a section or key name with a blank (code 32 or below)
  // at either end, and a key that is empty, holds "=" or starts with ";" or "[".
  void SetValue(std::wstring_view section, std::wstring_view key, std::wstring_view value);

  // The value of the first key of that name, if there is one.
  std::optional<std::wstring> Value(std::wstring_view section, std::wstring_view key) const;

  // The lines of the file, without line ends.
  std::vector<std::wstring> Lines() const;

 private:
  struct Section {
    std::wstring name;
    std::vector<std::wstring> lines;  // "key=value", or a line without "="
  };
  Section* FindSection(std::wstring_view name);
  const Section* FindSection(std::wstring_view name) const;

  std::vector<Section> sections_;
};

// The new bytes of an INI file after setting `values` in `section`.
// `existing` holds the file's bytes, or nothing for a file that does not exist;
// an existing file keeps its encoding (its byte-order mark decides, the ANSI
// code page without one), a new one is written in the ANSI code page. Lines end
// in CR LF.
std::string RewriteIni(const std::optional<std::string>& existing, std::wstring_view section, const KeyValues& values,
                       const text::AnsiCodec& ansi);

}  // namespace ini
