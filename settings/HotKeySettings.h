// The hot keys of the settings file's [Keys] section: read once at start,
// never written. Without the section no hot key is asked for.
#pragma once

#include <string>
#include <vector>

#include "settings/KeyCombination.h"
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

// Next, Previous, Get and Plot; a missing or empty key asks for nothing. A text
// that is no combination, or one an earlier key already asked for, is a
// problem instead of a binding.
HotKeySettings LoadHotKeySettings(Profile& profile);

// "ホットキー '<text>' を登録できません。<reason>"
std::wstring HotKeyProblem(const std::wstring& text, const std::wstring& reason);
