// Shows the main window on one page in a program of its own, for pictures of
// the pages a walk through Install.exe cannot reach without an installation:
//
//   page_shots tsProgressInstall   the progress page as a complete run leaves
//                                  it (lines written through the window's
//                                  interface for the installation sequence)
//   page_shots tsChangeFontSize    the font-size page
//
// The window is made as Install.exe makes it; closing it ends the program.
#include "common/ComPtr.h"
#include "common/CommonControls.h"
#include "common/SystemLibrary.h"
#include "toolkit/Application.h"
#include "ui/ScreenMonitorManager.h"
#include "wizard/Main.h"

#include <string>

namespace {

void WriteFinishedRun(IInstallerView& view) {
  view.ClearLines();
  view.AddLine(L"Создание настроечных файлов....Завершено");
  view.AddLine(L"Каталог <DTAfb> создан...");
  for (const wchar_t* name :
       {L"S12.FDB", L"fbclient.dll", L"fbembed.dll", L"firebird.msg", L"ib_util.dll", L"icudt30.dll",
        L"icuin30.dll", L"icuuc30.dll", L"msvcp80.dll", L"msvcr80.dll", L"Microsoft.VC80.CRT.manifest",
        L"firebird.conf", L"aliases.conf", L"fbintl.conf", L"fbintl.dll", L"fbudf.dll", L"ib_udf.dll",
        L"fbudf.sql", L"ib_udf.sql", L"ib_udf2.sql", L"Ulmara.Dll", L"Tendis.Dll", L"Vorkal.Dll", L"Feblin.Dll"}) {
    const int line = view.AddLine(std::wstring(L"Копирование файла ") + name + L"....");
    view.ChangeLine(line, view.Line(line) + L"Завершено");
  }
  view.AddLine(L"Началась установка драйверов устройства...");
  view.AddLine(L"Установка драйверов устройства завершена");
  view.EnableExit();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  win::RestrictDllSearchToSystemFolder();
  win::ComScope com(COINIT_APARTMENTTHREADED);
  win::CommonControls();
  CreateMyScreen();
  SelectMonitor(0);
  tk::Application& application = tk::Application::Instance();
  application.SetTitle(L"Установка комплекса \"Севрон-Rezezi\"");
  application.Initialize(instance);
  TFMain form;
  FMain = &form;
  form.Create(instance, application.handle());
  application.SetMainWindow(form.handle());
  const std::wstring page = commandLine ? commandLine : L"";
  if (page == L"tsProgressInstall") {
    form.ShowPage(WizardPage::tsProgressInstall);
    WriteFinishedRun(form);
  } else if (page == L"tsChangeFontSize") {
    form.EnableExit();
    form.ShowPage(WizardPage::tsChangeFontSize);
  }
  form.Show();
  return application.Run();
}
