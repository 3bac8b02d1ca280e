// A long Get's sign of life: the number of entities read so far, shown in
// the page status at most every quarter of a second, and the status it
// found put back when Get fails before writing its own.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
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

  // Puts back the status found before the first showing, if there was one.
  void PutBackStatus();

 private:
  PagerView& FView;
  SteadyClock FNow;
  std::chrono::steady_clock::time_point FLastShown;
  std::optional<std::wstring> FFoundStatus;
  int FRead = 0;
};
