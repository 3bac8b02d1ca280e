#include "cad/StopReason.h"

#include <cstdio>

#include "common/ErrorText.h"

namespace {

struct StopReasonState {
  std::wstring reason;
  bool reportedInCommand = false;
  StopReasonListener listener;
};

StopReasonState& State() {
  static StopReasonState state;
  return state;
}

void Change(std::wstring reason) {
  StopReasonState& state = State();
  state.reason = std::move(reason);
  if (state.listener) state.listener(state.reason);
}

}  // namespace

void SetStopReasonListener(StopReasonListener listener) { State().listener = std::move(listener); }

const std::wstring& StopReason() { return State().reason; }

void BeginStopReasons() { State().reportedInCommand = false; }

void ReportStopReason(const std::wstring& reason) {
  State().reportedInCommand = true;
  Change(reason);
}

void ReportCallFailure(const std::exception& error) {
  if (State().reportedInCommand) return;
  Change(CallFailureText(error));
}

void ClearStopReason() {
  State().reportedInCommand = false;
  Change({});
}

std::wstring CallFailureText(const std::exception& error) {
  if (const auto* automation = dynamic_cast<const AutomationError*>(&error))
    return CallFailureText(automation->Member(), automation->Code(), automation->Text());
  return CallFailureText({}, hresult::Fail, ExceptionText(error));
}

std::wstring CallFailureText(std::wstring_view member, HResult code, std::wstring_view text) {
  wchar_t hex[16];
  std::swprintf(hex, std::size(hex), L"0x%08X", static_cast<unsigned>(static_cast<uint32_t>(code)));
  std::wstring line = member.empty() ? std::wstring() : std::wstring(member) + L" が失敗しました: ";
  return line + std::wstring(text.substr(0, kLongestErrorText)) + L" (" + hex + L")";
}
