#include "pages/SheetNames.h"

#include <algorithm>
#include <numeric>

#include "pages/NameOrder.h"

bool HasText(const PageName& name) {
  return std::any_of(name.begin(), name.end(), [](const std::wstring& text) { return !text.empty(); });
}

std::vector<PageName> NamePages(const TWakuList& pages, std::span<const TitleMark> marks) {
  std::vector<PageName> names(pages.size());
  for (size_t i = 0; i < pages.size(); ++i) {
    const TsvWaku& w = pages[i];
    const auto mark = std::find_if(marks.begin(), marks.end(), [&w](const TitleMark& m) {
      return HasText(m.texts) && w.minx < m.x && m.x < w.maxx && w.miny < m.y && m.y < w.maxy;
    });
    if (mark != marks.end()) names[i] = mark->texts;
  }
  return names;
}

void OrderPagesByName(TWakuList& pages, std::vector<PageName>& names) {
  std::vector<size_t> order(pages.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&names](size_t a, size_t b) {
    const PageName& x = names[a];
    const PageName& y = names[b];
    const bool xNamed = HasText(x);
    const bool yNamed = HasText(y);
    if (!xNamed || !yNamed) return xNamed && !yNamed;
    return CompareSheetNames(x, y) < 0;
  });
  TWakuList orderedPages;
  std::vector<PageName> orderedNames;
  orderedPages.reserve(order.size());
  orderedNames.reserve(order.size());
  for (const size_t i : order) {
    orderedPages.push_back(pages[i]);
    orderedNames.push_back(std::move(names[i]));
  }
  pages = std::move(orderedPages);
  names = std::move(orderedNames);
}
