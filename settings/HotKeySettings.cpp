#include "settings/HotKeySettings.h"

#include <algorithm>
#include <array>
#include <variant>

namespace {

struct NamedCommand {
  const wchar_t* key;
  PagerCommand command;
};

constexpr std::array<NamedCommand, 4> kKeys{{
    {L"Next", PagerCommand::Next},
    {L"Previous", PagerCommand::Previous},
    {L"Get", PagerCommand::Get},
    {L"Plot", PagerCommand::Plot},
}};

}  // namespace

HotKeySettings LoadHotKeySettings(Profile& profile) {
  HotKeySettings settings;
  for (const NamedCommand& entry : kKeys) {
    const std::wstring text = profile.ReadString(L"Keys", entry.key, L"");
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
