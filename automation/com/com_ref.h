#pragma once
// An owning reference to a COM interface.

#include <utility>

#include <unknwn.h>

namespace reVoziz::com {

template <class T>
class ComRef {
 public:
  ComRef() = default;
  // Takes a reference the caller already holds.
  static ComRef adopt(T* p) {
    ComRef r;
    r.p_ = p;
    return r;
  }
  // Adds a reference of its own.
  explicit ComRef(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ComRef(const ComRef& o) : ComRef(o.p_) {}
  ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComRef& operator=(ComRef o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComRef() {
    if (p_) p_->Release();
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out parameters: releases what it held.
  T** put() {
    *this = ComRef();
    return &p_;
  }
  // Another interface of the same object; empty when it has none.
  template <class U>
  ComRef<U> as() const {
    ComRef<U> r;
    if (p_) p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(r.put()));
    return r;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace reVoziz::com
