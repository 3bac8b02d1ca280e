#include "uilogic/WheelSteps.h"

int WheelSteps::Add(int delta) {
  // A turn the other way starts afresh: what was left of the first
  // direction is not paid back.
  if ((delta > 0 && FRest < 0) || (delta < 0 && FRest > 0)) FRest = 0;
  FRest += delta;
  const int notches = FRest / kWheelNotch;
  FRest -= notches * kWheelNotch;
  return notches;
}
