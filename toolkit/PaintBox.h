// A paint box with an off-screen 32-bit buffer of its own size. Before its
// resize event runs, the buffer takes the new size; painting copies the buffer
// to the screen and draws nothing else.
#pragma once

#include "toolkit/Bitmap32.h"
#include "toolkit/Window.h"

#include <functional>

namespace tk {

class PaintBox : public Window {
 public:
  void Create(HWND parent, const Bounds& bounds);

  Bitmap32& Buffer() { return buffer_; }
  const Bitmap32& Buffer() const { return buffer_; }
  // Puts the buffer on the screen now.
  void Repaint();

  // Runs after each change of size, with the buffer already resized.
  std::function<void()> onResize;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Bitmap32 buffer_;
};

}  // namespace tk
