#include "cad/CallWatch.h"

#include <utility>

#include "cad/Automation.h"
#include "cad/StopReason.h"
#include "cad/TargetCad.h"

CallWatch* PagerCallWatch = nullptr;

namespace {

// The first wake-up comes just after the patience has run out, so that the
// filter finds the call waited longer; then one this often.
constexpr std::chrono::milliseconds kPastPatience{50};
constexpr std::chrono::milliseconds kWakeInterval{250};

AutomationError CancelledError() {
  return AutomationError(hresult::CallCancelled, L"the call was cancelled by the user");
}

bool IsPagerWindow(HWND pager, HWND window) { return window == pager || IsChild(pager, window); }

// What one message waiting in the queue asks of the call.
PendingInput RequestOf(HWND pager, const MSG& message) {
  if (message.message == WM_HOTKEY)
    return message.wParam == kWaitEscapeHotKey ? PendingInput::Escape : PendingInput::None;
  if (!IsPagerWindow(pager, message.hwnd)) return PendingInput::None;
  switch (message.message) {
    case WM_CLOSE: return PendingInput::CloseRequest;
    case WM_SYSCOMMAND: return (message.wParam & 0xFFF0) == SC_CLOSE ? PendingInput::CloseRequest : PendingInput::None;
    case WM_NCLBUTTONDOWN: return message.wParam == HTCLOSE ? PendingInput::CloseRequest : PendingInput::None;
    case WM_SYSKEYDOWN: return message.wParam == VK_F4 ? PendingInput::CloseRequest : PendingInput::None;
    case WM_KEYDOWN:
      return message.wParam == VK_ESCAPE && GetForegroundWindow() == pager ? PendingInput::Escape : PendingInput::None;
  }
  return PendingInput::None;
}

// The keyboard and mouse input and the hot keys, of every window of the
// thread.
constexpr std::pair<UINT, UINT> kInput[] = {{WM_KEYFIRST, WM_KEYLAST},
                                            {WM_MOUSEFIRST, WM_MOUSELAST},
                                            {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                            {WM_HOTKEY, WM_HOTKEY}};
// The close requests, of the pager alone.
constexpr UINT kCloseRequests[] = {WM_CLOSE, WM_SYSCOMMAND};

// A press of the kept button: the mouse button down over it, or Space or
// Enter while it has the keyboard. The press is the click: the button,
// whose input waits, never sees the press to capture the release, which
// goes to whatever window is under the pointer then.
bool ClicksButton(HWND button, const MSG& message) {
  if (!button || message.hwnd != button) return false;
  switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return true;
    case WM_KEYDOWN: return message.wParam == VK_SPACE || message.wParam == VK_RETURN;
  }
  return false;
}

// Takes the messages of the window (every window of the thread when
// nullptr) from first to last out of the queue, each handed to look.
template <typename Look>
void TakeMessages(HWND window, UINT first, UINT last, Look&& look) {
  MSG message{};
  while (PeekMessageW(&message, window, first, last, PM_REMOVE | PM_NOYIELD)) look(message);
}

// What the keys, clicks and close requests waiting for the pager ask of a
// waiting call, each one looked at. They are taken from the queue: past
// the patience they are dropped at the command's end anyway. A click on
// the kept button is noted in kept.
PendingInput TakePendingInput(HWND pager, KeptClicks& kept) {
  PendingInput found = PendingInput::None;
  const auto look = [&](const MSG& message) {
    kept.clicked = kept.clicked || ClicksButton(kept.button, message);
    const PendingInput request = RequestOf(pager, message);
    // A close request outweighs Esc.
    if (request != PendingInput::None && found != PendingInput::CloseRequest) found = request;
  };
  for (const auto& [first, last] : kInput) TakeMessages(nullptr, first, last, look);
  for (const UINT request : kCloseRequests) TakeMessages(pager, request, request, look);
  return found;
}

// Drops the keyboard and mouse input and hot keys waiting in the thread's
// queue, noting a click on the kept button.
void DropPendingInput(KeptClicks& kept) {
  for (const auto& [first, last] : kInput)
    TakeMessages(nullptr, first, last,
                 [&](const MSG& message) { kept.clicked = kept.clicked || ClicksButton(kept.button, message); });
}

}  // namespace

