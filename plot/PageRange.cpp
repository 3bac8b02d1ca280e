#include "plot/PageRange.h"

#include <algorithm>
#include <optional>

namespace {

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t' || text.front() == L'\x3000'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t' || text.back() == L'\x3000'))
    text.remove_suffix(1);
  return text;
}

// A page number of ASCII digits; nothing for anything else or one too
// large to be a page.
std::optional<int> PageNumber(std::wstring_view text) {
  text = Trimmed(text);
  if (text.empty() || text.size() > 6) return std::nullopt;
  int number = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    number = number * 10 + (c - L'0');
  }
  return number;
}

PageRange Error(std::wstring text) { return PageRange{{}, std::move(text)}; }

}  // namespace

PageRange ParsePageRange(std::wstring_view text, int pageCount) {
  if (Trimmed(text).empty()) return Error(L"ページを指定してください");
  std::vector<bool> chosen(static_cast<size_t>(std::max(pageCount, 0)), false);
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(L',', start), text.size());
    const std::wstring_view item = Trimmed(text.substr(start, comma - start));
    start = comma + 1;
    if (item.empty()) return Error(L"空の項目があります");
    const std::wstring itemText(item);
    const size_t dash = item.find(L'-');
    const std::optional<int> first = PageNumber(item.substr(0, dash));
    std::optional<int> last = first;
    if (dash != std::wstring_view::npos) {
      const std::wstring_view tail = Trimmed(item.substr(dash + 1));
      last = tail.empty() ? std::optional<int>(pageCount) : PageNumber(tail);
    }
    if (!first || !last) return Error(L"読めない指定です: " + itemText);
    if (*first > *last) return Error(L"範囲が逆です: " + itemText);
    if (*first < 1 || *last > pageCount)
      return Error(L"ページは 1 から " + std::to_wstring(pageCount) + L" までです: " + itemText);
    for (int page = *first; page <= *last; ++page) chosen[static_cast<size_t>(page - 1)] = true;
  }
  PageRange range;
  for (size_t i = 0; i < chosen.size(); ++i)
    if (chosen[i]) range.pages.push_back(static_cast<int>(i));
  return range;
}
