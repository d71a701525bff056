#include "toolkit/Window.h"

#include "common/CommonControls.h"
#include "toolkit/Application.h"
#include "toolkit/Screen.h"

#include <stdexcept>

namespace tk {
namespace {

constexpr UINT_PTR kSubclassId = 0x746B;  // "tk"

std::runtime_error WindowError(const char* what) {
  return std::runtime_error(std::string(what) + " (error " + std::to_string(::GetLastError()) + ")");
}

}  // namespace

Window::~Window() { DestroyHandle(); }

Window* Window::FromHandle(HWND window) noexcept {
  if (!window) return nullptr;
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != ::GetCurrentProcessId()) return nullptr;
  auto* object = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  // Only windows the toolkit made carry an object; the handle check keeps a
  // stale value from being taken for one.
  return object && object->handle_ == window ? object : nullptr;
}

void Window::DestroyHandle() noexcept {
  if (handle_) ::DestroyWindow(handle_);  // WM_NCDESTROY detaches
  handle_ = nullptr;
}

std::wstring Window::Text() const {
  if (!handle_) return {};
  const int length = ::GetWindowTextLengthW(handle_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void Window::SetText(const std::wstring& text) { ::SetWindowTextW(handle_, text.c_str()); }

bool Window::Visible() const { return handle_ && (::GetWindowLongPtrW(handle_, GWL_STYLE) & WS_VISIBLE); }

void Window::SetVisible(bool visible) { ::ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE); }

bool Window::Enabled() const { return handle_ && ::IsWindowEnabled(handle_); }

void Window::SetEnabled(bool enabled) { ::EnableWindow(handle_, enabled); }

Bounds Window::GetBounds() const {
  RECT rect{};
  ::GetWindowRect(handle_, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(handle_), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Window::SetBounds(const Bounds& b) {
  ::SetWindowPos(handle_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetFont(HFONT font) { ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

HFONT Window::Font() const { return reinterpret_cast<HFONT>(::SendMessageW(handle_, WM_GETFONT, 0, 0)); }

void Window::Focus() { ::SetFocus(handle_); }

bool Window::Focused() const { return handle_ && ::GetFocus() == handle_; }

void Window::Invalidate() { ::InvalidateRect(handle_, nullptr, TRUE); }

COLORREF Window::ParentBackground(HWND window) {
  const Window* parent = FromHandle(::GetParent(window));
  return parent ? parent->BackgroundColor() : ::GetSysColor(COLOR_BTNFACE);
}

void Window::RegisterOwnClass(const wchar_t* className, UINT classStyle) {
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, className, &windowClass)) return;
  windowClass = WNDCLASSEXW{sizeof(windowClass)};
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = OwnWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = className;
  if (!::RegisterClassExW(&windowClass)) throw WindowError("cannot register a window class");
}

int Window::NextControlId() {
  static int next = 100;
  return next++;
}

void Window::CreateOwn(const wchar_t* className, const CreateParams& p) {
  const HMENU id = (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id ? p.id : NextControlId()))
                                         : nullptr;
  const HWND window = ::CreateWindowExW(p.exStyle, className, p.text.c_str(), p.style, p.bounds.left, p.bounds.top,
                                        p.bounds.width, p.bounds.height, p.parent, id, ::GetModuleHandleW(nullptr),
                                        this);
  if (!window) throw WindowError("cannot create a window");
}

void Window::CreateSystem(const wchar_t* className, const CreateParams& p) {
  const auto& controls = win::CommonControls();
  if (!controls.SetWindowSubclass) throw std::runtime_error("the common controls library is missing");
  const HWND window = ::CreateWindowExW(
      p.exStyle, className, p.text.c_str(), p.style | WS_CHILD, p.bounds.left, p.bounds.top, p.bounds.width,
      p.bounds.height, p.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id ? p.id : NextControlId())),
      ::GetModuleHandleW(nullptr), nullptr);
  if (!window) throw WindowError("cannot create a control");
  Attach(window);
  subclassed_ = controls.SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void Window::Attach(HWND window) noexcept {
  handle_ = window;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Window::Detach() noexcept {
  if (!handle_) return;
  ::SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  if (subclassed_) win::CommonControls().RemoveWindowSubclass(handle_, SubclassProc, kSubclassId);
  subclassed_ = false;
  handle_ = nullptr;
}

LRESULT CALLBACK Window::OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    if (auto* self = static_cast<Window*>(create->lpCreateParams)) self->Attach(window);
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK Window::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
  auto* self = reinterpret_cast<Window*>(data);
  if (!self || self->handle_ != window) return win::CommonControls().DefSubclassProc(window, message, wParam, lParam);
  return self->Dispatch(message, wParam, lParam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    const LRESULT result = CallDefault(message, wParam, lParam);
    Detach();
    return result;
  }
  try {
    return HandleMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    // As a desktop toolkit does: the handler ends, the error is shown, the
    // program goes on.
    Application::Instance().ShowException(error);
    return 0;
  }
}

LRESULT Window::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  if (subclassed_) return win::CommonControls().DefSubclassProc(handle_, message, wParam, lParam);
  return ::DefWindowProcW(handle_, message, wParam, lParam);
}

bool Window::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (Window* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        child->OnCommand(HIWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (Window* child = FromHandle(header->hwndFrom)) {
        result = child->OnNotify(*header);
        return true;
      }
      return false;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Window* child = FromHandle(item->hwndItem);
      if (child && child->OnDrawItem(*item)) {
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (Window* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = child->OnControlColor(reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ReflectToChild(message, wParam, lParam, result)) return result;
  if (message == WM_SETCURSOR && Screen::Instance().Cursor() != crDefault) {
    // A busy cursor set for the whole screen wins over every window's own.
    ::SetCursor(Screen::Instance().CursorHandle());
    return TRUE;
  }
  return CallDefault(message, wParam, lParam);
}

}  // namespace tk
