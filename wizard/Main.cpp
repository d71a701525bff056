#include "wizard/Main.h"

#include "common/SH_Common_Proc.h"
#include "resources/resource.h"

TFMain* FMain = nullptr;

namespace {

constexpr wchar_t kMainClass[] = L"TFMain";
constexpr wchar_t kCaption[] = L"Установка комплекса";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;

ATOM RegisterMainClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_INSTALL));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainClass;
  return ::RegisterClassExW(&windowClass);
}

// Outer size of a window with the given client size, centred on the work area
// of the primary monitor.
RECT CentredFrame(int clientWidth, int clientHeight) {
  RECT frame{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  return RECT{left, top, left + width, top + height};
}

}  // namespace

TFMain::~TFMain() {
  if (handle_) ::DestroyWindow(handle_);
}

void TFMain::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  static const ATOM registered = RegisterMainClass(instance);
  (void)registered;
  const RECT frame = CentredFrame(kClientWidth, kClientHeight);
  handle_ = ::CreateWindowExW(0, kMainClass, kCaption, kStyle, frame.left, frame.top, frame.right - frame.left,
                              frame.bottom - frame.top, owner, nullptr, instance, nullptr);
  ::SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TFMain::WindowProc));
  FormCreate();
}

void TFMain::Show() {
  ::ShowWindow(handle_, SW_SHOW);
  ::UpdateWindow(handle_);
}

void TFMain::FormCreate() {
  AppNameStr = LoadResourceText(instance_, IDS_APP_FOLDER);
  FCanClose = true;
}

void TFMain::FormCloseQuery(bool& CanClose) { CanClose = FCanClose; }

LRESULT CALLBACK TFMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TFMain*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT TFMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: {
      bool canClose = true;
      FormCloseQuery(canClose);
      if (canClose) ::DestroyWindow(handle_);
      return 0;
    }
    case WM_DESTROY:
      handle_ = nullptr;
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(handle_, message, wParam, lParam);
  }
}
