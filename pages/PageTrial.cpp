#include "pages/PageTrial.h"

#include <algorithm>

#include "cad/StopReason.h"
#include "pages/DrawingContents.h"
#include "pages/PageCommands.h"

PageTrial TryPages(PagerView& values, ObjectTable& objects, const SteadyClock& now) {
  PageTrial trial;
  const ActiveDrawing drawing = AttachActiveDrawing(objects);
  if (!drawing.document) {
    trial.reason = drawing.reason;
    return trial;
  }
  try {
    EntityProgress progress(values, now);
    PagesFound found = FindPages(*drawing.document, values, progress);
    trial.pages = static_cast<int>(found.frames.size());
    trial.reason = found.reason;
    const size_t shown = std::min(found.names.size(), PageTrial::kShownNames);
    trial.firstNames.assign(found.names.begin(), found.names.begin() + static_cast<std::ptrdiff_t>(shown));
  } catch (const std::exception& error) {
    trial.reason = CallFailureText(error);
  }
  return trial;
}
