// The system's folder-browse dialog, as the installer asks for its target:
// rooted at the desktop, nothing preselected, the new dialog style without the
// button for making a folder, file-system folders only.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace tk {

// Shows the dialog owned by `owner` with the instruction text `instruction`.
// Returns the chosen folder's full path as the dialog gives it (no trailing
// backslash except for the root of a drive), or nothing when cancelled.
// While it is open, the application's main window takes no input either.
std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& instruction);

// Test seam: while an object of this kind lives, BrowseForFolder calls `answer`.
class ScopedBrowseForFolder {
 public:
  using Answer = std::function<std::optional<std::wstring>(HWND owner, const std::wstring& instruction)>;
  explicit ScopedBrowseForFolder(Answer answer);
  ScopedBrowseForFolder(const ScopedBrowseForFolder&) = delete;
  ScopedBrowseForFolder& operator=(const ScopedBrowseForFolder&) = delete;
  ~ScopedBrowseForFolder();

 private:
  Answer previous_;
};

}  // namespace tk
