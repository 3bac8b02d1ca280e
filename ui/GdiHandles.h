// Owners of GDI objects and of the device-context state a painter changes.
#pragma once

#include <utility>

#include "ui/Win32Api.h"

template <class T>
class UniqueGdiObject {
 public:
  UniqueGdiObject() noexcept = default;
  explicit UniqueGdiObject(T object) noexcept : FObject(object) {}
  UniqueGdiObject(UniqueGdiObject&& other) noexcept : FObject(std::exchange(other.FObject, nullptr)) {}
  UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
    std::swap(FObject, other.FObject);
    return *this;
  }
  ~UniqueGdiObject() {
    if (FObject) DeleteObject(FObject);
  }

  T Get() const noexcept { return FObject; }
  explicit operator bool() const noexcept { return FObject != nullptr; }

 private:
  T FObject = nullptr;
};

using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniquePen = UniqueGdiObject<HPEN>;

// Selects an object into a device context and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) noexcept : FDc(dc), FPrevious(SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() { SelectObject(FDc, FPrevious); }

 private:
  HDC FDc;
  HGDIOBJ FPrevious;
};

// BeginPaint and EndPaint.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) noexcept : FWindow(window) { BeginPaint(window, &FPaint); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { EndPaint(FWindow, &FPaint); }

  HDC Dc() const noexcept { return FPaint.hdc; }
  const RECT& Invalid() const noexcept { return FPaint.rcPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
};

// GetWindowDC and ReleaseDC.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) noexcept : FWindow(window), FDc(GetWindowDC(window)) {}
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  ~ScopedWindowDc() { ReleaseDC(FWindow, FDc); }

  HDC Dc() const noexcept { return FDc; }

 private:
  HWND FWindow;
  HDC FDc;
};
