// The system's folder dialog as the installer opens it: its instruction, the
// main window kept from input meanwhile, a chosen folder, and cancelling.
#include "common/ComPtr.h"
#include "common/TextUtil.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"
#include "toolkit/Application.h"
#include "toolkit/FolderDialog.h"
#include "toolkit/Form.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <thread>

using namespace testsupport;

namespace {

// The text of the selected item of the dialog's folder tree.
std::wstring SelectedTreeItem(HWND dialog) {
  for (HWND child : uidriver::Descendants(dialog)) {
    if (uidriver::ClassOf(child) != L"SysTreeView32") continue;
    const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(child, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return {};
    wchar_t buffer[MAX_PATH] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = MAX_PATH;
    ::SendMessageW(child, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return buffer;
  }
  return {};
}

struct Seen {
  uidriver::Box box;
  bool mainEnabled = true;
};

std::optional<std::wstring> Browse(HWND owner, const std::wstring& choose, Seen& seen) {
  std::thread user([&] {
    seen.box = uidriver::WaitForBox(::GetCurrentProcessId());
    if (!seen.box.window) return;
    seen.mainEnabled = ::IsWindowEnabled(tk::Application::Instance().MainWindow()) != FALSE;
    if (choose.empty()) {
      ::PostMessageW(seen.box.window, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    // The user picks the folder in the tree; the dialog may still be filling
    // it, so the choice is made until the tree shows it selected.
    uidriver::WaitUntil([&] {
      ::SendMessageW(seen.box.window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(choose.c_str()));
      return SelectedTreeItem(seen.box.window) == text::NameOf(choose);
    });
    ::PostMessageW(seen.box.window, WM_COMMAND, IDOK, 0);
  });
  auto chosen = tk::BrowseForFolder(owner, L"Выберете путь для установки программ");
  user.join();
  return chosen;
}

}  // namespace

TEST(ToolkitFolderDialog, ChoosingAndCancelling) {
  win::ComScope com(COINIT_APARTMENTTHREADED);
  TempFolder temp(L"выбор");
  MakeFolders(temp / L"Новая папка");
  tk::Form owner;  // stands in for the application window
  owner.CreateForm(nullptr, L"приложение", 100, 50, WS_OVERLAPPEDWINDOW);
  tk::Form main;
  main.CreateForm(owner.handle(), L"главное", 300, 200, WS_OVERLAPPEDWINDOW);
  main.Show();
  tk::Application::Instance().SetMainWindow(main.handle());

  Seen seen;
  const auto chosen = Browse(owner.handle(), temp / L"Новая папка", seen);
  ASSERT_TRUE(seen.box.window);
  EXPECT_NE(std::find(seen.box.texts.begin(), seen.box.texts.end(), L"Выберете путь для установки программ"),
            seen.box.texts.end());
  EXPECT_FALSE(seen.mainEnabled);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, temp / L"Новая папка");  // no trailing backslash
  EXPECT_TRUE(::IsWindowEnabled(main.handle()));

  Seen cancelled;
  EXPECT_FALSE(Browse(owner.handle(), L"", cancelled).has_value());
  EXPECT_TRUE(cancelled.box.window);
  EXPECT_TRUE(::IsWindowEnabled(main.handle()));
  tk::Application::Instance().SetMainWindow(nullptr);
}
