#include "common/WinFiles.h"

#include <algorithm>
#include <vector>

#include "common/FileError.h"
#include "common/Handles.h"
#include "common/WinText.h"

namespace win {
namespace {

class AnsiCodePageCodec final : public text::AnsiCodec {
 public:
  std::wstring Decode(std::string_view bytes) const override { return FromCodePage(bytes, CP_ACP); }
  std::string Encode(std::wstring_view text) const override { return ToCodePage(text, CP_ACP); }
};

constexpr DWORD kChunk = 1 << 20;

std::wstring LastErrorText() { return SystemErrorText(::GetLastError()); }

}  // namespace

const text::AnsiCodec& AnsiCodePage() {
  static const AnsiCodePageCodec codec;
  return codec;
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::vector<wchar_t> buffer(needed);
  const DWORD length = ::GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  return std::wstring(buffer.data(), length);
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    // Only a file that is there and cannot be read is an error; a missing one,
    // or a name no file can have, is simply no file yet.
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    throw files::CannotOpen(FullPath(path), SystemErrorText(error));
  }
  std::string bytes;
  for (;;) {
    const size_t used = bytes.size();
    bytes.resize(used + kChunk);
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + used, kChunk, &read, nullptr)) {
      throw files::CannotOpen(FullPath(path), LastErrorText());
    }
    bytes.resize(used + read);
    if (read == 0) return bytes;
  }
}

void WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  // Windows refuses to open a read-only file for writing, whoever asks; Wine run
  // as root (Unix permissions do not bind root) would write it: ask explicitly.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    throw files::CannotCreate(FullPath(path), SystemErrorText(ERROR_ACCESS_DENIED));
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw files::CannotCreate(FullPath(path), LastErrorText());
  while (!bytes.empty()) {
    const DWORD part = static_cast<DWORD>(std::min<size_t>(bytes.size(), kChunk));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), part, &written, nullptr) || written == 0) {
      throw files::CannotWrite(FullPath(path), LastErrorText());
    }
    bytes.remove_prefix(written);
  }
  // Whatever the file held beyond the new end goes.
  if (!::SetEndOfFile(file.get())) throw files::CannotWrite(FullPath(path), LastErrorText());
}

}  // namespace win
