#include "plot/PlotRotation.h"

int32_t PlotRotationFor(PlotOrientation orientation, double frameWidth, double frameHeight, double paperWidth,
                        double paperHeight) {
  if (orientation == PlotOrientation::AsPaper) return 0;
  // A square frame or paper fits either way: it is not turned.
  if (frameWidth == frameHeight || paperWidth == paperHeight) return 0;
  return (frameWidth > frameHeight) == (paperWidth > paperHeight) ? 0 : 1;
}
