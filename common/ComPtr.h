// COM interface pointer owner and the per-thread COM initialisation scope.
#pragma once

#include <objbase.h>

#include <utility>

namespace win {

template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(const ComPtr& other) noexcept : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  void reset() noexcept {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }
  T** put() noexcept {
    reset();
    return &p_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  template <class U>
  HRESULT As(ComPtr<U>& out) const noexcept {
    return p_ ? p_->QueryInterface(__uuidof(U), out.put_void()) : E_POINTER;
  }

 private:
  T* p_ = nullptr;
};

// CoInitializeEx for the calling thread, balanced by CoUninitialize when it
// succeeded (S_FALSE, "already initialised", also needs the balancing call).
class ComScope {
 public:
  explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) noexcept
      : hr_(::CoInitializeEx(nullptr, model)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  HRESULT result() const noexcept { return hr_; }

 private:
  HRESULT hr_;
};

}  // namespace win
