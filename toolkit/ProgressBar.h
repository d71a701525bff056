// A progress bar: the system's progress control with a range, a step and,
// optionally, a continuous (smooth) bar instead of blocks.
#pragma once

#include "toolkit/Window.h"

namespace tk {

class ProgressBar : public Window {
 public:
  struct Style {
    int min = 0;
    int max = 100;
    int step = 10;
    bool smooth = false;
  };

  void Create(HWND parent, const Bounds& bounds, const Style& style);

  int Position() const;
  void SetPosition(int position);
  // Advances the position by the step (the system control starts again from
  // the beginning when the step goes past the end).
  void StepIt();
  int Min() const;
  int Max() const;
};

}  // namespace tk
