#include "common/LogFormat.h"

namespace logfmt {
namespace {

void AppendTwoDigits(std::wstring& out, int value) {
  out += static_cast<wchar_t>(L'0' + (value / 10) % 10);
  out += static_cast<wchar_t>(L'0' + value % 10);
}

void AppendFourDigits(std::wstring& out, int value) {
  AppendTwoDigits(out, value / 100);
  AppendTwoDigits(out, value % 100);
}

std::wstring SeparatorOf(std::wstring_view format, std::wstring_view fieldLetters) {
  for (wchar_t c : format) {
    if (fieldLetters.find(c) == std::wstring_view::npos && c != L'\'' && c != L' ') return std::wstring(1, c);
  }
  return {};
}

// A message's own line breaks become CR LF.
std::wstring WithCrLf(std::wstring_view line) {
  if (line.find_first_of(L"\r\n") == std::wstring_view::npos) return std::wstring(line);
  std::wstring out;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == L'\r' || line[i] == L'\n') {
      out += L"\r\n";
      if (line[i] == L'\r' && i + 1 < line.size() && line[i + 1] == L'\n') ++i;
    } else {
      out += line[i];
    }
  }
  return out;
}

}  // namespace

std::wstring FormatDateTime(const LogTime& t, const Separators& separators) {
  std::wstring out;
  out.reserve(19);
  AppendTwoDigits(out, t.day);
  out += separators.date;
  AppendTwoDigits(out, t.month);
  out += separators.date;
  AppendFourDigits(out, t.year);
  out += L' ';
  AppendTwoDigits(out, t.hour);
  out += separators.time;
  AppendTwoDigits(out, t.minute);
  out += separators.time;
  AppendTwoDigits(out, t.second);
  return out;
}

std::wstring FormatEntry(std::wstring_view customer, const LogTime& t, const Separators& separators,
                         std::wstring_view message) {
  std::wstring entry(customer);
  entry += FormatDateTime(t, separators);
  entry += L": ";
  entry += message;
  return entry;
}

std::wstring EventText(std::wstring_view customer, std::wstring_view message) {
  std::wstring out(customer);
  out += L": ";
  out += message;
  return out;
}

void AddNewest(std::vector<std::wstring>& lines, std::wstring entry, std::size_t maxLines) {
  lines.insert(lines.begin(), std::move(entry));
  if (lines.size() > maxLines) lines.resize(maxLines);
}

std::wstring ByteDump(std::wstring_view message, const ByteArray& bytes) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out(message);
  out.reserve(message.size() + bytes.size() * 3);
  for (std::uint8_t b : bytes) {
    out += kHex[b >> 4];
    out += kHex[b & 0x0F];
    out += L' ';
  }
  return out;
}

std::wstring DateSeparatorOf(std::wstring_view shortDateFormat) { return SeparatorOf(shortDateFormat, L"dMyg"); }

std::wstring TimeSeparatorOf(std::wstring_view timeFormat) { return SeparatorOf(timeFormat, L"hHmst"); }

LogLines ParseLogFile(std::string_view bytes, const text::AnsiCodec& ansi, std::size_t maxLines) {
  text::DecodedText decoded = text::DecodeText(bytes, ansi);
  LogLines log{text::SplitLines(decoded.text), decoded.encoding};
  if (log.lines.size() > maxLines) log.lines.resize(maxLines);
  return log;
}

std::string RenderLogFile(const LogLines& log, const text::AnsiCodec& ansi) {
  std::wstring content;
  for (const std::wstring& line : log.lines) {
    content += WithCrLf(line);
    content += L"\r\n";
  }
  return text::EncodeText(content, log.encoding, ansi);
}

}  // namespace logfmt
