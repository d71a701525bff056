// Looking up a value in an initialisation file the way the Windows profile
// functions do (GetPrivateProfileString with a 2048-character buffer).
#pragma once

#include <string>

namespace ini {

// Longest value a lookup returns: the buffer of 2048 characters less the
// terminating zero. Longer values are cut.
inline constexpr size_t kMaxProfileValue = 2047;

class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  // The value of `key` in `section`. A missing file, section or key gives
  // `fallback`; a key that is present with an empty value gives an empty text.
  virtual std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& fallback) const = 0;
};

// A reader without a file: every lookup gives its fallback.
class NoProfile final : public ProfileReader {
 public:
  std::wstring ReadString(const std::wstring&, const std::wstring&, const std::wstring& fallback) const override {
    return fallback;
  }
};

}  // namespace ini
