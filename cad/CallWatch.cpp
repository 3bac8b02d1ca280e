#include "cad/CallWatch.h"

#include <utility>

#include "cad/Automation.h"

CallWatch* PagerCallWatch = nullptr;

namespace {

// The first wake-up comes just after the patience has run out, so that the
// filter finds the call waited longer; then one this often.
constexpr std::chrono::milliseconds kPastPatience{50};
constexpr std::chrono::milliseconds kWakeInterval{250};

constexpr HResult kCallCancelled = static_cast<HResult>(0x80010002);  // RPC_E_CALL_CANCELED

AutomationError CancelledError() { return AutomationError(kCallCancelled, L"the call was cancelled by the user"); }

bool IsPagerWindow(HWND pager, HWND window) { return window == pager || IsChild(pager, window); }

// The first message of the range waiting for the pager or its controls,
// left where it is.
bool PeekPagerMessage(HWND pager, UINT message, MSG& found) {
  return PeekMessageW(&found, nullptr, message, message, PM_NOREMOVE | PM_NOYIELD) && IsPagerWindow(pager, found.hwnd);
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

void CallWatch::CallStarted() {
  FWait.CallStarted();
  bool wake = false;
  {
    const std::lock_guard lock(FMutex);
    FCalling = true;
    ++FCall;
    FCallStart = FWait.CallStart();
    wake = FWakerIdle;
  }
  // A waker already timing an earlier call sees this one when it wakes.
  if (wake) FChanged.notify_one();
}

void CallWatch::CallEnded() {
  {
    const std::lock_guard lock(FMutex);
    FCalling = false;
  }
  FWait.CallEnded();
}

DWORD CallWatch::MessagePending() {
  switch (FWait.MessagePending(PendingInputOf(FPager))) {
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
    if (!FCalling) {
      FWakerIdle = true;
      FChanged.wait(lock, [this] { return FStopping || FCalling; });
      FWakerIdle = false;
      continue;
    }
    const unsigned call = FCall;
    auto due = FCallStart + kPatience + kPastPatience;
    while (!FChanged.wait_until(lock, due, [&] { return FStopping || !FCalling || FCall != call; })) {
      PostMessageW(FPager, WM_NULL, 0, 0);
      due = std::chrono::steady_clock::now() + kWakeInterval;
    }
  }
}

WatchedCall::WatchedCall() : FWatch(PagerCallWatch) {
  if (!FWatch) return;
  if (FWatch->Cancelled()) throw CancelledError();
  FWatch->CallStarted();
}

WatchedCall::~WatchedCall() {
  if (FWatch) FWatch->CallEnded();
}

void WatchedCall::ThrowIfCancelled() const {
  if (FWatch && FWatch->Cancelled()) throw CancelledError();
}

PendingInput PendingInputOf(HWND pager) {
  MSG message{};
  if (PeekPagerMessage(pager, WM_CLOSE, message)) return PendingInput::CloseRequest;
  if (PeekPagerMessage(pager, WM_SYSCOMMAND, message) && (message.wParam & 0xFFF0) == SC_CLOSE)
    return PendingInput::CloseRequest;
  if (PeekPagerMessage(pager, WM_NCLBUTTONDOWN, message) && message.wParam == HTCLOSE)
    return PendingInput::CloseRequest;
  if (PeekPagerMessage(pager, WM_SYSKEYDOWN, message) && message.wParam == VK_F4) return PendingInput::CloseRequest;
  if (PeekPagerMessage(pager, WM_KEYDOWN, message) && message.wParam == VK_ESCAPE && GetForegroundWindow() == pager)
    return PendingInput::Escape;
  return PendingInput::None;
}

void DropPendingInput() {
  MSG message{};
  constexpr std::pair<UINT, UINT> kInput[] = {{WM_KEYFIRST, WM_KEYLAST},
                                              {WM_MOUSEFIRST, WM_MOUSELAST},
                                              {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                              {WM_HOTKEY, WM_HOTKEY}};
  for (const auto& [first, last] : kInput)
    while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE | PM_NOYIELD)) {
    }
}
