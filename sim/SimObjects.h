// The simulated CAD's automation objects: application, document, selection
// set and entity, each answering the members the pager calls.
#pragma once

#include <memory>

#include "sim/SimCadState.h"

namespace sim {

// Gives the state its application, document and selection set objects.
void CreateAutomationObjects(const std::shared_ptr<SimCad::State>& state);

}  // namespace sim
