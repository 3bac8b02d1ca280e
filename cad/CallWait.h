// A call into the CAD that does not come back: after a while the pager says
// it is waiting, and Esc or a request to close it cancels the call. The
// decisions are here, apart from the COM message filter that asks for them.
#pragma once

#include <chrono>
#include <functional>
#include <string>

// What the user did while the call waited, as far as it matters to it.
enum class PendingInput { None, Escape, CloseRequest };

// What the waiting thread does with the messages that arrived.
enum class WaitAnswer {
  Wait,               // leave every message waiting
  DispatchPaintOnly,  // paint (so that the pager shows it waits), input stays
  Cancel,             // give up the call
};

// How long a call may wait before the pager shows it waits and Esc or a
// close request cancels it.
inline constexpr std::chrono::milliseconds kPatience{2000};

WaitAnswer AnswerPendingInput(std::chrono::steady_clock::duration waited, PendingInput input);

// Where the pager shows that a call waits.
class WaitView {
 public:
  virtual ~WaitView() = default;
  virtual void ShowWaiting(bool waiting) = 0;
};

// The status field's text while a call waits, its tooltip, and the reason a
// command cancelled that way leaves.
inline constexpr wchar_t kWaitingStatus[] = L"待機中";
std::wstring WaitingHint(const std::wstring& appName);
std::wstring CancelledReason(const std::wstring& appName);

// What the calls of one command went through.
struct WaitOutcome {
  bool waitedLong = false;  // a call waited longer than kPatience
  bool cancelled = false;
  bool closeRequested = false;
};

// Follows the calls of the user-interface thread, one at a time: when each
// began, what the user did while it waited, and whether it was cancelled.
// A cancel holds for every later call until the command's end takes the
// outcome, so that a command ends at its first call after it.
//
// Within a command the whole command is timed, from its start to its end,
// so that the calls the client does not report (attaching, the proxies'
// releases) and a long run of short calls wait as one call does. The
// pager shows that it waits only while one call has gone unanswered for
// longer than the patience.
class CallWait {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  explicit CallWait(Clock now);

  void SetView(WaitView* view) { FView = view; }

  void CommandStarted();
  // Clears the waiting shown; the outcome stays until it is taken.
  void CommandEnded();
  bool InCommand() const { return FInCommand; }

  void CallStarted();
  void CallEnded();
  // Whether the command, or the call outside one, has run longer than the
  // patience: from then on Esc and a close request give it up.
  bool PastPatience() const;
  // Asked before each reported call: false when the command was given up,
  // or is past the patience with Esc or a close request waiting, which
  // gives it up.
  bool MayCall(PendingInput input);
  // A close that arrives while a command runs: the command is given up
  // and the pager closes after it.
  void RequestClose();
  // What is timed (the command, else the call outside one) and since when.
  bool Timing() const { return FInCommand || FCalling; }
  std::chrono::steady_clock::time_point TimedSince() const { return FInCommand ? FCommandStart : FCallStart; }

  // The answer to messages that arrived during the current call.
  WaitAnswer MessagePending(PendingInput input);
  // Whether a call the CAD refused as busy may be tried again.
  bool MayRetry() const { return !FOutcome.cancelled; }
  bool Cancelled() const { return FOutcome.cancelled; }

  // What the calls since the last outcome went through; starts afresh.
  WaitOutcome TakeOutcome();

 private:
  void ShowWaiting(bool waiting);
  void GiveUp(PendingInput input);

  Clock FNow;
  WaitView* FView = nullptr;
  bool FInCommand = false;
  bool FCalling = false;
  bool FShowsWaiting = false;
  std::chrono::steady_clock::time_point FCommandStart{};
  std::chrono::steady_clock::time_point FCallStart{};
  // The last time the CAD was asked or answered.
  std::chrono::steady_clock::time_point FHeardSince{};
  WaitOutcome FOutcome;
};
