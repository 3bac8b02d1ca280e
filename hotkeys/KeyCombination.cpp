#include "hotkeys/KeyCombination.h"

#include <array>
#include <optional>
#include <span>

#include "common/AsciiCase.h"

namespace {

struct NamedValue {
  std::wstring_view name;
  uint32_t value;
};

constexpr std::array<NamedValue, 4> kModifiers{{
    {L"Ctrl", key_modifier::Ctrl},
    {L"Alt", key_modifier::Alt},
    {L"Shift", key_modifier::Shift},
    {L"Win", key_modifier::Win},
}};

// Virtual-key codes of the named keys.
constexpr std::array<NamedValue, 12> kNamedKeys{{
    {L"PageUp", 0x21},
    {L"PageDown", 0x22},
    {L"End", 0x23},
    {L"Home", 0x24},
    {L"Left", 0x25},
    {L"Up", 0x26},
    {L"Right", 0x27},
    {L"Down", 0x28},
    {L"Insert", 0x2D},
    {L"Delete", 0x2E},
    {L"Space", 0x20},
    {L"Pause", 0x13},
}};
constexpr uint32_t kF1 = 0x70;
constexpr uint32_t kNumpad0 = 0x60;

std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

std::optional<uint32_t> Find(std::wstring_view name, std::span<const NamedValue> table) {
  for (const NamedValue& entry : table)
    if (EqualIgnoringAsciiCase(name, entry.name)) return entry.value;
  return std::nullopt;
}

// "F1".."F24" or "Num0".."Num9": the number after the prefix, without
// leading zeros.
std::optional<int> NumberAfter(std::wstring_view name, std::wstring_view prefix) {
  if (name.size() <= prefix.size() || !EqualIgnoringAsciiCase(name.substr(0, prefix.size()), prefix))
    return std::nullopt;
  const std::wstring_view digits = name.substr(prefix.size());
  if (digits.size() > 2 || (digits.size() > 1 && digits[0] == L'0')) return std::nullopt;
  int number = 0;
  for (const wchar_t c : digits) {
    if (c < L'0' || c > L'9') return std::nullopt;
    number = number * 10 + (c - L'0');
  }
  return number;
}

std::optional<uint32_t> KeyCode(std::wstring_view name) {
  if (name.size() == 1) {
    const wchar_t c = UpperAscii(name[0]);
    if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return static_cast<uint32_t>(c);
  }
  if (const auto code = Find(name, kNamedKeys)) return code;
  if (const auto number = NumberAfter(name, L"F"); number && *number >= 1 && *number <= 24)
    return kF1 + static_cast<uint32_t>(*number - 1);
  if (const auto number = NumberAfter(name, L"Num"); number && *number <= 9)
    return kNumpad0 + static_cast<uint32_t>(*number);
  return std::nullopt;
}

std::wstring Quoted(std::wstring_view name) { return L"'" + std::wstring(name) + L"'"; }

}  // namespace

std::variant<KeyCombination, std::wstring> ParseKeyCombination(std::wstring_view text) {
  KeyCombination combination{0, 0};
  std::wstring_view rest = text;
  while (true) {
    const size_t plus = rest.find(L'+');
    const std::wstring_view name = TrimBlanks(rest.substr(0, plus));
    const bool last = plus == std::wstring_view::npos;
    if (name.empty()) return std::wstring(L"キーの名前が抜けています");
    if (const auto modifier = Find(name, kModifiers)) {
      if (last) return std::wstring(L"修飾キーのあとにキーがありません");
      if (combination.modifiers & *modifier) return Quoted(name) + L" が二度あります";
      combination.modifiers |= *modifier;
    } else if (const auto key = KeyCode(name)) {
      if (!last) return L"キー " + Quoted(name) + L" のあとには何も続けられません";
      combination.key = *key;
      return combination;
    } else {
      return Quoted(name) + L" はキーの名前ではありません";
    }
    rest.remove_prefix(plus + 1);
  }
}

std::optional<std::wstring> KeyCombinationText(const KeyCombination& keys) {
  std::wstring text;
  for (const NamedValue& modifier : kModifiers)
    if (keys.modifiers & modifier.value) text += std::wstring(modifier.name) + L"+";
  if ((keys.key >= L'A' && keys.key <= L'Z') || (keys.key >= L'0' && keys.key <= L'9'))
    return text + static_cast<wchar_t>(keys.key);
  for (const NamedValue& named : kNamedKeys)
    if (keys.key == named.value) return text + std::wstring(named.name);
  if (keys.key >= kF1 && keys.key < kF1 + 24) return text + L"F" + std::to_wstring(keys.key - kF1 + 1);
  if (keys.key >= kNumpad0 && keys.key <= kNumpad0 + 9) return text + L"Num" + std::to_wstring(keys.key - kNumpad0);
  return std::nullopt;
}
