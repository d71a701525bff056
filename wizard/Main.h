// Main: the main window TFMain of the installer, which holds the installer state
// (target folder, source folder, close permission, progress list) and the
// wizard pages.
#pragma once

#include <windows.h>

#include <string>

class TFMain {
 public:
  static constexpr int kClientWidth = 954;
  static constexpr int kClientHeight = 579;

  TFMain() = default;
  TFMain(const TFMain&) = delete;
  TFMain& operator=(const TFMain&) = delete;
  ~TFMain();

  // Creates the window (runs FormCreate); it is shown by Show().
  void Create(HINSTANCE instance, HWND owner);
  void Show();
  HWND handle() const { return handle_; }

  // The close request: granted exactly when FCanClose is true.
  void FormCloseQuery(bool& CanClose);
  bool CanClose() const { return FCanClose; }

  std::wstring Fcopyfrom;

 private:
  void FormCreate();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  HINSTANCE instance_ = nullptr;
  bool FCanClose = true;
  std::wstring AppNameStr;
};

// The one main window of the program.
extern TFMain* FMain;
