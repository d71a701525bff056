// Install.exe run as its own process and driven from the test as the user
// drives it: started (from any folder, in any working folder), its main window
// found by caption, the page's text, the target field and the progress list
// read, buttons pressed by caption. Also a sample distribution with Install.exe
// in it, the walk from the start page to the components page, the run to the
// point where it waits for the user (a box or the font-size page) and the
// desktop shortcut read back. Header-only, over UiDriver.h.
#pragma once

#include "common/ComPtr.h"
#include "common/Handles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <windows.h>

#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace installer {

inline constexpr wchar_t kMainCaption[] = L"Установка комплекса";

// Install.exe (or another program) started with its quoted path as the
// command line; terminated at the end of the test if it is still running.
class Running {
 public:
  explicit Running(const std::wstring& program, const std::wstring& workingFolder = {}) {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + program + L"\"";
    if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info))
      return;
    process_.reset(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    id_ = info.dwProcessId;
  }
  ~Running() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 99);
  }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

  bool Started() const { return id_ != 0; }
  DWORD id() const { return id_; }

  // True with the exit code once the program has ended within `timeoutMs`.
  bool Ended(DWORD* exitCode, DWORD timeoutMs = 20000) const {
    if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    ::GetExitCodeProcess(process_.get(), exitCode);
    return true;
  }

  // The visible main window ("Установка комплекса") once it is up; null when
  // none came within `timeoutMs`.
  HWND WaitForMainWindow(DWORD timeoutMs = 30000) const {
    HWND main = nullptr;
    uidriver::WaitUntil(
        [&] {
          for (HWND top : uidriver::TopLevelWindows(id_))
            if (uidriver::TextOf(top) == kMainCaption) main = top;
          return main != nullptr;
        },
        timeoutMs);
    return main;
  }

 private:
  win::UniqueHandle process_;
  DWORD id_ = 0;
};

// The visible multi-line read-only text box of the main window: the page's
// text.
inline std::wstring PageText(HWND main) {
  for (HWND edit : uidriver::VisibleChildren(main, L"Edit"))
    if (::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE) return uidriver::TextOf(edit);
  return {};
}

inline bool PageStartsWith(HWND main, const std::wstring& start) { return PageText(main).rfind(start, 0) == 0; }

inline bool WaitForPage(HWND main, const std::wstring& start, DWORD timeoutMs = 20000) {
  return uidriver::WaitUntil([&] { return PageStartsWith(main, start); }, timeoutMs);
}

// The single-line field of the target page.
inline HWND PathField(HWND main) {
  for (HWND edit : uidriver::VisibleChildren(main, L"Edit"))
    if (!(::GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE)) return edit;
  return nullptr;
}

inline void SetText(HWND window, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
}

// Presses the visible button captioned `caption`; false when there is none.
inline bool PressVisible(HWND root, const std::wstring& caption) {
  HWND button = uidriver::FindVisibleChild(root, caption);
  if (!button) return false;
  uidriver::Press(button);
  return true;
}

// A top-level window of the process, other than the two given, that shows a
// text beginning with `start` (the message window, whatever its kind).
inline HWND WaitForWindowShowing(DWORD process, const std::wstring& start, HWND except1, HWND except2,
                                 DWORD timeoutMs = 20000) {
  HWND found = nullptr;
  uidriver::WaitUntil(
      [&] {
        for (HWND top : uidriver::TopLevelWindows(process)) {
          if (top == except1 || top == except2) continue;
          for (HWND child : uidriver::Descendants(top))
            if (uidriver::TextOf(child).rfind(start, 0) == 0) {
              found = top;
              return true;
            }
        }
        return false;
      },
      timeoutMs);
  return found;
}

// The lines of a list box, read from the other process.
inline std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> lines;
  DWORD_PTR count = 0;
  ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring line(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), SMTO_ABORTIFHUNG, 5000, &copied);
    line.resize(copied);
    lines.push_back(line);
  }
  return lines;
}

// The progress list of the main window as the user sees it (the list box
// that has lines; empty before the installation starts).
inline std::vector<std::wstring> ProgressLines(HWND main) {
  for (HWND list : uidriver::Descendants(main))
    if (lstrcmpiW(uidriver::ClassOf(list).c_str(), L"ListBox") == 0) {
      DWORD_PTR count = 0;
      ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
      if (count > 0) return ListLines(list);
    }
  return {};
}

