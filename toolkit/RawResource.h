// The bytes of a raw-data (RCDATA) resource, mapped for the life of the module.
#pragma once

#include <windows.h>

#include <string_view>

namespace tk {

// Resource `name` of `module` (null: the program file). Throws
// std::runtime_error "Resource NAME not found" when it is missing.
std::string_view RawResource(HMODULE module, const wchar_t* name);

}  // namespace tk
