#include "settings/SheetNameSettings.h"

#include "common/AsciiCase.h"

namespace {

const std::wstring kWakuSection = L"Waku";

std::wstring Trimmed(std::wstring_view text) {
  constexpr std::wstring_view kBlanks = L" \t";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos) return {};
  return std::wstring(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

std::vector<std::wstring> Tags(std::wstring_view names) {
  std::vector<std::wstring> tags;
  while (true) {
    const size_t comma = names.find(L',');
    if (std::wstring tag = Trimmed(names.substr(0, comma)); !tag.empty()) tags.push_back(std::move(tag));
    if (comma == std::wstring_view::npos) return tags;
    names.remove_prefix(comma + 1);
  }
}

}  // namespace

SheetNameSettings LoadSheetNameSettings(Profile& profile) {
  SheetNameSettings settings;
  settings.tags = Tags(profile.ReadString(kWakuSection, L"Names", L""));
  settings.titleBlocks = profile.ReadString(kWakuSection, L"TitleBlocks", L"");
  const std::wstring order = profile.ReadString(kWakuSection, L"Order", L"");
  settings.orderByName = EqualIgnoringAsciiCase(std::wstring_view(order), std::wstring_view(L"Names"));
  if (!order.empty() && !settings.orderByName)
    settings.problem = L"並び順 '" + order + L"' は使えません。[Waku] Order に書けるのは Names だけです。" +
                       L"ページは読み取り順に並べます。";
  return settings;
}
