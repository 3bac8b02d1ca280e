// The hot keys of the settings file's [Keys] section: read once at start,
// never written. Without the section no hot key is asked for.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "hotkeys/KeyCombination.h"
#include "settings/Settings.h"

// The pager commands a hot key can run, as their buttons (or the page
// menu's 印刷...) run them.
enum class PagerCommand { Next, Previous, Get, Plot };

struct HotKeyBinding {
  PagerCommand command;
  KeyCombination keys;
  std::wstring text;  // as written in the file, for messages
};

struct HotKeySettings {
  std::vector<HotKeyBinding> bindings;
  // One line per combination that cannot be used, for the user.
  std::vector<std::wstring> problems;
};

inline constexpr wchar_t kKeysSection[] = L"Keys";

// The texts of Next, Previous, Get and Plot, in the order of PagerCommand.
using HotKeyTexts = std::array<std::wstring, 4>;

// The key of [Keys] that names the command's combination.
const wchar_t* HotKeyName(PagerCommand command);

// The bindings of the texts; an empty text asks for nothing. A text that is
// no combination, or one an earlier text already asked for, is a problem
// instead of a binding.
HotKeySettings HotKeySettingsOf(const HotKeyTexts& texts);

// The texts as the file has them; a missing key is empty.
HotKeyTexts LoadHotKeyTexts(Profile& profile);

// Next, Previous, Get and Plot; a missing or empty key asks for nothing. A text
// that is no combination, or one an earlier key already asked for, is a
// problem instead of a binding.
HotKeySettings LoadHotKeySettings(Profile& profile);

// "ホットキー '<text>' を登録できません。<reason>"
std::wstring HotKeyProblem(const std::wstring& text, const std::wstring& reason);
