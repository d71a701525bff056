// A new version of a file, written beside it under a temporary name and put in
// its place only once it is complete, so that a failure half-way leaves the old
// file as it was (or no file where there was none).
#pragma once

#include "common/Handles.h"

#include <string>

namespace files {

// Why `target` could not be opened for replacing (0 when it can be, or when it
// does not exist): a read-only file, a folder, a file another program holds
// without sharing. Checked before any work so that the caller can report the
// target as "cannot be created" rather than fail late.
DWORD ReplaceabilityError(const std::wstring& target);

class ReplacementFile {
 public:
  // Creates an empty temporary file in the folder of `target`, open for writing.
  explicit ReplacementFile(const std::wstring& target);
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  // Deletes the temporary file unless Commit() succeeded.
  ~ReplacementFile();

  explicit operator bool() const noexcept { return static_cast<bool>(file_); }
  // The system error that kept the temporary file from being created.
  DWORD error() const noexcept { return error_; }
  HANDLE get() const noexcept { return file_.get(); }

  // Closes the temporary file, gives it `attributes` and moves it over the
  // target. Returns 0, or the system error (the temporary file is then gone).
  DWORD Commit(DWORD attributes = FILE_ATTRIBUTE_NORMAL);

 private:
  std::wstring target_;
  std::wstring temporary_;
  win::UniqueFile file_;
  DWORD error_ = 0;
  bool committed_ = false;
};

}  // namespace files
