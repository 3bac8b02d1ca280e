// The simulated CAD's automation objects: application, document, selection
// set and entity, each answering the members the pager calls.
#pragma once

#include <memory>
#include <string_view>

#include "sim/SimCadState.h"

namespace sim {

// Gives the state its application object.
void CreateApplicationObject(const std::shared_ptr<SimCad::State>& state);
// Gives a document of the state its document and selection set objects.
void CreateDocumentObjects(const std::shared_ptr<SimCad::State>& state, OpenDocument& document);

// Whether the object is one of the simulated CAD's and has the member, so
// that a COM server can refuse other names at lookup, as real servers do.
bool KnowsMember(const DispatchObject& object, std::wstring_view member);

}  // namespace sim
