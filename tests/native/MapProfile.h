// An initialisation file held in a map, answering lookups like the Windows
// profile functions (for tests of the readers without a file system), and
// recording the lookups it was asked for.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/ProfileReader.h"
#include "common/TextEncoding.h"

namespace testsupport {

class MapProfile final : public ini::ProfileReader {
 public:
  struct Lookup {
    std::wstring section, key, fallback;
    bool operator==(const Lookup&) const = default;
  };

  MapProfile() = default;
  // {{section, key}, value}
  explicit MapProfile(std::map<std::pair<std::wstring, std::wstring>, std::wstring> values)
      : values_(std::move(values)) {}

  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& fallback) const override {
    lookups_.push_back({section, key, fallback});
    for (const auto& [name, value] : values_) {
      if (text::EqualsIgnoreCase(name.first, section) && text::EqualsIgnoreCase(name.second, key)) return value;
    }
    return fallback;
  }

  const std::vector<Lookup>& lookups() const { return lookups_; }

 private:
  std::map<std::pair<std::wstring, std::wstring>, std::wstring> values_;
  mutable std::vector<Lookup> lookups_;
};

}  // namespace testsupport
