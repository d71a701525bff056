// The error the installation engine raises where the sequence cannot go on; the
// main window's handler shows it with the program's default error display.
// what() is the message in UTF-8, like every error the program shows.
#pragma once

#include <stdexcept>
#include <string>

#include "common/TextEncoding.h"

class EngineError : public std::runtime_error {
 public:
  explicit EngineError(const std::wstring& message) : std::runtime_error(text::ToUtf8(message)) {}
};
