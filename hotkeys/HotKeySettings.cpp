#include "hotkeys/HotKeySettings.h"

#include <algorithm>
#include <array>
#include <variant>

namespace {

struct NamedCommand {
  const wchar_t* key;
  PagerCommand command;
};

// In the order of PagerCommand.
constexpr std::array<NamedCommand, 4> kKeys{{
    {L"Next", PagerCommand::Next},
    {L"Previous", PagerCommand::Previous},
    {L"Get", PagerCommand::Get},
    {L"Plot", PagerCommand::Plot},
}};

}  // namespace

const wchar_t* HotKeyName(PagerCommand command) { return kKeys[static_cast<size_t>(command)].key; }

HotKeyTexts LoadHotKeyTexts(Profile& profile) {
  HotKeyTexts texts;
  for (size_t i = 0; i < kKeys.size(); ++i) texts[i] = profile.ReadString(kKeysSection, kKeys[i].key, L"");
  return texts;
}

HotKeySettings LoadHotKeySettings(Profile& profile) { return HotKeySettingsOf(LoadHotKeyTexts(profile)); }

HotKeySettings HotKeySettingsOf(const HotKeyTexts& texts) {
  HotKeySettings settings;
  for (size_t i = 0; i < kKeys.size(); ++i) {
    const NamedCommand& entry = kKeys[i];
    const std::wstring& text = texts[i];
    if (text.empty()) continue;
    const auto parsed = ParseKeyCombination(text);
    if (const auto* reason = std::get_if<std::wstring>(&parsed)) {
      settings.problems.push_back(HotKeyProblem(text, *reason));
      continue;
    }
    const KeyCombination keys = std::get<KeyCombination>(parsed);
    const auto earlier = std::find_if(settings.bindings.begin(), settings.bindings.end(),
                                      [&keys](const HotKeyBinding& binding) { return binding.keys == keys; });
    if (earlier != settings.bindings.end()) {
      const auto named = std::find_if(kKeys.begin(), kKeys.end(),
                                      [&earlier](const NamedCommand& n) { return n.command == earlier->command; });
      settings.problems.push_back(HotKeyProblem(text, std::wstring(named->key) + L" と同じ組み合わせです"));
      continue;
    }
    settings.bindings.push_back(HotKeyBinding{entry.command, keys, text});
  }
  return settings;
}

std::wstring HotKeyProblem(const std::wstring& text, const std::wstring& reason) {
  return L"ホットキー '" + text + L"' を登録できません。" + reason;
}
