#include "common/SH_Common_Var.h"

#include <vector>

#include "common/Handles.h"
#include "common/SH_Common_Const.h"
#include "common/SettingsValues.h"
#include "common/TextUtil.h"
#include "common/WinIniFile.h"
#include "common/WinText.h"

std::wstring ProgramFolder;
TSettings SuiteSettings;
std::wstring LanguageCode = L"RUS";
std::wstring LanguageFile;
std::wstring CustomerName;
std::wstring AtesInFolder;
std::wstring AtesOutFolder;
HMODULE ResourceModule = nullptr;
TStartXmlObject StartXmlObject;

namespace {

const wchar_t kWindowsVersionKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// A text value of an open key; empty when it is missing or not text.
std::wstring TextValue(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return {};
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  // The stored text need not end in a zero; it ends at the first one if it does.
  std::wstring value(buffer.data(), size / sizeof(wchar_t));
  return value.substr(0, value.find(L'\0'));
}

}  // namespace

std::wstring RegisteredCustomerName() {
  win::UniqueKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWindowsVersionKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::wstring name = TextValue(key.get(), L"RegisteredOrganization");
  if (text::Trim(std::wstring_view(name)).empty()) name = TextValue(key.get(), L"RegisteredOwner");
  return name;
}

void ReadSuiteSettings() {
  settings::SetSuiteNumberFormat();
  const ini::PrivateProfile file(ProgramFolder + SettingsFolder + L"vavova.ini");
  settings::ReadSettings(SuiteSettings, file, RegisteredCustomerName());
}

void InitSuiteSettingsFor(const std::wstring& programFolder) {
  ProgramFolder = programFolder;
  ReadSuiteSettings();
  LanguageFile.clear();
  LanguageCode = L"RUS";
  if (SuiteSettings.LanguageSetting == L"ENG") {
    LanguageFile = ProgramFolder + SettingsFolder + L"EngView.lng";
    LanguageCode = L"ENG";
  }
  CustomerName = text::Trim(std::wstring_view(SuiteSettings.Customer));
  AtesInFolder = ProgramFolder + L"AtesIn\\";
  AtesOutFolder = ProgramFolder + L"AtesOut\\";
}

void InitSuiteSettings() { InitSuiteSettingsFor(text::FolderOf(win::ModuleFileName())); }
