// The settings dialog's portable half: the values it edits, the patterns
// and the Names it makes of the user's choices, the keys of page.ini its
// OK changes, and the texts it shows.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/HotKeySettings.h"
#include "pages/PageTrial.h"
#include "settings/ProfileChanges.h"

// What the dialog edits, as the pager holds it.
struct SettingsValues {
  std::wstring layer;
  std::wstring blocks;             // [Waku] Blocks
  std::wstring titleBlocks;        // [Waku] TitleBlocks
  std::vector<std::wstring> tags;  // [Waku] Names, in order
  bool orderByName = false;        // [Waku] Order=Names
  HotKeyTexts hotKeys;             // [Keys] Next, Previous, Get, Plot
};

// The keys of page.ini whose values differ, an emptied one to be removed.
// Names compare as lists of tags, the hot keys as combinations, so that a
// value merely written differently is left as the file has it.
std::vector<ProfileChange> SettingsChanges(const SettingsValues& before, const SettingsValues& after);

// The name with a backquote before each character the CAD's wildcards
// give a meaning (and before a comma), so that it matches itself alone.
std::wstring EscapedName(std::wstring_view name);

// The checked names, escaped, then the typed pattern's alternatives, each
// once in any letter case; blanks around an alternative and empty ones
// are left out.
std::wstring BlockPatternOf(std::span<const std::wstring> checked, std::wstring_view typed);

// A pattern split for the dialog: the listed names it names literally are
// checked, everything else stays typed.
struct PatternChoice {
  std::vector<std::wstring> checked;  // as listed
  std::wstring typed;
};
PatternChoice SplitBlockPattern(std::wstring_view pattern, std::span<const std::wstring> listed);

// The tags joined by commas, each once in any letter case.
std::wstring NamesOf(std::span<const std::wstring> tags);

struct TagChoice {
  std::wstring tag;
  bool checked;
};
// The tags of Names first, checked, in their order; then each tag read that
// is not among the choices yet, unchecked, in the order read.
void AddTagChoices(std::vector<TagChoice>& choices, std::span<const std::wstring> read);
// Moves the choice at index one place up (-1) or down (+1); false when it
// cannot move.
bool MoveTagChoice(std::vector<TagChoice>& choices, size_t index, int direction);
std::vector<std::wstring> CheckedTags(const std::vector<TagChoice>& choices);

// "24 ページ — 1 A-101 1階平面図, 2 A-102 …", or the reason.
std::wstring TrialText(const PageTrial& trial);

// Why the combination of a hot-key field cannot be used, empty when it can:
// one that an earlier field holds, one without a name in page.ini, or one
// another program holds (tryRegister false; the pager's own combinations
// are not tried, they are free for it).
std::wstring HotKeyFieldProblem(const KeyCombination& keys, std::span<const KeyCombination> earlierFields,
                                std::span<const KeyCombination> pagerOwn,
                                const std::function<bool(const KeyCombination&)>& tryRegister);
