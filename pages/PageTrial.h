// 試す in the settings dialog: what Get would find with the dialog's
// values on the active drawing, without zooming and keeping nothing.
#pragma once

#include <string>
#include <vector>

#include "cad/CadPlatform.h"
#include "pages/EntityProgress.h"
#include "pages/PagerView.h"
#include "pages/SheetNames.h"

struct PageTrial {
  int pages = 0;
  std::vector<PageName> firstNames;  // of the first pages, at most kShownNames
  std::wstring reason;               // why no page was found; empty when some were

  static constexpr size_t kShownNames = 3;
};

// The running check, the attach, ActiveDocument and Get's passes with the
// values (see FindPages); the progress goes to the values' page status.
// The pages (see PageStore), the stop reason and the CAD view stay as they
// are; an error of the CAD becomes the reason.
PageTrial TryPages(PagerView& values, ObjectTable& objects, const SteadyClock& now = SteadyNow);
