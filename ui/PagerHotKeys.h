// The hot keys of the settings file's [Keys] section, registered for the
// pager window while it lives: pressed anywhere, they post WM_HOTKEY to it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hotkeys/HotKeySettings.h"
#include "win/Handles.h"
#include "win/Win32Api.h"

class PagerHotKeys {
 public:
  // Registers each binding, without auto-repeat. Returns one line for each
  // combination that cannot be used, the settings' own problems first.
  std::vector<std::wstring> Register(HWND window, const HotKeySettings& settings);
  // The command of a WM_HOTKEY's ID; nothing for an ID of no binding here.
  static std::optional<PagerCommand> CommandOf(WPARAM id);
  void Unregister() {
    FKeys.clear();
    FCombinations.clear();
  }
  // The combinations registered.
  const std::vector<KeyCombination>& Registered() const { return FCombinations; }

 private:
  std::vector<UniqueHotKey> FKeys;
  std::vector<KeyCombination> FCombinations;
};
