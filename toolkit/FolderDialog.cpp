#include "toolkit/FolderDialog.h"

#include "toolkit/Application.h"

#include <shlobj.h>

#include <memory>
#include <utility>

namespace tk {
namespace {

ScopedBrowseForFolder::Answer& Replacement() {
  static ScopedBrowseForFolder::Answer answer;
  return answer;
}

struct FreeItemList {
  void operator()(ITEMIDLIST* list) const noexcept { ::CoTaskMemFree(list); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, FreeItemList>;

// The dialog's modal loop disables only its owner. When that is the
// application window, the main window would stay open to clicks ("Далее"
// while the dialog is still up), so it is disabled for the time as well.
class MainWindowDisabled {
 public:
  explicit MainWindowDisabled(HWND owner) {
    const HWND main = Application::Instance().MainWindow();
    if (main && main != owner && ::IsWindowEnabled(main)) {
      window_ = main;
      ::EnableWindow(window_, FALSE);
    }
  }
  MainWindowDisabled(const MainWindowDisabled&) = delete;
  MainWindowDisabled& operator=(const MainWindowDisabled&) = delete;
  ~MainWindowDisabled() {
    if (!window_) return;
    ::EnableWindow(window_, TRUE);
    // The closing dialog activated its owner while the main window could not
    // take it; the main window gets it back.
    const HWND active = ::GetActiveWindow();
    if (!active || active == Application::Instance().handle()) ::SetActiveWindow(window_);
  }

 private:
  HWND window_ = nullptr;
};

std::optional<std::wstring> ShowSystemDialog(HWND owner, const std::wstring& instruction) {
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;  // the desktop
  info.lpszTitle = instruction.c_str();
  info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON | BIF_RETURNONLYFSDIRS;
  MainWindowDisabled disabled(owner);
  const UniqueItemList chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return std::nullopt;
  wchar_t path[MAX_PATH];
  if (!::SHGetPathFromIDListW(chosen.get(), path)) return std::nullopt;
  return std::wstring(path);
}

}  // namespace

std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& instruction) {
  if (Replacement()) return Replacement()(owner, instruction);
  return ShowSystemDialog(owner, instruction);
}

ScopedBrowseForFolder::ScopedBrowseForFolder(Answer answer)
    : previous_(std::exchange(Replacement(), std::move(answer))) {}

ScopedBrowseForFolder::~ScopedBrowseForFolder() { Replacement() = std::move(previous_); }

}  // namespace tk
