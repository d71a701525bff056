#include "toolkit/RawResource.h"

#include "common/WinText.h"

#include <stdexcept>
#include <string>

namespace tk {

std::string_view RawResource(HMODULE module, const wchar_t* name) {
  if (!module) module = ::GetModuleHandleW(nullptr);
  const HRSRC resource = ::FindResourceW(module, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
  const HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) throw std::runtime_error("Resource " + win::ToUtf8(name) + " not found");
  return {static_cast<const char*>(bytes), ::SizeofResource(module, resource)};
}

}  // namespace tk
