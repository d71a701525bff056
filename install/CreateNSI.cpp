#include "install/CreateNSI.h"

#include "common/ComPtr.h"
#include "common/Handles.h"
#include "common/SystemLibrary.h"
#include "common/TextUtil.h"
#include "common/WinText.h"
#include "install/ReleaseInfoText.h"
#include "install/ReplacementFile.h"

#include <msxml2.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

CreateNSIError::CreateNSIError(const std::wstring& message) : std::runtime_error(win::ToUtf8(message)) {}

namespace {

constexpr DWORD kCopyBlock = 1024 * 1024;

CopyReadFn g_copyRead = ::ReadFile;

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return text::WithTrailingBackslash(folder) + name;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDotEntry(const wchar_t* name) { return std::wstring_view(name) == L"." || std::wstring_view(name) == L".."; }

void ForceFolders(const std::wstring& folder) {
  const std::wstring path = text::WithoutTrailingBackslash(folder);
  if (path.empty() || IsFolder(path)) return;
  const std::wstring parent = text::WithoutTrailingBackslash(text::FolderOf(path));
  if (!parent.empty() && parent != path && parent.back() != L':') ForceFolders(parent);
  ::CreateDirectoryW(path.c_str(), nullptr);
}

// Calls `visit` with every entry of `folder` but "." and "..".
template <class Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW data;
  win::UniqueFind find(::FindFirstFileW(Join(folder, L"*").c_str(), &data));
  if (!find) return;
  do {
    if (!IsDotEntry(data.cFileName)) visit(data);
  } while (::FindNextFileW(find.get(), &data));
}

std::wstring FileMessage(const wchar_t* what, const std::wstring& path, DWORD error) {
  return std::wstring(what) + L" \"" + path + L"\". " + win::SystemErrorText(error);
}

// ---------------------------------------------------------------------------
// CopyOneFile

bool CopyBytes(HANDLE from, HANDLE to, uint64_t size) {
  // One block for the whole copy: memory does not grow with the file.
  const std::unique_ptr<char[]> buffer(new char[kCopyBlock]);
  for (uint64_t left = size; left > 0;) {
    const DWORD want = static_cast<DWORD>(std::min<uint64_t>(left, kCopyBlock));
    DWORD read = 0;
    DWORD written = 0;
    if (!g_copyRead(from, buffer.get(), want, &read, nullptr) || read != want) return false;
    if (!::WriteFile(to, buffer.get(), want, &written, nullptr) || written != want) return false;
    left -= want;
  }
  return true;
}

// The suite has always stamped copies through a DOS date and time in local
// time: two-second steps, so the copy's time is the source's rounded down to an
// even second. Failures (a time outside 1980-2107) leave the copy's time alone.
void CopyLastWriteTime(HANDLE from, HANDLE to) {
  FILETIME written, local, dosLocal, result;
  WORD dosDate = 0;
  WORD dosTime = 0;
  if (::GetFileTime(from, nullptr, nullptr, &written) && ::FileTimeToLocalFileTime(&written, &local) &&
      ::FileTimeToDosDateTime(&local, &dosDate, &dosTime) && ::DosDateTimeToFileTime(dosDate, dosTime, &dosLocal) &&
      ::LocalFileTimeToFileTime(&dosLocal, &result))
    ::SetFileTime(to, nullptr, nullptr, &result);
}

bool CopyContents(HANDLE source, HANDLE target) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(source, &size)) return false;
  // No preallocation of the target (FileAllocationInfo): under Wine it becomes
  // fallocate, which makes ext4 allocate and convert every block up front and
  // made a 1 GiB copy a third slower than CopyFileW; the system's own copy does
  // not preallocate either.
  if (!CopyBytes(source, target, static_cast<uint64_t>(size.QuadPart))) return false;
  CopyLastWriteTime(source, target);
  return true;
}

// ---------------------------------------------------------------------------
// Starting processes

bool EndsWithIgnoreCase(const std::wstring& s, const std::wstring& suffix) {
  if (s.size() < suffix.size()) return false;
  return ::CompareStringOrdinal(s.c_str() + s.size() - suffix.size(), static_cast<int>(suffix.size()), suffix.c_str(),
                                static_cast<int>(suffix.size()), TRUE) == CSTR_EQUAL;
}

