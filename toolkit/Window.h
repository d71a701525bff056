// The base of every window of the toolkit: a C++ object that owns one window
// handle and receives its messages.
//
// Two kinds of windows:
//   - windows of the toolkit's own classes (forms, panels, pages, the paint
//     box): their window procedure finds the object through GWLP_USERDATA,
//     stored on WM_NCCREATE and cleared on WM_NCDESTROY;
//   - system controls (buttons, edits, list boxes, rich edit): created by their
//     own class and subclassed, so their messages pass through the object too.
//
// A container passes the notifications its children send (WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*) back to the child they are about, so a
// control handles its own click, painting and colours.
//
// An exception that escapes a message handler goes to the application's
// default error display and never crosses the system's window procedure.
#pragma once

#include <windows.h>

#include <string>

namespace tk {

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Bounds&) const = default;
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND handle() const noexcept { return handle_; }
  // The toolkit object of a window of this process, or null.
  static Window* FromHandle(HWND window) noexcept;

  std::wstring Text() const;
  void SetText(const std::wstring& text);
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  // Place and size in the parent's client coordinates.
  Bounds GetBounds() const;
  void SetBounds(const Bounds& bounds);
  // The font is not owned: it must outlive the window.
  void SetFont(HFONT font);
  HFONT Font() const;
  void Focus();
  bool Focused() const;
  void Invalidate();

  // The colour the window's background is painted in; controls on it draw
  // their surroundings in it.
  virtual COLORREF BackgroundColor() const { return ::GetSysColor(COLOR_BTNFACE); }
  // The background colour of the parent of `window`.
  static COLORREF ParentBackground(HWND window);

  // Destroys the window (and its children) now; the object stays usable as an
  // empty shell. Containers call it first in their destructors, so that no
  // message reaches a half-destroyed object.
  void DestroyHandle() noexcept;

 protected:
  Window() = default;

  struct CreateParams {
    HWND parent = nullptr;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    Bounds bounds;
    int id = 0;
  };
  // A window of a class registered with RegisterOwnClass.
  void CreateOwn(const wchar_t* className, const CreateParams& params);
  // A window of a system class, subclassed so its messages reach HandleMessage.
  void CreateSystem(const wchar_t* className, const CreateParams& params);
  static void RegisterOwnClass(const wchar_t* className, UINT classStyle = 0);
  // A fresh control identifier (never IDOK or IDCANCEL, which the dialog
  // manager sends for Enter and Esc).
  static int NextControlId();

  // Every message of the window; the default passes notifications on to the
  // children and applies the screen cursor, then calls CallDefault.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The class's own handling (DefWindowProc, or the system control's procedure).
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

  // Notifications a container passes back to the child they are about.
  virtual void OnCommand(WORD /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  // The brush for the control's background, with colours set on `dc`; null for
  // the system's choice.
  virtual HBRUSH OnControlColor(HDC /*dc*/) { return nullptr; }

 private:
  static LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void Attach(HWND window) noexcept;
  void Detach() noexcept;

  HWND handle_ = nullptr;
  bool subclassed_ = false;
};

}  // namespace tk
