// Get's block pass: sheets framed by title-block references rather than
// by polylines.
#pragma once

#include <string>

#include "cad/Automation.h"
#include "pages/EntityProgress.h"
#include "pages/Waku.h"

// On the selection set: Clear, Select every block reference whose name
// matches the pattern, append the frame of each one's bounding box, Clear.
// Counts each reference read in progress. True when the selection held
// anything.
bool GatherBlockFrames(DispatchObject& selection, const std::wstring& pattern, TWakuList& frames,
                       EntityProgress& progress);
