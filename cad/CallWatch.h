// The pager's watch over its calls into the CAD, on Windows: the COM client
// reports each call, the message filter asks it what to do with messages
// that arrive while one waits, and a thread of its own posts the pager a
// message now and then during a long wait, so that the filter is asked
// even when nothing else arrives.
#pragma once

#include <objbase.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "cad/CallWait.h"

// A button whose clicks the watch keeps for its window when it takes the
// input of a long wait from the queue, instead of dropping them: the plot
// dialog's 中止, which stops the job after the call rather than giving the
// call up.
struct KeptClicks {
  HWND button = nullptr;
  bool clicked = false;
};

class CallWatch {
 public:
  // Watches for the pager window, which shows the waiting on view.
  CallWatch(HWND pager, WaitView& view);
  CallWatch(const CallWatch&) = delete;
  CallWatch& operator=(const CallWatch&) = delete;
  ~CallWatch();

  void CommandStarted();
  // Drops the input that came during a long command, reports a cancel as
  // the command's reason and closes the pager when that was asked for.
  void CommandEnded();
  bool InCommand() const { return FWait.InCommand(); }
  // A close that arrives during a command (see CallWait::RequestClose).
  void RequestClose() { FWait.RequestClose(); }

  // Before each reported call: false when the command was given up.
  bool MayCall();
  void CallStarted();
  void CallEnded();
  bool Cancelled() const { return FWait.Cancelled(); }

  // IMessageFilter's answers.
  DWORD MessagePending();
  bool MayRetry() const { return FWait.MayRetry(); }

  // What the calls went through since the last outcome.
  WaitOutcome TakeOutcome() { return FWait.TakeOutcome(); }

  // Keeps the clicks on button from now on (none for nullptr).
  void KeepClicksOn(HWND button) { FKept = {button, false}; }
  // Whether a click on that button was taken since the last time asked.
  bool TakeKeptClick() { return std::exchange(FKept.clicked, false); }

 private:
  void WakeUntilStopped();
  // Tells the waker what is timed now, and since when.
  void TimingChanged();
  PendingInput InputPastPatience();

  HWND FPager;
  CallWait FWait;
  KeptClicks FKept;
  std::mutex FMutex;
  std::condition_variable FChanged;
  bool FTiming = false;
  bool FStopping = false;
  bool FWakerIdle = false;
  unsigned FTimed = 0;
  std::chrono::steady_clock::time_point FTimedSince;
  std::thread FWaker;
};

// The watch of the pager window while it exists; none before and after.
extern CallWatch* PagerCallWatch;

// Watches one command of the pager's, from its first call to the CAD to
// its last release, attaching and releasing included: hold one while the
// command's CAD objects live. Its end is the watch's CommandEnded. Without
// a pager, or inside another one, it does nothing.
class WatchedCommand {
 public:
  WatchedCommand();
  WatchedCommand(const WatchedCommand&) = delete;
  WatchedCommand& operator=(const WatchedCommand&) = delete;
  ~WatchedCommand();

 private:
  CallWatch* FWatch;
};

// Reports one call of the COM client to the pager's watch, if there is one.
class WatchedCall {
 public:
  // Throws AutomationError when the command's calls were cancelled already.
  WatchedCall();
  WatchedCall(const WatchedCall&) = delete;
  WatchedCall& operator=(const WatchedCall&) = delete;
  ~WatchedCall();

  // Throws AutomationError when the user cancelled the call, whatever it
  // gave back.
  void ThrowIfCancelled() const;

 private:
  CallWatch* FWatch;
};

// The ID of the hot key the pager holds for Esc while it shows that a call
// waits, so that Esc gives the call up whichever window is in front.
inline constexpr int kWaitEscapeHotKey = 0xBF00;
