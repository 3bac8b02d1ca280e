// Get, Previous and Next: from a click to the zoomed CAD view.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cad/CadPlatform.h"
#include "pages/EntityProgress.h"
#include "pages/PagerView.h"
#include "pages/SheetNames.h"
#include "pages/Waku.h"

enum class StepDirection { Backward, Forward };

// What Get's passes find on a document with the values of a view.
struct PagesFound {
  bool selected = false;        // some selection held anything
  size_t gathered = 0;          // frames read, before de-duplication
  TWakuList frames;             // in page order
  std::vector<PageName> names;  // one per frame
  std::wstring reason;          // why no frame was found; empty when one was
  int unreadReferences = 0;     // block references left out, their box or texts unreadable
};

// Get's passes over the document's selection set (polylines on the view's
// layer, then the block passes), ordered, named and de-duplicated as Get
// does; counts the entities read in progress. Zooms nothing and keeps
// nothing: the pages (see PageStore) stay as they are.
PagesFound FindPages(DispatchObject& document, const PagerView& view, EntityProgress& progress);

// Every command reads the active document's identity (FullName, else Name)
// right after ActiveDocument, so that the pages follow the drawing the CAD
// shows (see PageStore). A command that ends without showing a page
// stays silent and leaves its reason (see StopReason).

// Collects the frames of the target CAD's drawing into the current pages,
// as that drawing's, and zooms to the page under the view centre. Errors
// from attaching onwards are discarded; the running check's error (an
// unregistered ProgID) reaches the caller. While it reads entities it shows
// how many it has read (see EntityProgress), timed by now.
void GetCommand(PagerView& view, CadAccess cad, const SteadyClock& now = SteadyNow);

// Zooms to the page before or after the one under the view centre,
// wrapping around, on the kept pages of the drawing the CAD shows; runs Get
// instead on a drawing without them. Discards every error.
void StepCommand(PagerView& view, CadAccess cad, StepDirection direction);

// Zooms to page k (0-based) of the current pages as a step to it does, without
// reading the view centre. Nothing happens when k is not one of its pages.
// When the CAD now shows another drawing whose pages are kept, those become
// the current ones and the status only shows where the view lies in them;
// on a drawing without pages it runs Get. Discards every error.
void GoToPageCommand(PagerView& view, CadAccess cad, int k);