// ---------------------------------------------------------------------------
// Scenarios: a distribution, the walk through the pages, the run's end.
// In a namespace of their own, so that test files with helpers of the same
// names that use namespace installer stay unambiguous.
namespace scenario {

inline constexpr wchar_t kApplicationTitle[] = L"Установка комплекса \"Севрон-Rezezi\"";
inline constexpr wchar_t kStartPage[] = L"Добро пожаловать";
inline constexpr wchar_t kTargetPage[] = L"Пожалуйста, задайте путь";
inline constexpr wchar_t kComponentsPage[] = L" - Если у Вас есть 2-х канальный кабель";
inline constexpr wchar_t kCancelPage[] = L"Установка комплекса \"Севрон-Rezezi\" отменена!";
inline constexpr wchar_t kFontSizePage[] = L"В настройках операционной системы";
inline constexpr wchar_t kDriverWarning[] = L"Внимание!";
inline constexpr wchar_t kFinalQuestion[] = L"Установка завершена. Выйти из программы установки?";

// A sample distribution (SampleDistribution.h) in a temporary folder of its
// own, with Install.exe copied in, as a CD or a copied folder holds it.
class Distribution {
 public:
  explicit Distribution(const sample::Options& options = {}, const std::wstring& hint = L"дистрибутив")
      : folder_(hint) {
    sample::Build(source(), options);
    sample::CopyFrom(testsupport::InstallExePath(), installer());
  }
  // The folder with a trailing backslash.
  std::wstring source() const { return folder_.path() + L"\\"; }
  std::wstring installer() const { return source() + L"Install.exe"; }

 private:
  testsupport::TempFolder folder_;
};

// Install.exe driven through its pages. Every step waits for what the user
// would wait for and says what it did not find.
class Session {
 public:
  explicit Session(const std::wstring& program) : installer_(program) {}

  const Running& process() const { return installer_; }
  HWND main() const { return main_; }
  HWND application() const { return application_; }

  // The main window up on the start page.
  testing::AssertionResult Start() {
    if (!installer_.Started()) return testing::AssertionFailure() << "Install.exe did not start";
    main_ = installer_.WaitForMainWindow();
    if (!main_) return testing::AssertionFailure() << "no main window";
    application_ = ::GetWindow(main_, GW_OWNER);
    return OnPage(kStartPage);
  }

