// The mouse wheel over the pager: one page a notch. A high-resolution wheel
// reports fractions of a notch, which add up before a page is stepped.
#pragma once

inline constexpr int kWheelNotch = 120;  // WHEEL_DELTA

class WheelSteps {
 public:
  // Adds a wheel message's delta (positive: away from the user) and returns
  // the whole notches it completes: negative towards the user (Next),
  // positive away (Previous). The rest waits for the next delta.
  int Add(int delta);

 private:
  int FRest = 0;
};
