#pragma once
// Owners of the layer's handles: each holds one and frees it with the
// matching Gdip delete call when destroyed.
#include <utility>

#include "platform/gdiplus/canvas.h"

namespace vs {

template <class T, GpStatus (*Delete)(T*)>
class TGdipHandle {
 public:
  TGdipHandle() = default;
  explicit TGdipHandle(T* handle) : handle_(handle) {}
  ~TGdipHandle() { Reset(); }
  TGdipHandle(TGdipHandle&& other) noexcept : handle_(other.Release()) {}
  TGdipHandle& operator=(TGdipHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TGdipHandle(const TGdipHandle&) = delete;
  TGdipHandle& operator=(const TGdipHandle&) = delete;

  T* Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  T* Release() { return std::exchange(handle_, nullptr); }
  void Reset(T* handle = nullptr) {
    if (handle_) Delete(handle_);
    handle_ = handle;
  }
  // Frees the current handle and lends the slot to a Gdip create call.
  T** Receive() {
    Reset();
    return &handle_;
  }

 private:
  T* handle_ = nullptr;
};

using TGpGraphics = TGdipHandle<GpGraphics, GdipDeleteGraphics>;
using TGpMatrix = TGdipHandle<GpMatrix, GdipDeleteMatrix>;
using TGpPath = TGdipHandle<GpPath, GdipDeletePath>;
using TGpPen = TGdipHandle<GpPen, GdipDeletePen>;
using TGpBrush = TGdipHandle<GpBrush, GdipDeleteBrush>;
using TGpFontFamily = TGdipHandle<GpFontFamily, GdipDeleteFontFamily>;
using TGpFont = TGdipHandle<GpFont, GdipDeleteFont>;
using TGpStringFormat = TGdipHandle<GpStringFormat, GdipDeleteStringFormat>;
using TGpImage = TGdipHandle<GpImage, GdipDisposeImage>;
using TGpImageAttributes = TGdipHandle<GpImageAttributes, GdipDisposeImageAttributes>;

}  // namespace vs
