// How a dialog or a job runs its work that calls the CAD: the pager runs
// each piece as it runs its commands (the wait watched, 待機中, Esc); a
// caller without a pager runs the work as it is.
#pragma once

#include <functional>

// Runs the work; true when the user gave a waiting call of it up.
using CadWork = std::function<bool(const std::function<void()>& work)>;

// The work run as it is, never given up: for callers without a pager.
inline bool RunUnwatched(const std::function<void()>& work) {
  work();
  return false;
}
