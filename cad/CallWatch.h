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

#include "cad/CallWait.h"

class CallWatch {
 public:
  // Watches for the pager window, which shows the waiting on view.
  CallWatch(HWND pager, WaitView& view);
  CallWatch(const CallWatch&) = delete;
  CallWatch& operator=(const CallWatch&) = delete;
  ~CallWatch();

  void CallStarted();
  void CallEnded();
  bool Cancelled() const { return FWait.Cancelled(); }

  // IMessageFilter's answers.
  DWORD MessagePending();
  bool MayRetry() const { return FWait.MayRetry(); }

  // What the command's calls went through, when it ends.
  WaitOutcome TakeOutcome() { return FWait.TakeOutcome(); }

 private:
  void WakeUntilStopped();

  HWND FPager;
  CallWait FWait;
  std::mutex FMutex;
  std::condition_variable FChanged;
  bool FCalling = false;
  bool FStopping = false;
  bool FWakerIdle = false;
  unsigned FCall = 0;
  std::chrono::steady_clock::time_point FCallStart;
  std::thread FWaker;
};

// The watch of the pager window while it exists; none before and after.
extern CallWatch* PagerCallWatch;

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

// The input waiting in the thread's queue that matters to a waiting call.
PendingInput PendingInputOf(HWND pager);

// Drops the keyboard and mouse input and hot keys waiting in the thread's
// queue.
void DropPendingInput();
