#include "uilogic/PageMenu.h"

#include <optional>

#include "uilogic/PageNameText.h"

namespace {

// A decimal number as the page commands write them: digits only, no
// leading zero.
std::optional<int> Decimal(std::wstring_view text) {
  if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == L'0')) return std::nullopt;
  int value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  return value;
}

}  // namespace

int PageMenuColumns(int pageCount) {
  return pageCount <= kPageMenuColumnLength ? 1 : (pageCount + kPageMenuColumnLength - 1) / kPageMenuColumnLength;
}

bool PageMenuShowsNames(int pageCount) {
  constexpr int kMostNamedColumns = 39;
  return PageMenuColumns(pageCount) <= kMostNamedColumns;
}

std::vector<PageMenuItem> PageMenuItems(int pageCount, int checkedPage, const std::wstring& drawingTitle) {
  std::vector<PageMenuItem> items;
  items.reserve(static_cast<size_t>(pageCount > 0 ? pageCount : 0) + 2);
  if (!drawingTitle.empty()) items.push_back(PageMenuItem{0, drawingTitle, false, false, false});
  if (pageCount <= 0) {
    items.push_back(PageMenuItem{0, L"ページがありません — 取得 を押してください", false, false, false});
    return items;
  }
  for (int page = 1; page <= pageCount; ++page)
    items.push_back(PageMenuItem{page, std::to_wstring(page), page == checkedPage, true,
                                 page > 1 && (page - 1) % kPageMenuColumnLength == 0});
  return items;
}

int PageInStatus(std::wstring_view status, int pageCount) {
  constexpr std::wstring_view kSeparator = L" / ";
  const size_t separator = status.find(kSeparator);
  if (separator == std::wstring_view::npos) return 0;
  const auto page = Decimal(status.substr(0, separator));
  const auto count = Decimal(status.substr(separator + kSeparator.size()));
  if (!page || !count || *count != pageCount || *page < 1 || *page > pageCount) return 0;
  return *page;
}

void AddPageNames(std::vector<PageMenuItem>& items, const std::vector<PageName>& names) {
  for (PageMenuItem& item : items) {
    if (item.page < 1 || static_cast<size_t>(item.page) > names.size()) continue;
    const std::wstring name = NameLabel(names[static_cast<size_t>(item.page - 1)]);
    if (!name.empty()) item.label += L"  " + name;
  }
}

std::wstring FitLabel(const std::wstring& label, int maxWidth, const std::function<int(std::wstring_view)>& widthOf) {
  if (widthOf(label) <= maxWidth) return label;
  constexpr wchar_t kEllipsis[] = L"\u2026";
  // The longest start that fits: widths grow with the length.
  size_t fits = 0;
  size_t tooLong = label.size();
  while (tooLong - fits > 1) {
    const size_t middle = fits + (tooLong - fits) / 2;
    if (widthOf(label.substr(0, middle) + kEllipsis) <= maxWidth) {
      fits = middle;
    } else {
      tooLong = middle;
    }
  }
  // Never half of a surrogate pair.
  if (fits > 0 && label[fits - 1] >= 0xD800 && label[fits - 1] <= 0xDBFF) --fits;
  return label.substr(0, fits) + kEllipsis;
}
