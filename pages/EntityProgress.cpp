#include "pages/EntityProgress.h"

#include "pages/PagerView.h"

std::chrono::steady_clock::time_point SteadyNow() { return std::chrono::steady_clock::now(); }

EntityProgress::EntityProgress(PagerView& view, SteadyClock now)
    : FView(view), FNow(std::move(now)), FLastShown(FNow()) {}

void EntityProgress::Read() {
  ++FRead;
  const auto now = FNow();
  if (now - FLastShown < kInterval) return;
  FView.SetPageStatus(std::to_wstring(FRead));
  FLastShown = now;
}
