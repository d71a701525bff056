#include "app/Startup.h"

#include "common/CommonStartup.h"
#include "common/ComPtr.h"
#include "common/CommonControls.h"
#include "common/SystemLibrary.h"
#include "common/TextUtil.h"
#include "common/WinText.h"
#include "toolkit/Application.h"
#include "ui/ScreenMonitorManager.h"
#include "ui/WaitRun.h"
#include "wizard/Main.h"

#include <memory>

namespace app {

const wchar_t kApplicationTitle[] = L"Установка комплекса \"Севрон-Rezezi\"";

void SetCurrentFolderToProgramFolder() {
  const std::wstring folder = text::FolderOf(win::ModuleFileName());
  if (!folder.empty()) ::SetCurrentDirectoryW(folder.c_str());
}

int RunInstaller(HINSTANCE instance) {
  // Before any library is loaded on demand: never from the distribution folder.
  win::RestrictDllSearchToSystemFolder();
  win::PreloadLibrariesSystemLibrariesLoadByName();

  // The thread that runs the windows is a COM apartment for the whole run
  // (shell links, the folder dialog, XML, imaging).
  win::ComScope com(COINIT_APARTMENTTHREADED);
  win::CommonControls();

  // 1. The common units start: suite settings, the global log, the code texts.
  StartCommonUnits();

  // 2. The program's folder becomes the current folder.
  SetCurrentFolderToProgramFolder();

  // 3. The screen manager selects monitor 0.
  CreateMyScreen();
  SelectMonitor(0);

  // 4. The application object and its title.
  tk::Application& application = tk::Application::Instance();
  application.SetTitle(kApplicationTitle);
  application.Initialize(instance);

  // 5. The main window.
  auto mainWindow = std::make_unique<TFMain>();
  FMain = mainWindow.get();
  try {
    mainWindow->Create(instance, application.handle());
  } catch (const std::exception& error) {
    application.ShowException(error);
  }
  application.SetMainWindow(mainWindow->handle());

  // 6. The hidden launch-wait window; it lives until the program ends.
  auto waitRun = std::make_unique<TFWaitRun>();
  try {
    waitRun->Create(application.handle());
  } catch (const std::exception& error) {
    application.ShowException(error);
  }

  // 7. The message loop.
  mainWindow->Show();
  const int exitCode = application.Run();
  FMain = nullptr;

  // The units' end code.
  StopCommonUnits();
  return exitCode;
}

}  // namespace app
