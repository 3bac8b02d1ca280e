// The system's own table, the one its file systems use.
#include <windows.h>

#include <limits>
#include <stdexcept>

#include "common/FileNameCase.h"

namespace {

int LengthOf(std::wstring_view text) {
  if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max())) throw std::length_error("text too long");
  return static_cast<int>(text.size());
}

}  // namespace

bool EqualIgnoringFileNameCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && CompareStringOrdinal(a.data(), LengthOf(a), b.data(), LengthOf(b), TRUE) == CSTR_EQUAL;
}

std::wstring UpperFileNameCase(std::wstring_view text) {
  if (text.empty()) return {};
  std::wstring upper(text.size(), L'\0');
  const int written = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), LengthOf(text), upper.data(),
                                    LengthOf(text), nullptr, nullptr, 0);
  if (written != LengthOf(text)) return std::wstring(text);
  return upper;
}
