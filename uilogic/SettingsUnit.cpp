#include "uilogic/SettingsUnit.h"

#include <algorithm>
#include <variant>

#include "common/AsciiCase.h"
#include "uilogic/PageNameText.h"

namespace {

const std::wstring kWaku = L"Waku";
constexpr std::wstring_view kWildcardCharacters = L"#@.*?~[]`,";
constexpr wchar_t kEscape = L'`';

bool SameText(std::wstring_view a, std::wstring_view b) { return EqualIgnoringAsciiCase(a, b); }

bool Contains(std::span<const std::wstring> names, std::wstring_view name) {
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& other) { return SameText(other, name); });
}

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

// The alternatives between the commas a backquote does not escape.
std::vector<std::wstring> Alternatives(std::wstring_view pattern) {
  std::vector<std::wstring> alternatives;
  std::wstring current;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == kEscape && i + 1 < pattern.size()) {
      current += pattern.substr(i, 2);
      ++i;
    } else if (pattern[i] == L',') {
      alternatives.emplace_back(Trimmed(current));
      current.clear();
    } else {
      current += pattern[i];
    }
  }
  alternatives.emplace_back(Trimmed(current));
  std::erase_if(alternatives, [](const std::wstring& a) { return a.empty(); });
  return alternatives;
}

// The name an alternative matches alone, when it has no wildcard.
std::optional<std::wstring> LiteralOf(std::wstring_view alternative) {
  std::wstring name;
  for (size_t i = 0; i < alternative.size(); ++i) {
    if (alternative[i] == kEscape && i + 1 < alternative.size()) {
      name += alternative[++i];
    } else if (kWildcardCharacters.find(alternative[i]) != std::wstring_view::npos) {
      return std::nullopt;
    } else {
      name += alternative[i];
    }
  }
  return name;
}

std::wstring Joined(std::span<const std::wstring> parts) {
  std::wstring joined;
  for (const std::wstring& part : parts) joined += (joined.empty() ? L"" : L",") + part;
  return joined;
}

bool SameHotKey(const std::wstring& a, const std::wstring& b) {
  if (a == b) return true;
  const auto first = ParseKeyCombination(a);
  const auto second = ParseKeyCombination(b);
  return std::holds_alternative<KeyCombination>(first) && std::holds_alternative<KeyCombination>(second) &&
         std::get<KeyCombination>(first) == std::get<KeyCombination>(second);
}

}  // namespace

std::vector<ProfileChange> SettingsChanges(const SettingsValues& before, const SettingsValues& after) {
  std::vector<ProfileChange> changes;
  const auto change = [&changes](const std::wstring& section, const std::wstring& key, const std::wstring& was,
                                 const std::wstring& now) {
    if (was != now) changes.push_back(ProfileChange{section, key, now});
  };
  change(kWaku, L"Layer", before.layer, after.layer);
  change(kWaku, L"Blocks", before.blocks, after.blocks);
  change(kWaku, L"TitleBlocks", before.titleBlocks, after.titleBlocks);
  change(kWaku, L"Names", NamesOf(before.tags), NamesOf(after.tags));
  change(kWaku, L"Order", before.orderByName ? L"Names" : L"", after.orderByName ? L"Names" : L"");
  for (const PagerCommand command :
       {PagerCommand::Next, PagerCommand::Previous, PagerCommand::Get, PagerCommand::Plot}) {
    const size_t i = static_cast<size_t>(command);
    if (!SameHotKey(before.hotKeys[i], after.hotKeys[i]))
      changes.push_back(ProfileChange{kKeysSection, HotKeyName(command), after.hotKeys[i]});
  }
  return changes;
}

std::wstring EscapedName(std::wstring_view name) {
  std::wstring escaped;
  for (const wchar_t c : name) {
    if (kWildcardCharacters.find(c) != std::wstring_view::npos) escaped += kEscape;
    escaped += c;
  }
  return escaped;
}

