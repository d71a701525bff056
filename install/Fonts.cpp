#include "install/Fonts.h"

#include "common/Handles.h"
#include "common/WinText.h"
#include "install/CreateNSI.h"
#include "install/EngineError.h"
#include "install/FontNameTable.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

FontResourceInfoFn g_fontResourceInfoForTesting = nullptr;

// The query type of GetFontResourceInfoW that gives the font's description.
constexpr DWORD kQueryDescription = 1;
// A description longer than this is no face name (Windows' own limit is 64).
constexpr DWORD kMaxDescriptionBytes = 64 * 1024;

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

FontResourceInfoFn LookUpFontResourceInfo() {
  if (g_fontResourceInfoForTesting) return g_fontResourceInfoForTesting;
  // gdi32 is linked, so it is loaded; the function is exported but declared
  // in no header.
  const HMODULE gdi = ::GetModuleHandleW(L"gdi32.dll");
  if (!gdi) return nullptr;
  return reinterpret_cast<FontResourceInfoFn>(reinterpret_cast<void*>(::GetProcAddress(gdi, "GetFontResourceInfoW")));
}

// A font added to GDI's table for the length of a query, removed again after.
class TemporaryFontResource {
 public:
  explicit TemporaryFontResource(const std::wstring& path)
      : path_(path), added_(::AddFontResourceW(path.c_str()) != 0) {}
  TemporaryFontResource(const TemporaryFontResource&) = delete;
  TemporaryFontResource& operator=(const TemporaryFontResource&) = delete;
  ~TemporaryFontResource() {
    if (added_) ::RemoveFontResourceW(path_.c_str());
  }
  explicit operator bool() const noexcept { return added_; }

 private:
  std::wstring path_;
  bool added_;
};

std::wstring FaceNameFromGdi(const std::wstring& path) {
  const FontResourceInfoFn query = LookUpFontResourceInfo();
  if (!query) return {};
  const TemporaryFontResource font(path);
  if (!font) return {};
  std::vector<wchar_t> name(path.begin(), path.end());  // the function wants a writable, terminated path
  name.push_back(L'\0');
  DWORD size = 0;
  if (!query(name.data(), &size, nullptr, kQueryDescription) || size == 0 || size > kMaxDescriptionBytes) return {};
  std::vector<wchar_t> description(size / sizeof(wchar_t) + 1, L'\0');
  if (!query(name.data(), &size, description.data(), kQueryDescription)) return {};
  description.back() = L'\0';  // whatever GDI wrote, the text ends inside the buffer
  return std::wstring(description.data());
}

// The font file read in place, a block at a time: only its headers and its
// name table are ever asked for.
class FileByteSource final : public fontname::ByteSource {
 public:
  explicit FileByteSource(const std::wstring& path)
      : file_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
    LARGE_INTEGER size{};
    if (file_ && ::GetFileSizeEx(file_.get(), &size)) size_ = static_cast<uint64_t>(size.QuadPart);
  }
  explicit operator bool() const noexcept { return static_cast<bool>(file_); }
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, size_t size, uint8_t* out) const override {
    if (offset > size_ || size > size_ - offset) return false;
    while (size > 0) {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1 << 20));
      DWORD read = 0;
      if (!::ReadFile(file_.get(), out, want, &read, &at) || read == 0) return false;
      out += read;
      offset += read;
      size -= read;
    }
    return true;
  }

 private:
  win::UniqueFile file_;
  uint64_t size_ = 0;
};

std::wstring FaceNameFromFile(const std::wstring& path) {
  const FileByteSource source(path);
  return source ? fontname::FaceName(source) : std::wstring();
}

// Writes the font's value into the machine-wide list and flushes it at once, so
// that the entry is on disk before the fonts are announced.
void RegisterFont(const std::wstring& face, const std::wstring& fileName) {
  const std::wstring valueName = face + L" (TrueType)";
  // KEY_WOW64_64KEY: the 32-bit installer on 64-bit Windows must reach the
  // list the system reads, not a redirected copy; 32-bit Windows ignores it.
  win::UniqueKey key;
  LSTATUS status = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, key.put());
  if (status == ERROR_SUCCESS)
    status = ::RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(fileName.c_str()),
                              static_cast<DWORD>((fileName.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS)
    throw EngineError(L"Failed to set data for '" + valueName + L"'. " +
                      win::SystemErrorText(static_cast<DWORD>(status)));
  ::RegFlushKey(key.get());
}

// Every top-level window learns of the new font and of its removal from the
// session's table again: the file is in the fonts folder and registered, and
// programs started from now on load it from there.
void AnnounceFont(const std::wstring& path) {
  ::AddFontResourceW(path.c_str());
  ::SendMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
  ::RemoveFontResourceW(path.c_str());
  ::SendMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

}  // namespace

FontResourceInfoFn SetFontResourceInfoForTesting(FontResourceInfoFn replacement) {
  return std::exchange(g_fontResourceInfoForTesting, replacement);
}

std::wstring GetFontFaceName(const std::wstring& path) {
  if (std::wstring fromGdi = FaceNameFromGdi(path); !fromGdi.empty()) return fromGdi;
  // Wine's GetFontResourceInfoW fails for every query, and Windows' fails for
  // a file it cannot load: the file's own name table is what GDI reads anyway.
  return FaceNameFromFile(path);
}

void InstallFont(IInstallerView& view, const std::wstring& sourceFolder, const std::wstring& fontsFolder,
                 const std::wstring& name) {
  const std::wstring source = sourceFolder + name;
  const std::wstring target = fontsFolder + name;
  if (Exists(target)) return;
  const std::wstring face = GetFontFaceName(source);
  if (face.empty() && Exists(source)) {
    view.AddLine(L"Шрифт " + name + L" не установлен: не удалось прочитать имя шрифта");
    return;
  }
  CopyOneFile(source, target);  // raises for a missing source: the step ends here
  RegisterFont(face, name);
  AnnounceFont(target);
  view.AddLine(L"Шрифт <" + face + L"> уcтановлен");  // "уcтановлен" with a Latin c, as the suite has always written it
}

void InstallFonts(IInstallerView& view, const std::wstring& sourceFolder, const std::wstring& fontsFolder) {
  for (const wchar_t* name : kFontFiles) InstallFont(view, sourceFolder, fontsFolder, name);
}
