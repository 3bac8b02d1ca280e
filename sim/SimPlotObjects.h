// The simulated CAD's model layout and plot objects: the layout's plot
// settings, the devices, papers and style tables, and a plot that writes a
// real one-page PDF of the window.
#pragma once

#include <memory>

#include "sim/SimCadState.h"

namespace sim {

// Gives a document of the state its layout and plot objects.
void CreatePlotObjects(const std::shared_ptr<SimCad::State>& state, OpenDocument& document);

}  // namespace sim
