#include "cad/CallWait.h"

#include <utility>

WaitAnswer AnswerPendingInput(std::chrono::steady_clock::duration waited, PendingInput input) {
  // A short wait is what every call costs: messages wait for it, as ever.
  if (waited <= kPatience) return WaitAnswer::Wait;
  if (input == PendingInput::Escape || input == PendingInput::CloseRequest) return WaitAnswer::Cancel;
  return WaitAnswer::DispatchPaintOnly;
}

std::wstring WaitingHint(const std::wstring& appName) { return appName + L" の応答を待っています — Esc で中止"; }

std::wstring CancelledReason(const std::wstring& appName) { return appName + L" が応答しません — 中止しました"; }

CallWait::CallWait(Clock now) : FNow(std::move(now)) {}

void CallWait::CallStarted() {
  FCalling = true;
  FCallStart = FNow();
}

void CallWait::CallEnded() {
  FCalling = false;
  ShowWaiting(false);
}

WaitAnswer CallWait::MessagePending(PendingInput input) {
  if (FOutcome.cancelled) return WaitAnswer::Cancel;
  // A call the client does not report, such as a release, waits as ever.
  if (!FCalling) return WaitAnswer::Wait;
  const WaitAnswer answer = AnswerPendingInput(FNow() - FCallStart, input);
  if (answer == WaitAnswer::Wait) return answer;
  FOutcome.waitedLong = true;
  if (answer == WaitAnswer::Cancel) {
    FOutcome.cancelled = true;
    FOutcome.closeRequested = input == PendingInput::CloseRequest;
  }
  ShowWaiting(true);
  return answer;
}

WaitOutcome CallWait::TakeOutcome() { return std::exchange(FOutcome, WaitOutcome{}); }

void CallWait::ShowWaiting(bool waiting) {
  if (waiting == FShowsWaiting) return;
  FShowsWaiting = waiting;
  if (FView) FView->ShowWaiting(waiting);
}
