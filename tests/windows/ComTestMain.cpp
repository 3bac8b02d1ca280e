// The tests run in a single-threaded apartment, as the pager's UI thread does.
#include <gtest/gtest.h>

#include "cad/ComScoped.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const ScopedApartment apartment;
  return RUN_ALL_TESTS();
}
