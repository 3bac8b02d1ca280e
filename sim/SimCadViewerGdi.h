// RAII owners for the GDI objects the viewer paints with.
#pragma once

#include <windows.h>

#include <utility>

// A pen, brush, font or bitmap, deleted with its owner.
template <class Handle>
class ScopedGdiObject {
 public:
  ScopedGdiObject() noexcept = default;
  explicit ScopedGdiObject(Handle handle) noexcept : FHandle(handle) {}
  ScopedGdiObject(ScopedGdiObject&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
    std::swap(FHandle, other.FHandle);
    return *this;
  }
  ~ScopedGdiObject() {
    if (FHandle) DeleteObject(FHandle);
  }
  Handle Get() const noexcept { return FHandle; }

 private:
  Handle FHandle = nullptr;
};

// Selects an object into a device context and puts the previous one back.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) noexcept : FDc(dc), FPrevious(SelectObject(dc, object)) {}
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() { SelectObject(FDc, FPrevious); }

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

// An off-screen bitmap of the target's size, copied to it on Present, so
// that a repaint never flickers.
class OffscreenCanvas {
 public:
  OffscreenCanvas(HDC target, const RECT& area) noexcept
      : FTarget(target),
        FArea(area),
        FDc(CreateCompatibleDC(target)),
        FBitmap(CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)),
        FSelection(FDc, FBitmap.Get()) {}
  OffscreenCanvas(const OffscreenCanvas&) = delete;
  OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;
  ~OffscreenCanvas() = default;

  HDC Dc() const noexcept { return FDc.dc; }
  void Present() const noexcept {
    BitBlt(FTarget, FArea.left, FArea.top, FArea.right - FArea.left, FArea.bottom - FArea.top, FDc.dc, 0, 0, SRCCOPY);
  }

 private:
  struct MemoryDc {
    explicit MemoryDc(HDC created) noexcept : dc(created) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() { DeleteDC(dc); }
    operator HDC() const noexcept { return dc; }
    HDC dc;
  };

  HDC FTarget;
  RECT FArea;
  MemoryDc FDc;
  ScopedGdiObject<HBITMAP> FBitmap;
  ScopedSelection FSelection;  // released before the bitmap and the DC
};
