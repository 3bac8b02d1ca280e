// The off-screen canvas the viewer paints on.
#pragma once

#include "win/Handles.h"

// An off-screen bitmap of the target's size, copied to it on Present, so
// that a repaint never flickers.
class OffscreenCanvas {
 public:
  OffscreenCanvas(HDC target, const RECT& area) noexcept
      : FTarget(target),
        FArea(area),
        FDc(CreateCompatibleDC(target)),
        FBitmap(CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)),
        FSelection(SelectInto(FDc.Get(), FBitmap.Get())) {}
  OffscreenCanvas(const OffscreenCanvas&) = delete;
  OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;
  ~OffscreenCanvas() = default;

  HDC Dc() const noexcept { return FDc.Get(); }
  void Present() const noexcept {
    BitBlt(FTarget, FArea.left, FArea.top, FArea.right - FArea.left, FArea.bottom - FArea.top, FDc.Get(), 0, 0,
           SRCCOPY);
  }

 private:
  HDC FTarget;
  RECT FArea;
  UniqueMemoryDc FDc;
  UniqueBitmap FBitmap;
  UniqueSelection FSelection;  // released before the bitmap and the DC
};
