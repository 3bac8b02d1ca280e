// The pages a user names for a plot: "1-3,5,8-" over the pages as numbered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct PageRange {
  std::vector<int> pages;  // 0-based indexes, ascending, each once
  std::wstring error;      // why the text names no pages; empty when it does
};

// Reads comma-separated items, each a page number, "a-b" or "a-" (to the
// last page), spaces allowed anywhere between them. A reversed range, a
// page outside 1..pageCount, an empty item or anything else is an error
// that says which item and why.
PageRange ParsePageRange(std::wstring_view text, int pageCount);
