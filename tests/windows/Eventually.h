// Waiting for another process to reach a state: the condition is polled
// until it holds or a generous bound passes. Tests assert on the state
// reached, never on how long it took.
#pragma once

#include <chrono>
#include <thread>

inline constexpr std::chrono::seconds kEventuallyBound{60};

template <class Condition>
bool Eventually(Condition&& condition, std::chrono::milliseconds bound = kEventuallyBound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}
