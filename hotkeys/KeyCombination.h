// Key combinations as the settings file names them: modifiers joined with
// "+" and then one key, for example Ctrl+Alt+PageDown. The values are those
// of the platform's hot keys (MOD_* flags, virtual-key codes), so that they
// pass to RegisterHotKey as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace key_modifier {
inline constexpr uint32_t Alt = 0x1;
inline constexpr uint32_t Ctrl = 0x2;
inline constexpr uint32_t Shift = 0x4;
inline constexpr uint32_t Win = 0x8;
}  // namespace key_modifier

struct KeyCombination {
  uint32_t modifiers;  // key_modifier flags
  uint32_t key;        // virtual-key code

  friend bool operator==(const KeyCombination&, const KeyCombination&) = default;
};

// Modifiers Ctrl, Alt, Shift and Win, each at most once and in any order,
// then one key: a letter, a digit, F1-F24, PageUp, PageDown, Home, End,
// Left, Right, Up, Down, Insert, Delete, Space, Pause or Num0-Num9. Names
// are case-insensitive; blanks around a name are allowed. Anything else
// gives the reason, in the user's language, why the text is no combination.
std::variant<KeyCombination, std::wstring> ParseKeyCombination(std::wstring_view text);

// The combination as ParseKeyCombination reads it, modifiers in the order
// Ctrl, Alt, Shift, Win (Ctrl+Alt+PageDown); nothing for a key without a
// name there.
std::optional<std::wstring> KeyCombinationText(const KeyCombination& keys);