struct StartCommand {
  std::wstring application;  // empty: the system takes the program from the command line
  std::wstring commandLine;
};

// The program is named explicitly and its path quoted: unquoted, a path such as
// C:\Program Files\x.exe would run C:\Program.exe if that existed. A script
// needs its interpreter: cmd.exe from the system folder (not %ComSpec%, which
// anyone can point elsewhere), with /s so that cmd takes everything between the
// first and the last quotation mark as the command, blanks and all.
StartCommand ProgramCommand(const std::wstring& program, const std::wstring& tail) {
  const std::wstring quoted = L"\"" + program + L"\"" + tail;
  if (!EndsWithIgnoreCase(program, L".cmd") && !EndsWithIgnoreCase(program, L".bat")) return {program, quoted};
  const std::wstring interpreter = win::SystemFolder() + L"cmd.exe";
  return {interpreter, L"\"" + interpreter + L"\" /s /c \"" + quoted + L"\""};
}

// A new console of normal priority, no inherited handles, only the show mode set.
win::UniqueHandle StartProcess(const StartCommand& command, int showMode, const std::wstring& folder) {
  STARTUPINFOW startup{sizeof(startup)};
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showMode);
  PROCESS_INFORMATION info{};
  std::wstring commandLine = command.commandLine;  // CreateProcessW may write into it
  if (!::CreateProcessW(command.application.empty() ? nullptr : command.application.c_str(), commandLine.data(),
                        nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return {};
  win::UniqueHandle thread(info.hThread);
  return win::UniqueHandle(info.hProcess);
}

// The folder part of `path` without its trailing backslash, except for a drive
// root, which needs it ("C:" alone would mean the drive's current folder).
std::wstring WorkingFolderOf(const std::wstring& path) {
  std::wstring folder = text::WithoutTrailingBackslash(text::FolderOf(path));
  if (!folder.empty() && folder.back() == L':') folder += L'\\';
  return folder;
}

DWORD ExitCodeOf(HANDLE process) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(process, &code))
    throw CreateNSIError(L"GetExitCodeProcess: " + win::SystemErrorText(::GetLastError()));
  return code;
}

// ---------------------------------------------------------------------------
// WriteReleaseLevel

class UniqueVariant {
 public:
  UniqueVariant() noexcept { ::VariantInit(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { ::VariantClear(&value_); }
  VARIANT* get() noexcept { return &value_; }

 private:
  VARIANT value_;
};

class UniqueBstr {
 public:
  explicit UniqueBstr(const std::wstring& text)
      : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  UniqueBstr() noexcept = default;
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { ::SysFreeString(value_); }
  BSTR get() const noexcept { return value_; }
  BSTR* put() noexcept {
    ::SysFreeString(value_);
    value_ = nullptr;
    return &value_;
  }

 private:
  BSTR value_ = nullptr;
};

// Errors of the checks below; WriteReleaseLevel puts its prefix in front.
[[noreturn]] void Fail(const std::wstring& message) { throw CreateNSIError(message); }

void CheckCom(HRESULT hr, const wchar_t* what) {
  if (FAILED(hr)) Fail(std::wstring(what) + L": " + win::SystemErrorText(static_cast<DWORD>(hr)));
}

// The system's XML DOM, found through the registry by its ProgID: MSXML 6 where
// it is installed, else MSXML 3, which every supported Windows has.
win::ComPtr<IXMLDOMDocument> CreateDomDocument() {
  HRESULT hr = E_FAIL;
  for (const wchar_t* progId : {L"Msxml2.DOMDocument.6.0", L"Msxml2.DOMDocument.3.0"}) {
    CLSID clsid;
    hr = ::CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) continue;
    win::ComPtr<IXMLDOMDocument> document;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument, document.put_void());
    if (SUCCEEDED(hr)) return document;
  }
  CheckCom(hr, L"cannot create the XML document object");
  return {};
}

