// Get, Previous and Next: from a click to the zoomed CAD view.
#pragma once

#include <string>

#include "cad/CadPlatform.h"
#include "pages/EntityProgress.h"
#include "pages/PagerView.h"

enum class StepDirection { Backward, Forward };

// Collects the frames of the target CAD's drawing into WakuList and zooms
// to the page under the view centre. Errors from attaching onwards are
// discarded; the running check's error (an unregistered ProgID) reaches the
// caller. While it reads entities it shows how many it has read (see
// EntityProgress), timed by now.
void GetCommand(PagerView& view, CadAccess cad, const SteadyClock& now = SteadyNow);

// Zooms to the page before or after the one under the view centre,
// wrapping around. Discards every error.
void StepCommand(PagerView& view, CadAccess cad, StepDirection direction);

// Zooms to page k (0-based) of WakuList as a step to it does, without
// reading the view centre. Nothing happens when k is not one of its pages.
// Discards every error.
void GoToPageCommand(PagerView& view, CadAccess cad, int k);
