#include "uilogic/PageListText.h"

#include <charconv>

#include "uilogic/PageNameText.h"

namespace {

std::wstring Number(double value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return std::wstring(digits, result.ptr);
}

}  // namespace

std::wstring PageListText(const TWakuList& pages, const std::vector<PageName>& names,
                          const std::vector<std::wstring>& tags) {
  std::wstring text = L"ページ";
  for (const std::wstring& tag : tags) text += L"\t" + OneLine(tag);
  text += L"\t左\t下\t右\t上\r\n";
  for (size_t i = 0; i < pages.size(); ++i) {
    text += std::to_wstring(i + 1);
    for (size_t t = 0; t < tags.size(); ++t) {
      const bool named = i < names.size() && t < names[i].size();
      text += L"\t" + (named ? OneLine(names[i][t]) : std::wstring());
    }
    const TsvWaku& w = pages[i];
    for (const double bound : {w.minx, w.miny, w.maxx, w.maxy}) text += L"\t" + Number(bound);
    text += L"\r\n";
  }
  return text;
}
