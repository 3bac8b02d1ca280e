// Which way a sheet goes onto the paper.
#pragma once

#include <cstdint>

enum class PlotOrientation {
  Auto,     // the frame's long side along the paper's long side
  AsPaper,  // the paper as it is set up, never turned
};

// The PlotRotation value (0: as the paper is, 1: a quarter turn) for a
// frame of that width and height on paper of that width and height.
int32_t PlotRotationFor(PlotOrientation orientation, double frameWidth, double frameHeight, double paperWidth,
                        double paperHeight);
