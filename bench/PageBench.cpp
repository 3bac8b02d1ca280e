// Prints how long ordering, searching and one Get take for drawings of
// growing size. Not a test: it asserts nothing and only reports figures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "pages/PageCommands.h"
#include "pages/Pages.h"
#include "sim/SimCad.h"

namespace {

using Clock = std::chrono::steady_clock;

// Sheets in rows of 25 with a little jitter, shuffled as a drawing's
// entities usually are.
TWakuList Sheets(int count) {
  std::mt19937 random(42);
  std::uniform_real_distribution<double> jitter(-4.0, 4.0);
  TWakuList list;
  for (int i = 0; i < count; ++i) {
    const double x = 500.0 * (i % 25) + jitter(random);
    const double y = 400.0 * (i / 25) + jitter(random);
    list.push_back({x, y, x + 420, y + 297, false, 0, false});
  }
  std::shuffle(list.begin(), list.end(), random);
  return list;
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class QuietView : public PagerView {
 public:
  std::wstring LayerName() const override { return L"KESTRA"; }
  bool UpperLeft() const override { return false; }
  std::wstring PageStatus() const override { return {}; }
  void SetPageStatus(const std::wstring&) override {}
};

void BenchOrdering(int count) {
  const TWakuList sheets = Sheets(count);
  TWakuList list = sheets;
  auto start = Clock::now();
  SortWakuList(list, true);
  const double sortMs = MillisecondsSince(start);

  // Search for a point in every page, as stepping through all of them does.
  start = Clock::now();
  long found = 0;
  for (const TsvWaku& w : list) found += LocateWaku(list, (w.minx + w.maxx) / 2, (w.miny + w.maxy) / 2, count) >= 0;
  const double locateUs = MillisecondsSince(start) * 1000.0 / static_cast<double>(list.size());
  std::printf("%6d frames: SortWakuList %9.3f ms, LocateWaku %8.3f us per search (%ld found)\n", count, sortMs,
              locateUs, found);
}

void BenchGet(int count) {
  sim::Drawing drawing;
  for (const TsvWaku& w : Sheets(count))
    drawing.entities.push_back(sim::Rectangle(L"KESTRA", w.minx, w.miny, w.maxx, w.maxy));
  sim::SimCad cad(drawing);
  sim::SimObjectTable objects;
  sim::SimWindowControl windows(cad);
  TargetProgId = kDefaultProgId;
  objects.Run(TargetProgId, cad);
  QuietView view;

  const auto start = Clock::now();
  GetCommand(view, {objects, windows});
  const double getMs = MillisecondsSince(start);
  std::printf("%6d frames: one Get through the in-process simulated CAD %8.3f ms (%zu calls, %zu pages)\n", count,
              getMs, cad.Journal().size(), Pages.WakuList().size());
}

}  // namespace

int main() {
  for (int count : {100, 1000, 10000}) BenchOrdering(count);
  BenchGet(1000);
  return 0;
}
