// Move-only owners for Win32 handles: each kind closes with its own function.
// UniqueAny<Traits> is the one template; the aliases below are what code uses.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

namespace win {

template <class Traits>
class UniqueAny {
 public:
  using Handle = typename Traits::Handle;

  UniqueAny() noexcept = default;
  explicit UniqueAny(Handle h) noexcept : handle_(h) {}
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueAny() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return Traits::IsValid(handle_); }

  Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) noexcept {
    Handle old = std::exchange(handle_, h);
    if (Traits::IsValid(old)) Traits::Close(old);
  }
  // For out-parameters: releases what is held and hands out the slot.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

template <class H, auto CloseFn, intptr_t InvalidValue>
struct HandleTraits {
  using Handle = H;
  static Handle Invalid() noexcept { return reinterpret_cast<Handle>(InvalidValue); }
  static bool IsValid(Handle h) noexcept { return h != Invalid(); }
  static void Close(Handle h) noexcept { CloseFn(h); }
};

inline void CloseKernelHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void CloseFind(HANDLE h) noexcept { ::FindClose(h); }
inline void CloseRegKey(HKEY h) noexcept { ::RegCloseKey(h); }
inline void ReleaseModule(HMODULE h) noexcept { ::FreeLibrary(h); }
inline void DeleteGdiObject(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void DestroyWindowHandle(HWND h) noexcept { ::DestroyWindow(h); }
inline void DeleteMemoryDc(HDC h) noexcept { ::DeleteDC(h); }
inline void DeregisterEventLog(HANDLE h) noexcept { ::DeregisterEventSource(h); }
inline void DestroyIconHandle(HICON h) noexcept { ::DestroyIcon(h); }

// Kernel objects whose "no handle" is null (processes, threads, events).
using UniqueHandle = UniqueAny<HandleTraits<HANDLE, CloseKernelHandle, 0>>;
// Files, whose "no handle" is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueAny<HandleTraits<HANDLE, CloseKernelHandle, -1>>;
using UniqueFind = UniqueAny<HandleTraits<HANDLE, CloseFind, -1>>;
using UniqueKey = UniqueAny<HandleTraits<HKEY, CloseRegKey, 0>>;
using UniqueModule = UniqueAny<HandleTraits<HMODULE, ReleaseModule, 0>>;
using UniqueGdiObject = UniqueAny<HandleTraits<HGDIOBJ, DeleteGdiObject, 0>>;
using UniqueBitmap = UniqueAny<HandleTraits<HBITMAP, DeleteGdiObject, 0>>;
using UniqueFont = UniqueAny<HandleTraits<HFONT, DeleteGdiObject, 0>>;
using UniqueBrush = UniqueAny<HandleTraits<HBRUSH, DeleteGdiObject, 0>>;
using UniquePen = UniqueAny<HandleTraits<HPEN, DeleteGdiObject, 0>>;
using UniqueRegion = UniqueAny<HandleTraits<HRGN, DeleteGdiObject, 0>>;
using UniqueMemoryDc = UniqueAny<HandleTraits<HDC, DeleteMemoryDc, 0>>;
using UniqueWindow = UniqueAny<HandleTraits<HWND, DestroyWindowHandle, 0>>;
using UniqueEventSource = UniqueAny<HandleTraits<HANDLE, DeregisterEventLog, 0>>;
using UniqueIcon = UniqueAny<HandleTraits<HICON, DestroyIconHandle, 0>>;

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects a GDI object into a device context and selects the old one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  ~SelectObjectScope() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Runs a callable when the scope ends (for calls without a handle of their own).
template <class F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() {
    if (active_) f_();
  }
  void Dismiss() noexcept { active_ = false; }

 private:
  F f_;
  bool active_ = true;
};

}  // namespace win
