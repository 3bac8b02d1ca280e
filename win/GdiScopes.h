// The device-context state a painter changes, put back by scope.
#pragma once

#include "win/Win32Api.h"

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
