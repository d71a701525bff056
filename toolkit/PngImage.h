// PNG pictures carried in the program as raw-data (RCDATA) resources, decoded
// with the Windows Imaging Component. COM must be initialised on the thread.
#pragma once

#include "toolkit/Bitmap32.h"

#include <windows.h>

namespace tk {

// The picture `name` of `module` (null: the program file) as 32-bit pixels
// with premultiplied alpha. Throws std::runtime_error when the resource is
// missing ("Resource NAME not found") or cannot be decoded.
Bitmap32 DecodePngResource(HMODULE module, const wchar_t* name);

}  // namespace tk
