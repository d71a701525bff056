// A modal dialog box built at run time: the dialog manager's own window class
// (#32770) with its modal loop, Tab, Enter and Esc, from an in-memory template
// without items; the subclass creates its controls when the box opens.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <string>

namespace tk {

class ModalDialog {
 public:
  ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;
  virtual ~ModalDialog() = default;

  // Shows the box over `owner` (disabled meanwhile) and returns the result
  // passed to End, or -1 when the box could not be made.
  INT_PTR ShowModal(HWND owner, const std::wstring& caption, DWORD style, DWORD exStyle = 0);

 protected:
  // Creates the controls, sizes and places the box. Returns true when it set
  // the focus itself.
  virtual bool OnInit(HWND dialog) = 0;
  // A command from a control (or IDOK / IDCANCEL from Enter, Esc and the close box).
  virtual void OnCommand(HWND dialog, int id, int code) = 0;

  void End(HWND dialog, INT_PTR result) { ::EndDialog(dialog, result); }

  // A child control of the box, in the box's font.
  HWND AddControl(HWND dialog, const wchar_t* className, const std::wstring& text, DWORD style, const RECT& rect,
                  int id);
  // The font of the box's controls: the system's message font.
  HFONT DialogFont() const { return font_.get(); }
  // `pixels` at 96 pixels per inch, for the screen's actual pixels per inch.
  int Scaled(int pixels) const;
  // Gives the box the client size and centres it on the work area of the
  // monitor of `owner` (or the primary one).
  static void PlaceCentred(HWND dialog, HWND owner, int clientWidth, int clientHeight);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  win::UniqueFont font_;
  int pixelsPerInch_ = 96;
};

// The window a modal box of the program is owned by: the active window of this
// thread, else the application's main window.
HWND ModalOwner();

}  // namespace tk
