// Fuzz target for the ReleaseInfo editor (install/ReleaseInfoText): the input is
// the level text (any bytes, usually not valid UTF-8), then the document.
//
// Checks: a document is either refused with FormatError or edited; an edited
// document keeps its encoding, reads the same level again (writing it a second
// time changes no byte, writing another level and then this one gives the same
// bytes), and for a plain ASCII level differs from the input only inside the
// Level element: the bytes before its content and after it are the input's, and
// the content is the level in the document's encoding.
#include "tests/fuzz/FuzzTargets.h"

#include <optional>
#include <string>
#include <string_view>

#include "install/ReleaseInfoText.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {
namespace {

using releaseinfo::Encoding;

size_t UnitWidth(Encoding encoding) { return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be ? 2 : 1; }

// ASCII text in the document's encoding.
std::string Encoded(std::string_view ascii, Encoding encoding) {
  std::string out;
  for (char c : ascii) {
    if (encoding == Encoding::Utf16Be) out += '\0';
    out += c;
    if (encoding == Encoding::Utf16Le) out += '\0';
  }
  return out;
}

// Letters, digits, "." and "-": written as they are in every encoding.
bool IsPlainLevel(std::string_view level) {
  for (char c : level) {
    const bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letterOrDigit && c != '.' && c != '-') return false;
  }
  return true;
}

size_t CommonPrefix(std::string_view a, std::string_view b) {
  size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

size_t CommonSuffix(std::string_view a, std::string_view b) {
  size_t n = 0;
  while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
  return n;
}

// The code unit at byte `at`.
uint32_t UnitAt(std::string_view document, size_t at, Encoding encoding) {
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(document[i])); };
  if (encoding == Encoding::Utf16Le) return byte(at) | byte(at + 1) << 8;
  if (encoding == Encoding::Utf16Be) return byte(at) << 8 | byte(at + 1);
  return byte(at);
}

// The byte of the ">" or "/>" that ends the start tag at `tag`, passing over
// quoted attribute values, or npos.
size_t StartTagEnd(std::string_view document, size_t tag, Encoding encoding) {
  const size_t width = UnitWidth(encoding);
  uint32_t quote = 0;
  for (size_t at = tag + width; at + width <= document.size(); at += width) {
    const uint32_t c = UnitAt(document, at, encoding);
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>' || c == '/') {
      return at;
    }
  }
  return std::string_view::npos;
}

// True when some Level start tag before `before` ends at byte `end` (its ">"
// or the "/" of its "/>").
bool IsEndOfLevelStartTag(std::string_view document, size_t before, size_t end, Encoding encoding) {
  const size_t width = UnitWidth(encoding);
  const std::string open = Encoded("<Level", encoding);
  for (size_t tag = document.substr(0, before).rfind(open); tag != std::string_view::npos;
       tag = tag == 0 ? std::string_view::npos : document.substr(0, tag).rfind(open)) {
    if (tag % width != 0 || tag + open.size() + width > document.size()) continue;
    const uint32_t next = UnitAt(document, tag + open.size(), encoding);
    const bool nameEnds = next == ' ' || next == '\t' || next == '\r' || next == '\n' || next == '>' || next == '/';
    if (nameEnds && StartTagEnd(document, tag, encoding) == end) return true;
  }
  return false;
}

// <Level ...>old</Level> became <Level ...>level</Level>: some split of the
// output into the input's first bytes, the level and the input's last bytes.
bool IsContentSplice(std::string_view in, std::string_view out, std::string_view level, Encoding encoding) {
  const size_t width = UnitWidth(encoding);
  const std::string content = Encoded(level, encoding);
  const size_t prefix = CommonPrefix(in, out);
  const size_t suffix = CommonSuffix(in, out);
  if (out.size() < content.size()) return false;
  const size_t tailOfOut = out.size() - content.size();  // bytes of the output that are not the level
  const size_t lowest = tailOfOut > suffix ? tailOfOut - suffix : 0;
  for (size_t at = lowest; at <= prefix && at <= tailOfOut; ++at) {
    if (at % width != 0 || out.substr(at, content.size()) != content) continue;
    const size_t rest = tailOfOut - at;  // the input's last bytes, from the end tag on
    if (rest > in.size() || in.size() - rest < at) continue;
    const std::string_view after = in.substr(in.size() - rest);
    if (!after.starts_with(Encoded("</Level", encoding))) continue;
    if (at >= width && in.substr(at - width, width) == Encoded(">", encoding) &&
        IsEndOfLevelStartTag(in, at, at - width, encoding))
      return true;
  }
  return false;
}

// <Level .../> became <Level ...>level</Level>.
bool IsEmptyElementSplice(std::string_view in, std::string_view out, std::string_view level, Encoding encoding) {
  const size_t width = UnitWidth(encoding);
  const size_t slash = CommonPrefix(in, out) / width * width;
  const std::string closing = Encoded("/>", encoding);
  if (in.substr(slash, closing.size()) != closing || !IsEndOfLevelStartTag(in, slash, slash, encoding)) return false;
  const std::string expected = std::string(in.substr(0, slash)) + Encoded(">", encoding) + Encoded(level, encoding) +
                               Encoded("</Level>", encoding) + std::string(in.substr(slash + closing.size()));
  return out == expected;
}

void CheckSplice(std::string_view in, std::string_view out, std::string_view level, Encoding encoding) {
  if (level.empty() && in == out) return;  // <Level/> already has no text
  FUZZ_CHECK(IsContentSplice(in, out, level, encoding) || IsEmptyElementSplice(in, out, level, encoding));
}

}  // namespace

void FuzzReleaseInfoText(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::string level(input.Field(12));
  const std::string_view document = input.Rest();

  std::optional<Encoding> encoding;
  try {
    encoding = releaseinfo::DetectEncoding(document);
  } catch (const releaseinfo::FormatError&) {
  }
  std::string edited;
  try {
    edited = releaseinfo::ReplaceLevelText(document, level);
  } catch (const releaseinfo::FormatError&) {
    return;
  }
  FUZZ_CHECK(encoding.has_value());
  FUZZ_CHECK(releaseinfo::DetectEncoding(edited) == *encoding);
  FUZZ_CHECK(releaseinfo::ReplaceLevelText(edited, level) == edited);
  if (!level.empty()) {
    const std::string other = releaseinfo::ReplaceLevelText(edited, "r999999");
    FUZZ_CHECK(releaseinfo::ReplaceLevelText(other, level) == edited);
  }
  if (IsPlainLevel(level)) CheckSplice(document, edited, level, *encoding);
}

}  // namespace fuzz
