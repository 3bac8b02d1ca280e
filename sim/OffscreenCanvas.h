// The off-screen canvas the viewer paints on.
#pragma once

#include "ui/GdiHandles.h"

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
  UniqueGdiObject<HBITMAP> FBitmap;
  ScopedSelect FSelection;  // released before the bitmap and the DC
};
