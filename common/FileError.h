// The error a file operation raises when the caller cannot go on: its message
// names the file and gives the system's reason, in the words the suite's
// programs have always used ("Cannot create file "C:\x\vavova.ini". Access is
// denied"). Exceptions carry their message in UTF-8.
#pragma once

#include <stdexcept>
#include <string>

namespace files {

class FileError : public std::runtime_error {
 public:
  FileError(const std::wstring& message, const std::wstring& path);
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// "Cannot create file "<path>". <reason>"
FileError CannotCreate(const std::wstring& path, const std::wstring& reason);
// "Cannot open file "<path>". <reason>"
FileError CannotOpen(const std::wstring& path, const std::wstring& reason);
// "Cannot write file "<path>". <reason>"
FileError CannotWrite(const std::wstring& path, const std::wstring& reason);

}  // namespace files
