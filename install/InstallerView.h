// The narrow interface through which the installation sequence reaches the main
// window: the progress list, the standard dialog, the pages, the cursor, the
// close permission, the exit button, and the installer state the wizard holds.
// TFMain implements it; tests implement it with scripted answers.
#pragma once

#include <string>

// The pages of the wizard, in page order.
enum class WizardPage { tsStart, tsInputPath, tsInputComponents, tsProgressInstall, tsCancel, tsChangeFontSize };

class IInstallerView {
 public:
  virtual ~IInstallerView() = default;

  // Installer state held by the window.
  virtual std::wstring TargetText() const = 0;     // the text of ePath, untrimmed
  virtual bool DriverOptionChecked() const = 0;    // CbDriverInstal
  virtual int RuntimeVariant() const = 0;          // item index of CBWindows
  virtual bool SiblingProduct() const = 0;         // set at start-up
  virtual void SetSourceFolder(const std::wstring& folder) = 0;  // Fcopyfrom

  // The progress list LogList.
  virtual void ClearLines() = 0;  // empties the list and makes it visible
  virtual int AddLine(const std::wstring& text) = 0;  // returns the new line's index
  virtual void ChangeLine(int index, const std::wstring& text) = 0;
  virtual std::wstring Line(int index) const = 0;
  virtual int LineCount() const = 0;
  virtual void RepaintList() = 0;  // paints the list now, without letting other messages run

  // Handles the window messages queued now, then returns.
  virtual void ProcessMessages() = 0;

  // The standard message dialog: confirmation with Yes and No (true on Yes);
  // error with OK.
  virtual bool Confirm(const std::wstring& text) = 0;
  virtual void ShowError(const std::wstring& text) = 0;

  virtual void ShowPage(WizardPage page) = 0;
  virtual void SetBusyCursor(bool busy) = 0;  // hourglass or normal
  virtual void SetCanClose(bool canClose) = 0;  // FCanClose
  virtual void EnableExit() = 0;  // BtnExit
  virtual void Close() = 0;  // a close request to the main window
};
