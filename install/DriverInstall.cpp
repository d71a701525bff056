#include "install/DriverInstall.h"

#include "common/SH_Common_Proc.h"
#include "install/CreateNSI.h"

#include <windows.h>

namespace {

constexpr wchar_t kDriverFolder[] = L"FTDIDriverInstall";

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void InstallDriver(IInstallerView& view, const std::wstring& source, const std::wstring& target) {
  if (!view.DriverOptionChecked()) return;
  if (!view.Confirm(L"Подключите интерфейсный блок и нажмите \"Yes\"?")) return;
  if (IsFolder(source + kDriverFolder)) ShellCopyFolder(source + kDriverFolder, target + kDriverFolder);
  view.AddLine(L"Началась установка драйверов устройства...");
  // The wait below lets no message run: without painting now the line would
  // not show until the driver installer has ended.
  view.RepaintList();
  RunProgram(target + kDriverFolder + L"\\FTDIDriverInstall.exe", SW_HIDE, true);
  view.AddLine(L"Установка драйверов устройства завершена");
}