std::wstring ParseErrorText(IXMLDOMDocument* document) {
  win::ComPtr<IXMLDOMParseError> error;
  UniqueBstr reason;
  if (SUCCEEDED(document->get_parseError(error.put())) && error && SUCCEEDED(error->get_reason(reason.put())) &&
      reason.get() && *reason.get())
    return text::Trim(std::wstring_view(reason.get()));
  // Wine's parser gives no reason at all.
  return L"the file is not well-formed XML";
}

// Loads the very bytes that will be edited, not the file again.
void LoadBytes(IXMLDOMDocument* document, const std::string& bytes) {
  UniqueVariant source;
  SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (!array) Fail(L"out of memory");
  V_VT(source.get()) = VT_ARRAY | VT_UI1;
  V_ARRAY(source.get()) = array;  // owned by the variant from here on
  if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), static_cast<char*>(array->pvData));
  VARIANT_BOOL loaded = VARIANT_FALSE;
  const HRESULT hr = document->load(*source.get(), &loaded);
  if (FAILED(hr) || loaded != VARIANT_TRUE) Fail(ParseErrorText(document));
}

win::ComPtr<IXMLDOMNode> SelectNode(IXMLDOMNode* from, const wchar_t* path) {
  win::ComPtr<IXMLDOMNode> node;
  UniqueBstr query(path);
  CheckCom(from->selectSingleNode(query.get(), node.put()), L"selectSingleNode");
  return node;  // empty when nothing matched (S_FALSE)
}

// A missing Version counts as 0; one whose typed value is no integer as unknown.
void CheckVersion(IXMLDOMNode* root) {
  const win::ComPtr<IXMLDOMNode> version = SelectNode(root, L"Version");
  LONG number = 0;
  if (version) {
    UniqueVariant value;
    if (FAILED(version->get_nodeTypedValue(value.get())) ||
        FAILED(::VariantChangeType(value.get(), value.get(), 0, VT_I4)))
      Fail(L"unknown release file version");
    number = V_I4(value.get());
  }
  if (number != 1) Fail(L"unknown release file version");
}

// What the updater relies on, as the system's XML parser reads the file: ROOT,
// Version 1 and a Level element.
void CheckReleaseInfo(const std::string& bytes) {
  const win::ComPtr<IXMLDOMDocument> document = CreateDomDocument();
  CheckCom(document->put_async(VARIANT_FALSE), L"put_async");
  document->put_validateOnParse(VARIANT_FALSE);
  document->put_resolveExternals(VARIANT_FALSE);
  LoadBytes(document.get(), bytes);
  const win::ComPtr<IXMLDOMNode> root = SelectNode(document.get(), L"/ROOT");
  if (!root) Fail(L"the document has no ROOT element");
  CheckVersion(root.get());
  if (!SelectNode(root.get(), L"Level")) Fail(L"ROOT has no Level element");
}

std::string ReadWholeFile(const std::wstring& path) {
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Fail(FileMessage(L"Cannot open file", path, ::GetLastError()));
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 * 1024 * 1024)
    Fail(FileMessage(L"Cannot read file", path, ::GetLastError()));
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size()))
    Fail(FileMessage(L"Cannot read file", path, ::GetLastError()));
  return bytes;
}

// Replaces the file as a whole, keeping its attributes; a failure leaves it as it was.
void SaveWholeFile(const std::wstring& path, const std::string& bytes) {
  if (const DWORD error = files::ReplaceabilityError(path)) Fail(FileMessage(L"Cannot create file", path, error));
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  files::ReplacementFile file(path);
  if (!file) Fail(FileMessage(L"Cannot create file", path, file.error()));
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    Fail(FileMessage(L"Cannot write file", path, ::GetLastError()));
  if (const DWORD error = file.Commit(attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : attributes))
    Fail(FileMessage(L"Cannot create file", path, error));
}

void ReplaceLevel(const std::wstring& path, const std::wstring& level) {
  const std::string original = ReadWholeFile(path);
  CheckReleaseInfo(original);
  std::string updated;
  try {
    updated = releaseinfo::ReplaceLevelText(original, win::ToUtf8(level));
  } catch (const releaseinfo::FormatError& e) {
    Fail(win::FromUtf8(e.what()));
  }
  SaveWholeFile(path, updated);
}

}  // namespace

