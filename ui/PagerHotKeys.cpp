#include "ui/PagerHotKeys.h"

namespace {

static_assert(key_modifier::Alt == MOD_ALT && key_modifier::Ctrl == MOD_CONTROL && key_modifier::Shift == MOD_SHIFT &&
              key_modifier::Win == MOD_WIN);
// IDs 1 to 3, one per command.
int IdOf(PagerCommand command) { return static_cast<int>(command) + 1; }

std::wstring RefusalReason(DWORD error) {
  if (error == ERROR_HOTKEY_ALREADY_REGISTERED) return L"ほかのプログラムが使っています";
  return L"Windows が受け付けません (エラー " + std::to_wstring(error) + L")";
}

}  // namespace

std::vector<std::wstring> PagerHotKeys::Register(HWND window, const HotKeySettings& settings) {
  std::vector<std::wstring> problems = settings.problems;
  for (const HotKeyBinding& binding : settings.bindings) {
    const int id = IdOf(binding.command);
    if (RegisterHotKey(window, id, binding.keys.modifiers | MOD_NOREPEAT, binding.keys.key)) {
      FKeys.emplace_back(handle_traits::HotKeyHandle{window, id});
      FCombinations.push_back(binding.keys);
    } else {
      problems.push_back(HotKeyProblem(binding.text, RefusalReason(GetLastError())));
    }
  }
  return problems;
}

std::optional<PagerCommand> PagerHotKeys::CommandOf(WPARAM id) {
  for (const PagerCommand command : {PagerCommand::Next, PagerCommand::Previous, PagerCommand::Get, PagerCommand::Plot})
    if (id == static_cast<WPARAM>(IdOf(command))) return command;
  return std::nullopt;
}
