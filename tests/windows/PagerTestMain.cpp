// The pager tests run as page.exe does: in a single-threaded apartment,
// with the dark style applied and the application title set.
#include <gtest/gtest.h>

#include "cad/ComScoped.h"
#include "theme/VisualStyle.h"
#include "win/Application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const ScopedApartment apartment;
  if (!ApplyVisualStyle(GetModuleHandleW(nullptr), kDarkStyleName)) return 1;
  ApplicationTitle = L"PAGE";
  return RUN_ALL_TESTS();
}