std::wstring BlockPatternOf(std::span<const std::wstring> checked, std::wstring_view typed) {
  std::vector<std::wstring> alternatives;
  const auto add = [&alternatives](std::wstring alternative) {
    if (!alternative.empty() && !Contains(alternatives, alternative)) alternatives.push_back(std::move(alternative));
  };
  for (const std::wstring& name : checked) add(EscapedName(Trimmed(name)));
  for (std::wstring& alternative : Alternatives(typed)) add(std::move(alternative));
  return Joined(alternatives);
}

PatternChoice SplitBlockPattern(std::wstring_view pattern, std::span<const std::wstring> listed) {
  PatternChoice choice;
  std::vector<std::wstring> typed;
  for (std::wstring& alternative : Alternatives(pattern)) {
    const std::optional<std::wstring> literal = LiteralOf(alternative);
    const auto found = literal ? std::find_if(listed.begin(), listed.end(),
                                              [&](const std::wstring& name) { return SameText(name, *literal); })
                               : listed.end();
    if (found != listed.end()) {
      if (!Contains(choice.checked, *found)) choice.checked.push_back(*found);
    } else {
      typed.push_back(std::move(alternative));
    }
  }
  choice.typed = Joined(typed);
  return choice;
}

std::wstring NamesOf(std::span<const std::wstring> tags) {
  std::vector<std::wstring> unique;
  for (const std::wstring& tag : tags) {
    const std::wstring trimmed(Trimmed(tag));
    if (!trimmed.empty() && !Contains(unique, trimmed)) unique.push_back(trimmed);
  }
  return Joined(unique);
}

void AddTagChoices(std::vector<TagChoice>& choices, std::span<const std::wstring> read) {
  for (const std::wstring& tag : read)
    if (std::none_of(choices.begin(), choices.end(), [&](const TagChoice& c) { return SameText(c.tag, tag); }))
      choices.push_back(TagChoice{tag, false});
}

bool MoveTagChoice(std::vector<TagChoice>& choices, size_t index, int direction) {
  if (index >= choices.size()) return false;
  if (direction < 0 ? index == 0 : index + 1 >= choices.size()) return false;
  std::swap(choices[index], choices[direction < 0 ? index - 1 : index + 1]);
  return true;
}

std::vector<std::wstring> CheckedTags(const std::vector<TagChoice>& choices) {
  std::vector<std::wstring> tags;
  for (const TagChoice& choice : choices)
    if (choice.checked) tags.push_back(choice.tag);
  return tags;
}

std::wstring TrialText(const PageTrial& trial) {
  if (trial.pages <= 0) return trial.reason;
  std::wstring text = std::to_wstring(trial.pages) + L" ページ";
  std::wstring names;
  for (size_t i = 0; i < trial.firstNames.size(); ++i) {
    const std::wstring name = NameLabel(trial.firstNames[i]);
    if (name.empty()) continue;
    names += (names.empty() ? L"" : L", ") + std::to_wstring(i + 1) + L" " + name;
  }
  if (names.empty()) return text;
  text += L" — " + names;
  if (static_cast<size_t>(trial.pages) > trial.firstNames.size()) text += L" …";
  return text;
}

std::wstring HotKeyFieldProblem(const KeyCombination& keys, std::span<const KeyCombination> earlierFields,
                                std::span<const KeyCombination> pagerOwn,
                                const std::function<bool(const KeyCombination&)>& tryRegister) {
  if (std::find(earlierFields.begin(), earlierFields.end(), keys) != earlierFields.end())
    return L"ほかの欄と同じ組み合わせです";
  if (!KeyCombinationText(keys)) return L"このキーは使えません";
  if (std::find(pagerOwn.begin(), pagerOwn.end(), keys) != pagerOwn.end()) return {};
  if (!tryRegister(keys)) return L"ほかのプログラムが使っています";
  return {};
}
