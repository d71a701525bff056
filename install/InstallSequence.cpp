#include "install/InstallSequence.h"

#include "common/Handles.h"
#include "common/SH_Common_Const.h"
#include "common/SH_Common_Proc.h"
#include "common/TextUtil.h"
#include "common/WinText.h"
#include "install/CreateNSI.h"
#include "install/DatabaseRuntime.h"
#include "install/DriverInstall.h"
#include "install/EngineError.h"
#include "install/Fonts.h"
#include "install/InstallEngine.h"
#include "install/ReleaseChoice.h"
#include "install/SettingsFiles.h"
#include "install/Shortcut.h"
#include "resources/resource.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// T: the text of the path field without blanks (codes up to 32) at its ends.
// The path page has made it end in a backslash; every target path is T
// followed directly by a relative name.
std::wstring TargetFolder(const IInstallerView& view) {
  std::wstring target = text::Trim(view.TargetText());
  if (!target.empty()) target = text::WithTrailingBackslash(target);
  return target;
}

// While the files are deployed the window refuses to close and shows the
// hourglass; however that phase ends (a stop, an error on its way to the error
// display), the window may be closed again and the cursor is normal before
// anything is shown.
class BusyPhase {
 public:
  explicit BusyPhase(IInstallerView& view) : view_(view) {
    view_.SetCanClose(false);
    view_.SetBusyCursor(true);
  }
  BusyPhase(const BusyPhase&) = delete;
  BusyPhase& operator=(const BusyPhase&) = delete;
  ~BusyPhase() { End(); }
  void End() noexcept {
    if (!active_) return;
    active_ = false;
    try {
      view_.SetCanClose(true);
      view_.SetBusyCursor(false);
    } catch (...) {
      // Nothing may escape while an error is already on its way.
    }
  }

 private:
  IInstallerView& view_;
  bool active_ = true;
};

// The target folder, when it went missing after the path page (one level).
bool MakeTargetFolder(IInstallerView& view, const std::wstring& target) {
  if (IsFolder(target)) return true;
  if (!::CreateDirectoryW(target.c_str(), nullptr)) {
    const std::wstring message = L"Ошибка при создании каталога!";
    view.ShowError(message);
    view.AddLine(message);
    return false;
  }
  view.AddLine(L"Каталог создан...");
  view.ProcessMessages();
  return true;
}

// The settings folder, under its own progress line.
void SettingsFolderStep(IInstallerView& view, const std::wstring& target) {
  view.ProcessMessages();
  const std::wstring line = L"Создание настроечных файлов....";
  const int index = view.AddLine(line);
  view.ProcessMessages();
  EnsureFolder(target + SettingsFolder);
  view.ChangeLine(index, line + L"Завершено");
}

// Settings folder, database and runtime, lastnum.dta and btooth.ini, with the
// window refusing to close. False when the installation stops.
bool DeployFiles(IInstallerView& view, const std::wstring& source, const std::wstring& target) {
  BusyPhase busy(view);
  SettingsFolderStep(view, target);
  if (!DeployDatabaseRuntime(view, source, target, view.RuntimeVariant())) return false;
  WriteLastNumber(target);
  if (view.SiblingProduct()) WriteSiblingSettings(target);
  busy.End();
  return true;
}

// The fonts: nothing that goes wrong with them stops the installation.
void FontStep(IInstallerView& view, const InstallEnvironment& environment) {
  try {
    InstallFonts(view, environment.sourceFolder + L"fonts\\", environment.fontsFolder);
  } catch (...) {
  }
}

// The backup releases and the updater's tree.
void CopyBackupAndUpdater(const IInstallerView& view, const std::wstring& source, const std::wstring& target) {
  EnsureFolder(target + L"backup\\");
  CopyFolderTree(source + L"backup", target + L"backup");
  // The updater's tree goes into the target folder itself.
  CopyFolderTree(source + L"Updater", TargetFolder(view));
  MakeUpdaterFilesWritable(target);
}

// The list's own order: case-insensitive in the user's locale.
void SortLikeTheList(std::vector<std::wstring>& folders) {
  std::stable_sort(folders.begin(), folders.end(), [](const std::wstring& a, const std::wstring& b) {
    return ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                             b.c_str(), static_cast<int>(b.size()), nullptr, nullptr, 0) == CSTR_LESS_THAN;
  });
}

// The newest release under backup\ (see release::ChooseRelease).
std::wstring ChooseReleaseFolder(const std::wstring& target) {
  std::vector<std::wstring> folders;
  ListReleaseFolders(target + L"backup\\", folders);
  SortLikeTheList(folders);
  return folders[release::ChooseRelease(folders)];
}

// The release's Install.cmd runs with its own folder as the current folder,
// and the target folder is the current folder afterwards, also when the script
// cannot start.
void RunReleaseScript(const std::wstring& release, const std::wstring& target) {
  const std::wstring script = release + L"\\Install.cmd";
  // RunAndWait starts scripts through cmd.exe, which starts even when the
  // script is missing and only then fails; the release must not be recorded
  // as installed when its script never ran, so this is the failure to start.
  if (!IsFile(script)) throw EngineError(L"не смог создать процесс: " + script);
  const win::ScopeExit backToTarget([&] { ::SetCurrentDirectoryW(target.c_str()); });
  ::SetCurrentDirectoryW(release.c_str());
  RunAndWait(script, L"", SW_HIDE);
}

// The newest release's script, then its level in ReleaseInfo.
void InstallNewestRelease(const std::wstring& target) {
  const std::wstring release = ChooseReleaseFolder(target);
  RunReleaseScript(release, target);
  WriteReleaseLevel(target, release::ReleaseLevel(release));
}

// The suite's shortcut on the desktop, named and described from the string table.
void CreateSuiteShortcut(const std::wstring& target) {
  const HINSTANCE program = ::GetModuleHandleW(nullptr);
  const std::wstring product = LoadResourceText(program, IDS_PRODUCT_NAME);
  const std::wstring description = LoadResourceText(program, IDS_DESCRIPTION) + L" \"" + product + L"\"";
  std::wstring linkPath;
  CreateShortcut(target + LoadResourceText(program, IDS_LAUNCHER), kShortcutDesktop, L"", L"", L"", description,
                 product, linkPath);
}

// The end: the exit button, then the font-size page or the question whether to leave.
void Finish(IInstallerView& view, const InstallEnvironment& environment) {
  view.EnableExit();
  if (environment.isSmallFonts()) {
    view.ShowPage(WizardPage::tsChangeFontSize);
    return;
  }
  if (view.Confirm(L"Установка завершена. Выйти из программы установки?")) view.Close();
}

}  // namespace

InstallEnvironment ProgramEnvironment() {
  return {text::FolderOf(win::ModuleFileName()), GetWindowsFolder() + L"fonts\\", [] { return IsSmallFonts(); }};
}

void RunInstallSequence(IInstallerView& view, const InstallEnvironment& environment) {
  const std::wstring target = TargetFolder(view);
  view.ClearLines();
  view.ShowPage(WizardPage::tsProgressInstall);
  view.ProcessMessages();
  const std::wstring& source = environment.sourceFolder;
  view.SetSourceFolder(source);
  if (!MakeTargetFolder(view, target)) return;
  WriteSuiteSettings(target);
  if (!DeployFiles(view, source, target)) return;
  FontStep(view, environment);
  InstallDriver(view, source, target);
  CopyBackupAndUpdater(view, source, target);
  InstallNewestRelease(target);
  CreateSuiteShortcut(target);
  Finish(view, environment);
}

void RunInstallSequence(IInstallerView& view) { RunInstallSequence(view, ProgramEnvironment()); }
