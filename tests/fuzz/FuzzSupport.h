// What the fuzz targets share: the check that aborts on a failed property, a
// reader that takes fields off the front of the fuzzer's bytes, and lookups in
// a parsed INI document the way the Windows profile functions answer them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/IniFile.h"
#include "common/ProfileReader.h"

namespace fuzz {

[[noreturn]] inline void FailProperty(const char* property, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
  std::abort();
}

// Aborts (a crash to libFuzzer, a failed test to the regression test) when
// `property` does not hold. Active in every build type.
#define FUZZ_CHECK(property)                                              \
  do {                                                                    \
    if (!(property)) ::fuzz::FailProperty(#property, __FILE__, __LINE__); \
  } while (false)

// The fuzzer's bytes, taken from the front: small fields first, the rest as
// the file. Past the end every field is empty, so any input is usable.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}

  uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const uint8_t b = static_cast<uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return b;
  }

  // A field whose length (at most `maxLength`) is given by the byte before it.
  std::string_view Field(size_t maxLength) {
    const size_t length = std::min<size_t>({Byte() % (maxLength + 1), bytes_.size()});
    const std::string_view field = bytes_.substr(0, length);
    bytes_.remove_prefix(length);
    return field;
  }

  std::string_view Rest() const { return bytes_; }

 private:
  std::string_view bytes_;
};

// An INI document answering lookups like GetPrivateProfileString with a buffer
// of 2048 characters: the first key of that name, cut to the longest value.
class DocumentProfile final : public ini::ProfileReader {
 public:
  explicit DocumentProfile(const ini::IniDocument& document) : document_(document) {}

  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& fallback) const override {
    std::wstring value = document_.Value(section, key).value_or(fallback);
    if (value.size() > ini::kMaxProfileValue) value.resize(ini::kMaxProfileValue);
    return value;
  }

 private:
  const ini::IniDocument& document_;
};

// Removes the characters of code 32 or below at both ends, as the suite trims.
inline std::wstring_view TrimBlanks(std::wstring_view s) {
  while (!s.empty() && static_cast<uint32_t>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<uint32_t>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

}  // namespace fuzz
