#include "common/IniFile.h"

#include <stdexcept>

#include "common/TextUtil.h"

namespace ini {
namespace {

bool IsSectionLine(std::wstring_view line) { return line.size() >= 2 && line.front() == L'[' && line.back() == L']'; }

// "key = value" becomes "key=value"; a line without "=" stays as it is.
std::wstring NormaliseKeyLine(std::wstring_view line) {
  const size_t equals = line.find(L'=');
  if (equals == std::wstring_view::npos) return std::wstring(line);
  return text::Trim(line.substr(0, equals)) + L'=' + text::Trim(line.substr(equals + 1));
}

// The name part of a line: what precedes its first "=", or nothing.
std::optional<std::wstring_view> KeyOf(std::wstring_view line) {
  const size_t equals = line.find(L'=');
  if (equals == std::wstring_view::npos) return std::nullopt;
  return line.substr(0, equals);
}

void CheckLine(std::wstring_view text) {
  if (text.find_first_of(L"\r\n") != std::wstring_view::npos)
    throw std::invalid_argument("INI names cannot hold line breaks");
}

// A reader trims blanks off the ends of a name, so such a name would read back
// as another one.
void CheckSectionName(std::wstring_view name) {
  CheckLine(name);
  if (text::Trim(name).size() != name.size())
    throw std::invalid_argument("An INI section or key name must not start or end with a blank");
}

void CheckKey(std::wstring_view key) {
  CheckSectionName(key);
  if (key.empty() || key.front() == L';' || key.front() == L'[' || key.find(L'=') != std::wstring_view::npos)
    throw std::invalid_argument("An INI key must not be empty, start with \";\" or \"[\", or hold \"=\"");
}

}  // namespace

IniDocument IniDocument::Parse(std::wstring_view text) {
  IniDocument document;
  Section* current = nullptr;
  bool skipping = false;  // inside a repeated section, whose lines are dropped
  for (const std::wstring& raw : text::SplitLines(text)) {
    const std::wstring line = text::Trim(std::wstring_view(raw));
    if (line.empty() || line.front() == L';') continue;
    if (IsSectionLine(line)) {
      const std::wstring name = text::Trim(std::wstring_view(line).substr(1, line.size() - 2));
      skipping = document.FindSection(name) != nullptr;
      if (!skipping) {
        document.sections_.push_back(Section{name, {}});
        current = &document.sections_.back();
      }
      continue;
    }
    if (current && !skipping) current->lines.push_back(NormaliseKeyLine(line));
  }
  return document;
}

void IniDocument::SetValue(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  CheckSectionName(section);
  CheckKey(key);
  CheckLine(value);
  Section* target = FindSection(section);
  if (!target) {
    sections_.push_back(Section{std::wstring(section), {}});
    target = &sections_.back();
  }
  for (std::wstring& line : target->lines) {
    const auto name = KeyOf(line);
    if (name && text::EqualsIgnoreCase(*name, key)) {
      line = std::wstring(*name) + L'=' + std::wstring(value);
      return;
    }
  }
  target->lines.push_back(std::wstring(key) + L'=' + std::wstring(value));
}

std::optional<std::wstring> IniDocument::Value(std::wstring_view section, std::wstring_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  for (const std::wstring& line : found->lines) {
    const auto name = KeyOf(line);
    if (name && text::EqualsIgnoreCase(*name, key)) return line.substr(name->size() + 1);
  }
  return std::nullopt;
}

std::vector<std::wstring> IniDocument::Lines() const {
  std::vector<std::wstring> lines;
  for (const Section& section : sections_) {
    lines.push_back(L'[' + section.name + L']');
    lines.insert(lines.end(), section.lines.begin(), section.lines.end());
    lines.emplace_back();
  }
  return lines;
}

IniDocument::Section* IniDocument::FindSection(std::wstring_view name) {
  for (Section& section : sections_) {
    if (text::EqualsIgnoreCase(section.name, name)) return &section;
  }
  return nullptr;
}

const IniDocument::Section* IniDocument::FindSection(std::wstring_view name) const {
  return const_cast<IniDocument*>(this)->FindSection(name);
}

std::string RewriteIni(const std::optional<std::string>& existing, std::wstring_view section, const KeyValues& values,
                       const text::AnsiCodec& ansi) {
  text::DecodedText decoded;
  if (existing) decoded = text::DecodeText(*existing, ansi);
  IniDocument document = IniDocument::Parse(decoded.text);
  for (const auto& [key, value] : values) document.SetValue(section, key, value);
  return text::EncodeText(text::JoinLinesCrLf(document.Lines()), decoded.encoding, ansi);
}

}  // namespace ini