CallWatch::CallWatch(HWND pager, WaitView& view)
    : FPager(pager), FWait([] { return std::chrono::steady_clock::now(); }) {
  FWait.SetView(&view);
  FWaker = std::thread([this] { WakeUntilStopped(); });
}

CallWatch::~CallWatch() {
  {
    const std::lock_guard lock(FMutex);
    FStopping = true;
  }
  FChanged.notify_one();
  FWaker.join();
}

void CallWatch::CommandStarted() {
  FWait.CommandStarted();
  TimingChanged();
}

void CallWatch::CommandEnded() {
  FWait.CommandEnded();
  TimingChanged();
  const WaitOutcome outcome = FWait.TakeOutcome();
  // The clicks and keys of an impatient user are not replayed.
  if (outcome.waitedLong) DropPendingInput(FKept);
  // Said after the command's own end, so that it stands over the failed
  // call the command reported.
  if (outcome.cancelled) ReportStopReason(CancelledReason(TargetAppName));
  if (outcome.closeRequested) PostMessageW(FPager, WM_CLOSE, 0, 0);
}

PendingInput CallWatch::InputPastPatience() {
  return FWait.PastPatience() ? TakePendingInput(FPager, FKept) : PendingInput::None;
}

bool CallWatch::MayCall() { return FWait.MayCall(InputPastPatience()); }

void CallWatch::CallStarted() {
  FWait.CallStarted();
  TimingChanged();
}

void CallWatch::CallEnded() {
  FWait.CallEnded();
  TimingChanged();
}

void CallWatch::TimingChanged() {
  const bool timing = FWait.Timing();
  const auto since = FWait.TimedSince();
  bool wake = false;
  {
    const std::lock_guard lock(FMutex);
    if (timing == FTiming && since == FTimedSince) return;
    FTiming = timing;
    FTimedSince = since;
    ++FTimed;
    wake = FWakerIdle;
  }
  // A waker already timing something earlier sees this when it wakes.
  if (wake) FChanged.notify_one();
}

DWORD CallWatch::MessagePending() {
  switch (FWait.MessagePending(InputPastPatience())) {
    case WaitAnswer::Wait: return PENDINGMSG_WAITNOPROCESS;
    case WaitAnswer::DispatchPaintOnly: return PENDINGMSG_WAITDEFPROCESS;
    case WaitAnswer::Cancel: break;
  }
  return PENDINGMSG_CANCELCALL;
}

// COM asks the filter only when a message arrives; a posted one makes sure
// it is asked once the patience has run out and then every interval.
void CallWatch::WakeUntilStopped() {
  std::unique_lock lock(FMutex);
  while (!FStopping) {
    if (!FTiming) {
      FWakerIdle = true;
      FChanged.wait(lock, [this] { return FStopping || FTiming; });
      FWakerIdle = false;
      continue;
    }
    const unsigned timed = FTimed;
    auto due = FTimedSince + kPatience + kPastPatience;
    while (!FChanged.wait_until(lock, due, [&] { return FStopping || FTimed != timed; })) {
      PostMessageW(FPager, WM_NULL, 0, 0);
      due = std::chrono::steady_clock::now() + kWakeInterval;
    }
  }
}

WatchedCommand::WatchedCommand() : FWatch(PagerCallWatch && !PagerCallWatch->InCommand() ? PagerCallWatch : nullptr) {
  if (FWatch) FWatch->CommandStarted();
}

WatchedCommand::~WatchedCommand() {
  if (!FWatch) return;
  try {
    FWatch->CommandEnded();
  } catch (...) {
    // The reason's listener failed; the command is over all the same.
  }
}

WatchedCall::WatchedCall() : FWatch(PagerCallWatch) {
  if (!FWatch) return;
  if (!FWatch->MayCall()) throw CancelledError();
  FWatch->CallStarted();
}

WatchedCall::~WatchedCall() {
  if (FWatch) FWatch->CallEnded();
}

void WatchedCall::ThrowIfCancelled() const {
  if (FWatch && FWatch->Cancelled()) throw CancelledError();
}