  testing::AssertionResult OnPage(const std::wstring& start, DWORD timeoutMs = 20000) const {
    if (WaitForPage(main_, start, timeoutMs)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the page does not start with \"" << testsupport::Utf8(start)
                                       << "\"; it shows \"" << testsupport::Utf8(PageText(main_)) << "\"";
  }

  testing::AssertionResult Press(const std::wstring& caption) const {
    if (PressVisible(main_, caption)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no visible button \"" << testsupport::Utf8(caption) << "\"";
  }

  // Start page, "Далее": the target page.
  testing::AssertionResult ToTargetPage() const {
    if (auto pressed = Press(L"Далее"); !pressed) return pressed;
    return OnPage(kTargetPage);
  }

  // On the target page: `target` typed into the field, "Далее", the driver
  // warning answered: the components page.
  testing::AssertionResult ToComponentsPage(const std::wstring& target) const {
    const HWND field = PathField(main_);
    if (!field) return testing::AssertionFailure() << "no target field";
    SetText(field, target);
    if (auto pressed = Press(L"Далее"); !pressed) return pressed;
    if (auto dismissed = DismissDriverWarning(); !dismissed) return dismissed;
    return OnPage(kComponentsPage);
  }

  // From the start page to the components page with `target`.
  testing::AssertionResult WalkToComponentsPage(const std::wstring& target) const {
    if (auto started = ToTargetPage(); !started) return started;
    return ToComponentsPage(target);
  }

  // The message window the components page greets the user with, closed with
  // its OK; the main window is enabled again after it.
  testing::AssertionResult DismissDriverWarning() const {
    const HWND warning = WaitForWindowShowing(installer_.id(), kDriverWarning, main_, application_);
    if (!warning) return testing::AssertionFailure() << "no driver warning";
    if (!PressVisible(warning, L"OK")) return testing::AssertionFailure() << "the driver warning has no OK";
    if (!uidriver::WaitUntil([&] { return !::IsWindow(warning) && ::IsWindowEnabled(main_); }))
      return testing::AssertionFailure() << "the driver warning stayed";
    return testing::AssertionSuccess();
  }

  // The check box "Устанавливать драйвер" clicked until it shows `install`.
  testing::AssertionResult SetDriverOption(bool install) const {
    const HWND box = uidriver::FindVisibleChild(main_, L"Устанавливать драйвер", L"Button");
    if (!box) return testing::AssertionFailure() << "no driver check box";
    const auto checked = [&] {
      DWORD_PTR state = 0;
      ::SendMessageTimeoutW(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
      return state == BST_CHECKED;
    };
    if (checked() != install) uidriver::Press(box);
    if (!uidriver::WaitUntil([&] { return checked() == install; }))
      return testing::AssertionFailure() << "the driver check box did not change";
    return testing::AssertionSuccess();
  }

  // "Начать установку", then the run until it waits for the user: the box it
  // shows (a question or an error), or an empty one when it ended on the
  // font-size page.
  uidriver::Box Install(DWORD timeoutMs = 120000) const {
    if (!PressVisible(main_, L"Начать установку")) return {};
    return WaitForBoxOrFontSizePage(timeoutMs);
  }

  // Also returns (with no box) when the main window is gone.
  uidriver::Box WaitForBoxOrFontSizePage(DWORD timeoutMs = 120000) const {
    uidriver::Box box;
    uidriver::WaitUntil(
        [&] {
          if (!::IsWindow(main_)) return true;
          if (!uidriver::TopLevelWindows(installer_.id(), L"#32770").empty()) {
            box = uidriver::WaitForBox(installer_.id(), 0);
            return box.window != nullptr;
          }
          return PageStartsWith(main_, kFontSizePage);
        },
        timeoutMs);
    return box;
  }

  // Presses `caption` in `box` and waits until the box is gone.
  testing::AssertionResult Answer(const uidriver::Box& box, const std::wstring& caption) const {
    if (!uidriver::Answer(box, caption))
      return testing::AssertionFailure() << "the box has no button \"" << testsupport::Utf8(caption) << "\"";
    if (!uidriver::WaitUntil([&] { return !::IsWindow(box.window); }))
      return testing::AssertionFailure() << "the box stayed";
    return testing::AssertionSuccess();
  }

  // The visible "Выход" of the page, and whether it can be pressed.
  testing::AssertionResult ExitEnabled() const {
    const HWND exit = uidriver::FindVisibleChild(main_, L"Выход");
    if (!exit) return testing::AssertionFailure() << "no visible \"Выход\"";
    if (!::IsWindowEnabled(exit)) return testing::AssertionFailure() << "\"Выход\" is disabled";
    return testing::AssertionSuccess();
  }

  // The program ended by itself with exit code 0.
  testing::AssertionResult EndedNormally() const {
    DWORD exitCode = 1;
    if (!installer_.Ended(&exitCode)) return testing::AssertionFailure() << "Install.exe is still running";
    if (exitCode != 0) return testing::AssertionFailure() << "Install.exe ended with " << exitCode;
    return testing::AssertionSuccess();
  }

  // The window's close box, as the user clicks it.
  void CloseBox() const { ::PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0); }

 private:
  Running installer_;
  HWND main_ = nullptr;
  HWND application_ = nullptr;
};

inline constexpr wchar_t kDone[] = L"Завершено";

inline std::wstring CopyLine(const std::wstring& name) { return L"Копирование файла " + name + L"...."; }

// The progress lines of the settings, database and runtime steps of a complete
// run (the "Windows 7, Windows 8" runtime, the hidden control's only value),
// every copy completed. "Каталог <DTAfb> создан..." comes only when the
// target had no DTAfb\ yet; a re-installation adds its own line after the
// database's (see ReinstallationLines in the scenario tests).
inline std::vector<std::wstring> DeployLines(bool databaseFolderCreated = true) {
  std::vector<std::wstring> lines = {std::wstring(L"Создание настроечных файлов....") + kDone};
  if (databaseFolderCreated) lines.push_back(L"Каталог <DTAfb> создан...");
  lines.push_back(CopyLine(L"S12.FDB") + kDone);
  const auto copied = [&](const wchar_t* name) { lines.push_back(CopyLine(name) + kDone); };
  for (const wchar_t* name : runtime::kWindows7Files) copied(name);
  for (const wchar_t* name : runtime::kIntlFiles) copied(name);
  for (const wchar_t* name : runtime::kUdfFiles) copied(name);
  for (const wchar_t* name : runtime::kLibraries) copied(name);
  return lines;
}

// DeployLines() as far as the copy step of `name`, whose line keeps no ending
// because the run stopped in it.
inline std::vector<std::wstring> DeployLinesStoppingAt(const std::wstring& name) {
  std::vector<std::wstring> lines = DeployLines();
  const auto stopped = std::find(lines.begin(), lines.end(), CopyLine(name) + kDone);
  if (stopped == lines.end()) return {L"(no copy step for " + name + L")"};
  *stopped = CopyLine(name);
  lines.erase(stopped + 1, lines.end());
  return lines;
}

// An error that escapes a button handler as the application's error display
// shows it: a full stop appended unless the text ends in one (or in a
// character that sorts before it).
inline std::wstring AsErrorDisplayShows(const std::wstring& message) {
  return !message.empty() && message.back() > L'.' ? message + L"." : message;
}

using enginetest::ReadShortcut;
using enginetest::ShortcutContents;

}  // namespace scenario

}  // namespace installer
