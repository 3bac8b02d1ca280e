#include "theme/StylePalette.h"

#include <array>
#include <utility>

#include "common/AsciiCase.h"

namespace {

struct PaletteKey {
  std::string_view name;
  StyleColor StylePalette::*color;
};

constexpr std::array<PaletteKey, 10> kKeys{{
    {"window", &StylePalette::window},
    {"button", &StylePalette::button},
    {"buttonHover", &StylePalette::buttonHover},
    {"buttonPressed", &StylePalette::buttonPressed},
    {"border", &StylePalette::border},
    {"text", &StylePalette::text},
    {"disabledText", &StylePalette::disabledText},
    {"accent", &StylePalette::accent},
    {"field", &StylePalette::field},
    {"selectedText", &StylePalette::selectedText},
}};

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<StyleColor> ParseColor(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  StyleColor color = 0;
  for (char c : text.substr(1)) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    color = color << 4 | static_cast<StyleColor>(digit);
  }
  return color;
}

}  // namespace

std::optional<StylePalette> ParseStylePalette(std::string_view text) {
  StylePalette palette{};
  std::array<bool, kKeys.size()> seen{};
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';') continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view name = Trim(line.substr(0, equals));
    const std::optional<StyleColor> color = ParseColor(Trim(line.substr(equals + 1)));
    if (!color) return std::nullopt;
    size_t index = 0;
    while (index < kKeys.size() && kKeys[index].name != name) ++index;
    if (index == kKeys.size() || std::exchange(seen[index], true)) return std::nullopt;
    palette.*kKeys[index].color = *color;
  }
  for (bool found : seen) {
    if (!found) return std::nullopt;
  }
  return palette;
}

std::wstring StyleResourceName(std::wstring_view styleName) {
  std::wstring name;
  for (wchar_t c : styleName) {
    if (c == L' ') {
      name += L'_';
    } else {
      name += UpperAscii(c);
    }
  }
  return name;
}

std::wstring StyleNotFoundText(std::wstring_view styleName) {
  return L"スタイル '" + std::wstring(styleName) + L"' が見つかりません";
}
