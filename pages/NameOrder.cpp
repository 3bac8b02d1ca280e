#include "pages/NameOrder.h"

#include <algorithm>

#include "common/AsciiCase.h"

namespace {

constexpr wchar_t kFullWidthZero = L'\xFF10';
constexpr wchar_t kFullWidthNine = L'\xFF19';
constexpr wchar_t kFullWidthFirst = L'\xFF01';  // full-width '!'
constexpr wchar_t kFullWidthLast = L'\xFF5E';   // full-width '~'
constexpr wchar_t kFullWidthOffset = L'\xFEE0';

int DigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= kFullWidthZero && c <= kFullWidthNine) return c - kFullWidthZero;
  return -1;
}

bool IsDigit(wchar_t c) { return DigitValue(c) >= 0; }

// Full-width ASCII as half-width, then lower case.
wchar_t Folded(wchar_t c) {
  if (c >= kFullWidthFirst && c <= kFullWidthLast) c = static_cast<wchar_t>(c - kFullWidthOffset);
  return LowerAscii(c);
}

std::wstring_view NextRun(std::wstring_view text) {
  const bool digits = IsDigit(text.front());
  const auto end = std::find_if(text.begin(), text.end(), [digits](wchar_t c) { return IsDigit(c) != digits; });
  return text.substr(0, static_cast<size_t>(end - text.begin()));
}

int Sign(long long value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

// Any length: the values compare by their significant digits.
int CompareDigitRuns(std::wstring_view a, std::wstring_view b) {
  const auto significant = [](std::wstring_view run) {
    const size_t first = static_cast<size_t>(
        std::find_if(run.begin(), run.end(), [](wchar_t c) { return DigitValue(c) != 0; }) - run.begin());
    return run.substr(first);
  };
  const std::wstring_view x = significant(a);
  const std::wstring_view y = significant(b);
  if (x.size() != y.size()) return Sign(static_cast<long long>(x.size()) - static_cast<long long>(y.size()));
  for (size_t i = 0; i < x.size(); ++i)
    if (const int d = DigitValue(x[i]) - DigitValue(y[i]); d != 0) return Sign(d);
  return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
}

int CompareOtherRuns(std::wstring_view a, std::wstring_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i)
    if (const int d = static_cast<int>(Folded(a[i])) - static_cast<int>(Folded(b[i])); d != 0) return Sign(d);
  return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
}

}  // namespace

int CompareSheetTexts(std::wstring_view a, std::wstring_view b) {
  while (!a.empty() && !b.empty()) {
    const std::wstring_view x = NextRun(a);
    const std::wstring_view y = NextRun(b);
    const bool xDigits = IsDigit(x.front());
    const bool yDigits = IsDigit(y.front());
    int order = 0;
    if (xDigits != yDigits) {
      order = xDigits ? -1 : 1;
    } else {
      order = xDigits ? CompareDigitRuns(x, y) : CompareOtherRuns(x, y);
    }
    if (order != 0) return order;
    a.remove_prefix(x.size());
    b.remove_prefix(y.size());
  }
  return a.empty() ? (b.empty() ? 0 : -1) : 1;
}

int CompareSheetNames(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i)
    if (const int order = CompareSheetTexts(a[i], b[i]); order != 0) return order;
  return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
}
