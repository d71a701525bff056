#include "toolkit/ProgressBar.h"

#include <commctrl.h>

namespace tk {

void ProgressBar::Create(HWND parent, const Bounds& bounds, const Style& style) {
  CreateSystem(PROGRESS_CLASSW,
               {parent, L"", WS_VISIBLE | WS_CLIPSIBLINGS | (style.smooth ? PBS_SMOOTH : 0u), 0, bounds});
  ::SendMessageW(handle(), PBM_SETRANGE32, static_cast<WPARAM>(style.min), static_cast<LPARAM>(style.max));
  ::SendMessageW(handle(), PBM_SETSTEP, static_cast<WPARAM>(style.step), 0);
  SetPosition(style.min);
}

int ProgressBar::Position() const { return static_cast<int>(::SendMessageW(handle(), PBM_GETPOS, 0, 0)); }

void ProgressBar::SetPosition(int position) { ::SendMessageW(handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0); }

void ProgressBar::StepIt() { ::SendMessageW(handle(), PBM_STEPIT, 0, 0); }

int ProgressBar::Min() const { return static_cast<int>(::SendMessageW(handle(), PBM_GETRANGE, TRUE, 0)); }

int ProgressBar::Max() const { return static_cast<int>(::SendMessageW(handle(), PBM_GETRANGE, FALSE, 0)); }

}  // namespace tk
