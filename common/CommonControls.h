// The common controls library (version 6, through the manifest), loaded on
// demand from the system folder. Install.exe does not import it: an import
// would be resolved at process start, before the program can keep the loader
// away from its own folder, and the library brings in further ones (themes,
// version information) that must not come from the distribution folder either.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace win {

struct CommonControlsApi {
  BOOL(WINAPI* InitCommonControlsEx)(const INITCOMMONCONTROLSEX*) = nullptr;
  HIMAGELIST(WINAPI* ImageList_Create)(int, int, UINT, int, int) = nullptr;
  int(WINAPI* ImageList_Add)(HIMAGELIST, HBITMAP, HBITMAP) = nullptr;
  BOOL(WINAPI* ImageList_Draw)(HIMAGELIST, int, HDC, int, int, UINT) = nullptr;
  BOOL(WINAPI* ImageList_Destroy)(HIMAGELIST) = nullptr;
  HRESULT(WINAPI* TaskDialogIndirect)(const TASKDIALOGCONFIG*, int*, int*, BOOL*) = nullptr;
  BOOL(WINAPI* SetWindowSubclass)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR) = nullptr;
  BOOL(WINAPI* RemoveWindowSubclass)(HWND, SUBCLASSPROC, UINT_PTR) = nullptr;
  LRESULT(WINAPI* DefSubclassProc)(HWND, UINT, WPARAM, LPARAM) = nullptr;
  BOOL(WINAPI* TrackMouseEvent)(LPTRACKMOUSEEVENT) = nullptr;
};

// Loads the library on first use (after the search restriction) and registers
// the standard control classes. Entries the library lacks stay null.
const CommonControlsApi& CommonControls();

}  // namespace win
