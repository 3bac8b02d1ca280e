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

void CallWait::CommandStarted() {
  FInCommand = true;
  FCommandStart = FHeardSince = FNow();
}

void CallWait::CommandEnded() {
  if (PastPatience()) FOutcome.waitedLong = true;
  FInCommand = false;
  ShowWaiting(false);
}

void CallWait::CallStarted() {
  FCalling = true;
  FCallStart = FHeardSince = FNow();
}

void CallWait::CallEnded() {
  FCalling = false;
  FHeardSince = FNow();
  ShowWaiting(false);
}

bool CallWait::PastPatience() const { return Timing() && FNow() - TimedSince() > kPatience; }

bool CallWait::MayCall(PendingInput input) {
  if (FOutcome.cancelled) return false;
  if (!FInCommand || !PastPatience()) return true;
  FOutcome.waitedLong = true;
  if (input == PendingInput::None) return true;
  GiveUp(input);
  return false;
}

void CallWait::RequestClose() { GiveUp(PendingInput::CloseRequest); }

WaitAnswer CallWait::MessagePending(PendingInput input) {
  if (FOutcome.cancelled) return WaitAnswer::Cancel;
  // A call outside any command that the client does not report waits as
  // ever.
  if (!Timing()) return WaitAnswer::Wait;
  const WaitAnswer answer = AnswerPendingInput(FNow() - TimedSince(), input);
  if (answer == WaitAnswer::Wait) return answer;
  FOutcome.waitedLong = true;
  if (answer == WaitAnswer::Cancel) GiveUp(input);
  if (FNow() - FHeardSince > kPatience) ShowWaiting(true);
  return answer;
}

void CallWait::GiveUp(PendingInput input) {
  FOutcome.cancelled = true;
  FOutcome.closeRequested = FOutcome.closeRequested || input == PendingInput::CloseRequest;
}

WaitOutcome CallWait::TakeOutcome() { return std::exchange(FOutcome, WaitOutcome{}); }

void CallWait::ShowWaiting(bool waiting) {
  if (waiting == FShowsWaiting) return;
  FShowsWaiting = waiting;
  if (FView) FView->ShowWaiting(waiting);
}
