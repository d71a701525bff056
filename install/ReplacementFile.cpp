#include "install/ReplacementFile.h"

#include <atomic>
#include <cwchar>

namespace files {
namespace {

// "~<8 hex digits>.tmp": short, so that a target near the path length limit
// still gets a temporary file beside it.
std::wstring TemporaryName(unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  const unsigned value =
      (::GetCurrentProcessId() << 16) ^ (::GetTickCount() << 4) ^ (counter++ * 2654435761u) ^ attempt;
  wchar_t name[16];
  std::swprintf(name, 16, L"~%08x.tmp", value);
  return name;
}

// The folder part of `target` with its separator ("" for a bare name, which
// lives in the current folder): the temporary file must be on the target's
// volume, or moving it into place would have to copy it again.
std::wstring FolderPart(const std::wstring& target) {
  const size_t separator = target.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : target.substr(0, separator + 1);
}

}  // namespace

DWORD ReplaceabilityError(const std::wstring& target) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  // Windows refuses to open a read-only file for writing, but Wine run as root
  // (Unix permissions do not bind root) opens and replaces it: ask explicitly.
  if (attributes & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
  // Write and delete access are what replacing needs; the open fails for a
  // folder (access denied) and for a file held without sharing (sharing
  // violation), as creating the file over the old one would.
  win::UniqueFile probe(::CreateFileW(target.c_str(), GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe ? 0 : ::GetLastError();
}

ReplacementFile::ReplacementFile(const std::wstring& target) : target_(target) {
  const std::wstring folder = FolderPart(target);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temporary_ = folder + TemporaryName(attempt);
    file_.reset(::CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    if (file_) return;
    error_ = ::GetLastError();
    if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) break;
  }
  temporary_.clear();
}

ReplacementFile::~ReplacementFile() {
  file_.reset();
  if (!committed_ && !temporary_.empty()) ::DeleteFileW(temporary_.c_str());
}

DWORD ReplacementFile::Commit(DWORD attributes) {
  if (!file_) return error_ ? error_ : ERROR_INVALID_HANDLE;
  file_.reset();
  if (attributes != FILE_ATTRIBUTE_NORMAL) ::SetFileAttributesW(temporary_.c_str(), attributes);
  if (!::MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD error = ::GetLastError();
    ::SetFileAttributesW(temporary_.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only temporary would stay behind
    ::DeleteFileW(temporary_.c_str());
    temporary_.clear();
    return error;
  }
  committed_ = true;
  return 0;
}

}  // namespace files
