// ASCII letter case, as automation names, ProgIDs and DXF keywords use it:
// only A-Z and a-z change, every other character stays as it is.
#pragma once

#include <concepts>
#include <string>
#include <string_view>

template <std::integral Char>
constexpr Char UpperAscii(Char c) {
  return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

template <std::integral Char>
constexpr Char LowerAscii(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

inline std::wstring UpperAscii(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = UpperAscii(c);
  return upper;
}

inline std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

template <std::integral Char>
constexpr bool EqualIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

// 0-15 for an ASCII hexadecimal digit of either case, -1 for anything else.
template <std::integral Char>
constexpr int HexDigitValue(Char c) {
  if (c >= Char('0') && c <= Char('9')) return static_cast<int>(c - Char('0'));
  const Char upper = UpperAscii(c);
  if (upper >= Char('A') && upper <= Char('F')) return static_cast<int>(upper - Char('A')) + 10;
  return -1;
}
