// A long Get's sign of life: the number of entities read so far, shown in
// the page status at most every quarter of a second (Get puts back the
// status it found when it fails).
#pragma once

#include <chrono>
#include <functional>
#include <string>

class PagerView;

using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

std::chrono::steady_clock::time_point SteadyNow();

class EntityProgress {
 public:
  static constexpr std::chrono::milliseconds kInterval{250};

  // Reading begins now; the first showing comes one interval later.
  EntityProgress(PagerView& view, SteadyClock now);

  // After each entity, of either pass: shows how many were read once an
  // interval has passed since reading began or since the last showing.
  // Calls nothing but the clock and the view.
  void Read();

 private:
  PagerView& FView;
  SteadyClock FNow;
  std::chrono::steady_clock::time_point FLastShown;
  int FRead = 0;
};
