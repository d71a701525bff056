// MessageForm: the suite's own message window. ShowMessageWindow shows a text
// modally with an OK button (and a Cancel button for questions) and tells
// whether OK was pressed.
//
// For now a plain modal window; the countdown row of the full message window
// comes with its own unit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

enum TMessageType : std::uint8_t { mtMessage, mtDialog };
static_assert(sizeof(TMessageType) == 1, "TMessageType is one byte");

// True when the user pressed OK; false for Cancel and for closing the window.
bool ShowMessageWindow(const std::wstring& text, TMessageType kind, const std::wstring& caption, int seconds);

namespace ui {

// Test seam: while an object of this kind lives, ShowMessageWindow calls
// `answer` with its arguments instead of showing the window.
struct MessageWindowCall {
  std::wstring text;
  TMessageType kind;
  std::wstring caption;
  int seconds;
};
class ScopedMessageWindow {
 public:
  explicit ScopedMessageWindow(std::function<bool(const MessageWindowCall&)> answer);
  ScopedMessageWindow(const ScopedMessageWindow&) = delete;
  ScopedMessageWindow& operator=(const ScopedMessageWindow&) = delete;
  ~ScopedMessageWindow();

 private:
  std::function<bool(const MessageWindowCall&)> previous_;
};

}  // namespace ui