void EnsureFolder(const std::wstring& Folder) {
  if (!IsFolder(Folder)) ::CreateDirectoryW(Folder.c_str(), nullptr);
}

void ListReleaseFolders(const std::wstring& Folder, std::vector<std::wstring>& List) {
  ForEachEntry(Folder, [&](const WIN32_FIND_DATAW& entry) {
    if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) ||
        !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || std::wstring_view(entry.cFileName) == L"WithOutAnswer")
      return;
    List.push_back(Folder + entry.cFileName);
  });
}

void WriteReleaseLevel(const std::wstring& Folder, const std::wstring& Level) {
  const win::ComScope com(COINIT_APARTMENTTHREADED);
  const std::wstring path = Folder + L"ReleaseInfo";
  if (!IsFile(path)) throw CreateNSIError(L"Release info file does not exist");
  try {
    ReplaceLevel(path, Level);
  } catch (const std::exception& e) {
    throw CreateNSIError(L"Cannot get release information, error: " + win::FromUtf8(e.what()));
  }
}

DWORD RunAndWait(const std::wstring& Path, const std::wstring& Params, int ShowMode) {
  const std::wstring cannotStart = L"не смог создать процесс: " + Path;
  if (Path.size() + 1 + Params.size() > kRunAndWaitCommandLimit) throw CreateNSIError(cannotStart);
  const win::UniqueHandle process = StartProcess(ProgramCommand(Path, L" " + Params), ShowMode, WorkingFolderOf(Path));
  if (!process) throw CreateNSIError(cannotStart);
  while (::WaitForSingleObject(process.get(), 100) == WAIT_TIMEOUT) {
  }
  return ExitCodeOf(process.get());
}

void CopyFolderTree(const std::wstring& Source, const std::wstring& Target) {
  if (!IsFolder(Target)) ForceFolders(Target);
  ForEachEntry(Source, [&](const WIN32_FIND_DATAW& entry) {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      ::CopyFileW(Join(Source, entry.cFileName).c_str(), Join(Target, entry.cFileName).c_str(), FALSE);
  });
  ForEachEntry(Source, [&](const WIN32_FIND_DATAW& entry) {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
      CopyFolderTree(Join(Source, entry.cFileName), Join(Target, entry.cFileName));
  });
}

bool CopyOneFile(const std::wstring& Source, const std::wstring& Target) {
  win::UniqueFile source(::CreateFileW(Source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source) throw CreateNSIError(FileMessage(L"Cannot open file", Source, ::GetLastError()));
  if (const DWORD error = files::ReplaceabilityError(Target))
    throw CreateNSIError(FileMessage(L"Cannot create file", Target, error));
  files::ReplacementFile target(Target);
  if (!target) throw CreateNSIError(FileMessage(L"Cannot create file", Target, target.error()));
  if (!CopyContents(source.get(), target.get())) return false;  // the temporary file goes, the target stays
  if (const DWORD error = target.Commit()) throw CreateNSIError(FileMessage(L"Cannot create file", Target, error));
  return true;
}

int RunProgram(const std::wstring& CommandLine, int ShowMode, bool Wait) {
  if (CommandLine.size() > kRunProgramCommandLimit) return -1;
  const StartCommand command = IsFile(CommandLine) ? ProgramCommand(CommandLine, L"") : StartCommand{L"", CommandLine};
  const win::UniqueHandle process = StartProcess(command, ShowMode, L"");
  if (!process) return -1;
  if (!Wait) return 0;
  ::WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 0;
  if (!::GetExitCodeProcess(process.get(), &code)) return -1;
  return static_cast<int>(code);
}

CopyReadFn SetCopyReadForTesting(CopyReadFn replacement) { return std::exchange(g_copyRead, replacement); }

void SetReadOnly(const std::wstring& Path, bool ReadOnly) {
  const DWORD attributes = ::GetFileAttributesW(Path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  const DWORD updated = ReadOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
  // An empty set would read as "change nothing" to the file system.
  ::SetFileAttributesW(Path.c_str(), updated ? updated : FILE_ATTRIBUTE_NORMAL);
}
