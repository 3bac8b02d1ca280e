// How sheets are named and ordered: [Waku] Names, TitleBlocks and Order,
// read once at start, never written.
#pragma once

#include <string>
#include <vector>

#include "settings/Settings.h"

struct SheetNameSettings {
  // The tags of Names, as written, in their order; empty: no names.
  std::vector<std::wstring> tags;
  // TitleBlocks; empty: the Blocks pattern.
  std::wstring titleBlocks;
  // Order=Names.
  bool orderByName = false;
  // A line for the user about an Order that is not understood; empty when
  // there is none.
  std::wstring problem;
};

// Names is split at its commas, each tag trimmed of blanks, empty ones
// left out. Order is Names (in any letter case) or empty; any other value
// is a problem, and the pages keep their reading order.
SheetNameSettings LoadSheetNameSettings(Profile& profile);
