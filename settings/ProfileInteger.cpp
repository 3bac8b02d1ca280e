#include "settings/ProfileInteger.h"

#include <algorithm>
#include <optional>

#include "common/AsciiCase.h"

namespace {

std::optional<uint32_t> DigitValue(wchar_t c, uint32_t base) {
  const int value = HexDigitValue(c);
  if (value < 0 || static_cast<uint32_t>(value) >= base) return std::nullopt;
  return static_cast<uint32_t>(value);
}

// The value of a non-empty run of digits that makes up all of text, or
// nothing when another character follows or the value exceeds limit.
std::optional<uint32_t> ParseDigits(std::wstring_view text, uint32_t base, uint32_t limit) {
  if (text.empty()) return std::nullopt;
  uint32_t value = 0;
  for (wchar_t c : text) {
    const auto digit = DigitValue(c, base);
    if (!digit || value > (limit - *digit) / base) return std::nullopt;
    value = value * base + *digit;
  }
  return value;
}

size_t HexPrefixLength(std::wstring_view text) {
  if (text.starts_with(L'$') || text.starts_with(L'x') || text.starts_with(L'X')) return 1;
  if (text.starts_with(L"0x") || text.starts_with(L"0X")) return 2;
  return 0;
}

}  // namespace

int32_t ParseProfileInteger(std::wstring_view text, int32_t defaultValue) {
  text.remove_prefix(std::min(text.find_first_not_of(L' '), text.size()));
  bool negative = false;
  if (text.starts_with(L'+') || text.starts_with(L'-')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (const size_t prefix = HexPrefixLength(text)) {
    const auto pattern = ParseDigits(text.substr(prefix), 16, UINT32_MAX);
    if (!pattern) return defaultValue;
    return static_cast<int32_t>(negative ? 0u - *pattern : *pattern);
  }
  const uint32_t limit = negative ? 2147483648u : 2147483647u;
  const auto magnitude = ParseDigits(text, 10, limit);
  if (!magnitude) return defaultValue;
  return static_cast<int32_t>(negative ? 0u - *magnitude : *magnitude);
}
