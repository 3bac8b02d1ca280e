// Sheet names read from title blocks: the marks Get collects and the names
// of the pages.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "pages/Waku.h"

// One text per tag of [Waku] Names, in its order; empty for a page without
// a name.
using PageName = std::vector<std::wstring>;

// A name whose texts are all empty is no name.
bool HasText(const PageName& name);

// A title block reference: the centre of its bounding box and its texts.
struct TitleMark {
  double x, y;
  PageName texts;
};

// Each page's name: that of the first mark with a text whose centre lies
// inside the page's frame; a mark may name several overlapping pages, or
// none.
std::vector<PageName> NamePages(const TWakuList& pages, std::span<const TitleMark> marks);

// Pages whose names have a text first, in name order; the others after them. Ties and the
// unnamed pages keep their reading order.
void OrderPagesByName(TWakuList& pages, std::vector<PageName>& names);
