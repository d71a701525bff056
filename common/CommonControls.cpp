#include "common/CommonControls.h"

#include "common/SystemLibrary.h"

namespace win {
namespace {

template <class Fn>
void Resolve(HMODULE module, Fn& target, const char* name) {
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

CommonControlsApi Load() {
  CommonControlsApi api;
  // Kept loaded for the life of the process, as an import would be.
  HMODULE module = LoadSystemLibrary(L"comctl32.dll").release();
  if (!module) return api;
  Resolve(module, api.InitCommonControlsEx, "InitCommonControlsEx");
  Resolve(module, api.ImageList_Create, "ImageList_Create");
  Resolve(module, api.ImageList_Add, "ImageList_Add");
  Resolve(module, api.ImageList_Draw, "ImageList_Draw");
  Resolve(module, api.ImageList_Destroy, "ImageList_Destroy");
  Resolve(module, api.TaskDialogIndirect, "TaskDialogIndirect");
  Resolve(module, api.SetWindowSubclass, "SetWindowSubclass");
  Resolve(module, api.RemoveWindowSubclass, "RemoveWindowSubclass");
  Resolve(module, api.DefSubclassProc, "DefSubclassProc");
  Resolve(module, api.TrackMouseEvent, "_TrackMouseEvent");
  if (api.InitCommonControlsEx) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    api.InitCommonControlsEx(&classes);
  }
  return api;
}

}  // namespace

const CommonControlsApi& CommonControls() {
  static const CommonControlsApi api = Load();
  return api;
}

}  // namespace win
