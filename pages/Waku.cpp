#include "pages/Waku.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kRowTolerance = 10.0;
constexpr double kDuplicateTolerance = 1.0;

bool IsNearDuplicate(const TsvWaku& a, const TsvWaku& b) {
  return std::abs(a.miny - b.miny) < kDuplicateTolerance && std::abs(a.minx - b.minx) < kDuplicateTolerance &&
         std::abs(a.maxy - b.maxy) < kDuplicateTolerance && std::abs(a.maxx - b.maxx) < kDuplicateTolerance;
}

// The exchange sort below fixes the order of frames with equal keys, which
// decides page numbers; a library sort would not keep it.
template <typename ShouldSwap>
void ExchangeSort(TWakuList& list, ShouldSwap shouldSwap) {
  const size_t n = list.size();
  for (size_t j = 0; j + 1 < n; ++j)
    for (size_t k = j + 1; k < n; ++k)
      if (shouldSwap(list[j], list[k])) std::swap(list[j], list[k]);
}

}  // namespace

std::optional<TsvWaku> WakuFromPolyline(std::span<const double> coordinates, bool closed) {
  if (coordinates.size() != 8 || !closed) return std::nullopt;
  // A value that is not finite would drop out of the comparisons below and
  // leave a box that is no rectangle of the drawing.
  if (!std::all_of(coordinates.begin(), coordinates.end(), [](double c) { return std::isfinite(c); }))
    return std::nullopt;
  double minx = coordinates[0], miny = coordinates[1], maxx = coordinates[2], maxy = coordinates[3];
  for (size_t j = 0; j < 4; ++j) {
    const double x = coordinates[2 * j];
    if (x < minx) minx = x;
    if (x > maxx) maxx = x;
  }
  for (size_t j = 0; j < 4; ++j) {
    const double y = coordinates[2 * j + 1];
    if (y < miny) miny = y;
    if (y > maxy) maxy = y;
  }
  return WakuFromBoundingBox(minx, miny, maxx, maxy);
}

std::optional<TsvWaku> WakuFromBoundingBox(double minx, double miny, double maxx, double maxy) {
  if (!std::isfinite(minx) || !std::isfinite(miny) || !std::isfinite(maxx) || !std::isfinite(maxy)) return std::nullopt;
  // Finite corners far apart still give a size that overflows.
  const double width = maxx - minx;
  const double height = maxy - miny;
  if (!std::isfinite(width) || !std::isfinite(height) || !(width > 0.0) || !(height > 0.0)) return std::nullopt;
  return TsvWaku{minx, miny, maxx, maxy, false, 0, false};
}

void SortWakuList(TWakuList& list, bool upperLeft) {
  const size_t n = list.size();
  if (n <= 1) return;

  ExchangeSort(
      list, [upperLeft](const TsvWaku& j, const TsvWaku& k) { return upperLeft ? k.miny > j.miny : k.miny < j.miny; });

  double anchor = list[0].miny;
  int32_t row = 0;
  list[0].yindex = 0;
  for (size_t j = 1; j < n; ++j) {
    if (!(std::abs(anchor - list[j].miny) <= kRowTolerance)) {
      anchor = list[j].miny;
      ++row;
    }
    list[j].yindex = row;
  }

  ExchangeSort(list, [](const TsvWaku& j, const TsvWaku& k) { return j.yindex == k.yindex && k.minx < j.minx; });

  for (TsvWaku& waku : list) waku.flag = true;
  for (size_t j = 0; j + 1 < n; ++j)
    for (size_t k = j + 1; k < n; ++k)
      if (IsNearDuplicate(list[j], list[k])) list[k].flag = false;

  const auto kept =
      static_cast<size_t>(std::count_if(list.begin(), list.end(), [](const TsvWaku& w) { return w.flag; }));
  if (kept < n) {
    TWakuList survivors;
    survivors.reserve(kept);
    std::copy_if(list.begin(), list.end(), std::back_inserter(survivors), [](const TsvWaku& w) { return w.flag; });
    list = std::move(survivors);
  }
}

int LocateWaku(const TWakuList& list, double cx, double cy, int count) {
  const int limit = std::min(count, static_cast<int>(list.size()));
  for (int i = 0; i < limit; ++i) {
    const TsvWaku& w = list[static_cast<size_t>(i)];
    if (w.minx < cx && cx < w.maxx && w.miny < cy && cy < w.maxy) return i;
  }
  return -1;
}
