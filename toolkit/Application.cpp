#include "toolkit/Application.h"

#include "common/WinText.h"

#include <utility>

namespace tk {
namespace {

constexpr wchar_t kApplicationClass[] = L"InstallApplication";

}  // namespace

Application& Application::Instance() {
  static Application application;
  return application;
}

void Application::Initialize(HINSTANCE instance) {
  instance_ = instance;
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.lpszClassName = kApplicationClass;
  ::RegisterClassExW(&windowClass);
  // A visible window of no size: it carries the taskbar button and owns the
  // main window, which therefore gets no button of its own.
  handle_ = ::CreateWindowExW(0, kApplicationClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
}

void Application::SetTitle(const std::wstring& title) {
  title_ = title;
  if (handle_) ::SetWindowTextW(handle_, title_.c_str());
}

int Application::Run() {
  // Without a main window (it could not be made) there is nothing to wait for.
  if (!mainWindow_) {
    terminated_ = true;
    return 0;
  }
  if (handle_) ::ShowWindow(handle_, SW_SHOWNOACTIVATE);
  running_ = true;
  MSG message;
  // Ends on the quit request Terminate posts, which is taken out of the queue.
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The main window is no dialog box, but the dialog manager gives it the
    // keyboard of one: Tab and Shift+Tab through the controls, Enter on the
    // focused button, Space on buttons and check boxes.
    if (mainWindow_ && ::IsDialogMessageW(mainWindow_, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  running_ = false;
  terminated_ = true;
  return 0;
}

void Application::Terminate() {
  terminated_ = true;
  // Without a running loop (tests drive windows on their own) no quit request
  // may stay in the queue: it would end the next modal loop at once.
  if (running_) ::PostQuitMessage(0);
}

void Application::WindowDestroyed(HWND window) {
  if (window && window == mainWindow_) {
    mainWindow_ = nullptr;
    Terminate();
  }
}

void Application::ProcessMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminated_ = true;
      // Leave the quit request for the loop that owns it.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (mainWindow_ && ::IsDialogMessageW(mainWindow_, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

std::wstring Application::ErrorDisplayText(const std::wstring& message) {
  if (!message.empty() && message.back() > L'.') return message + L".";
  return message;
}

void Application::ShowException(const std::exception& error) { ShowException(ExceptionText(error)); }

void Application::ShowException(const std::wstring& message) {
  const std::wstring text = ErrorDisplayText(message);
  if (errorDisplay_) {
    errorDisplay_(text);
    return;
  }
  // The system's own box, as the desktop toolkits show errors: its OK button
  // speaks the language of Windows.
  ::MessageBoxW(mainWindow_ && ::IsWindowEnabled(mainWindow_) ? mainWindow_ : nullptr, text.c_str(), title_.c_str(),
                MB_OK | MB_ICONSTOP);
}

Application::ScopedErrorDisplay::ScopedErrorDisplay(std::function<void(const std::wstring&)> display)
    : previous_(std::exchange(Instance().errorDisplay_, std::move(display))) {}

Application::ScopedErrorDisplay::~ScopedErrorDisplay() { Instance().errorDisplay_ = std::move(previous_); }

LRESULT CALLBACK Application::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Application& app = Instance();
  switch (message) {
    case WM_ACTIVATE:
      // The application window is never worked with: pass activation on.
      if (LOWORD(wParam) != WA_INACTIVE && app.mainWindow_ && ::IsWindowEnabled(app.mainWindow_)) {
        ::SetActiveWindow(app.mainWindow_);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (app.mainWindow_) ::PostMessageW(app.mainWindow_, WM_CLOSE, 0, 0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

std::wstring ExceptionText(const std::exception& error) { return win::FromUtf8(error.what()); }

}  // namespace tk
