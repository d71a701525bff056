#include "common/FileError.h"

#include "common/TextEncoding.h"

namespace files {

FileError::FileError(const std::wstring& message, const std::wstring& path)
    : std::runtime_error(text::ToUtf8(message)), path_(path) {}

FileError CannotCreate(const std::wstring& path, const std::wstring& reason) {
  return FileError(L"Cannot create file \"" + path + L"\". " + reason, path);
}

FileError CannotOpen(const std::wstring& path, const std::wstring& reason) {
  return FileError(L"Cannot open file \"" + path + L"\". " + reason, path);
}

FileError CannotWrite(const std::wstring& path, const std::wstring& reason) {
  return FileError(L"Cannot write file \"" + path + L"\". " + reason, path);
}

}  // namespace files
