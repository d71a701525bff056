// The application object: its title (the text of the taskbar button), the
// message loop, letting queued messages run, and the default error display.
//
// As in the classic desktop toolkits, the taskbar button belongs to a small
// application window that owns the main window, so the button shows the
// application title while the main window keeps its own shorter caption.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace tk {

class Application {
 public:
  static Application& Instance();

  void Initialize(HINSTANCE instance);
  HINSTANCE instance() const { return instance_; }
  HWND handle() const { return handle_; }

  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title);

  // The window whose closing ends the message loop.
  void SetMainWindow(HWND window) { mainWindow_ = window; }
  HWND MainWindow() const { return mainWindow_; }

  // Runs the message loop until the main window is gone; returns the exit code.
  int Run();
  // Handles every message that is queued now, then returns.
  void ProcessMessages();
  bool Terminated() const { return terminated_; }
  // Ends the message loop (when one runs) once the current message is handled.
  void Terminate();
  // Called by a form whose window is being destroyed: the main window's end
  // ends the program.
  void WindowDestroyed(HWND window);

  // The default error display: a stop-icon box titled with the application
  // title, the message with a full stop added when it ends in a character above
  // ".". The program goes on.
  void ShowException(const std::exception& error);
  void ShowException(const std::wstring& message);
  static std::wstring ErrorDisplayText(const std::wstring& message);

  // Test seam: while an object of this kind lives, the error display calls
  // `display` with the text it would show (full stop added) instead of
  // opening the box.
  class ScopedErrorDisplay {
   public:
    explicit ScopedErrorDisplay(std::function<void(const std::wstring& text)> display);
    ScopedErrorDisplay(const ScopedErrorDisplay&) = delete;
    ScopedErrorDisplay& operator=(const ScopedErrorDisplay&) = delete;
    ~ScopedErrorDisplay();

   private:
    std::function<void(const std::wstring&)> previous_;
  };

 private:
  Application() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_ = nullptr;
  HWND handle_ = nullptr;
  HWND mainWindow_ = nullptr;
  std::wstring title_;
  bool terminated_ = false;
  bool running_ = false;
  std::function<void(const std::wstring&)> errorDisplay_;
};

// Text of a caught exception as a wide string (exceptions carry UTF-8).
std::wstring ExceptionText(const std::exception& error);

}  // namespace tk
