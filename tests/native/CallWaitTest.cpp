#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "cad/CallWait.h"

namespace {

using std::chrono::milliseconds;

struct RecordingWaitView : WaitView {
  std::vector<bool> shown;
  void ShowWaiting(bool waiting) override { shown.push_back(waiting); }
};

class CallWaitTest : public testing::Test {
 protected:
  CallWaitTest() { wait.SetView(&view); }

  void After(milliseconds elapsed) { time += elapsed; }

  std::chrono::steady_clock::time_point time{};
  RecordingWaitView view;
  CallWait wait{[this] { return time; }};
};

}  // namespace

TEST(AnswerPendingInput, WaitsAsEverForTwoSecondsThenPaintsAndLetsEscOrCloseCancel) {
  for (const PendingInput input : {PendingInput::None, PendingInput::Escape, PendingInput::CloseRequest}) {
    EXPECT_EQ(AnswerPendingInput(milliseconds(0), input), WaitAnswer::Wait);
    EXPECT_EQ(AnswerPendingInput(kPatience, input), WaitAnswer::Wait);
  }
  const auto longWait = kPatience + milliseconds(1);
  EXPECT_EQ(AnswerPendingInput(longWait, PendingInput::None), WaitAnswer::DispatchPaintOnly);
  EXPECT_EQ(AnswerPendingInput(longWait, PendingInput::Escape), WaitAnswer::Cancel);
  EXPECT_EQ(AnswerPendingInput(std::chrono::minutes(5), PendingInput::CloseRequest), WaitAnswer::Cancel);
}

TEST(CallWaitTexts, NameTheApplication) {
  EXPECT_EQ(WaitingHint(L"BricsCAD"), L"BricsCAD の応答を待っています — Esc で中止");
  EXPECT_EQ(CancelledReason(L"AutoCAD"), L"AutoCAD が応答しません — 中止しました");
}

TEST_F(CallWaitTest, QuickCallsChangeNothing) {
  for (int call = 0; call < 3; ++call) {
    wait.CallStarted();
    After(milliseconds(1500));
    EXPECT_EQ(wait.MessagePending(PendingInput::Escape), WaitAnswer::Wait);
    EXPECT_EQ(wait.MessagePending(PendingInput::CloseRequest), WaitAnswer::Wait);
    wait.CallEnded();
  }
  EXPECT_TRUE(wait.MayRetry());
  const WaitOutcome outcome = wait.TakeOutcome();
  EXPECT_FALSE(outcome.waitedLong);
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_TRUE(view.shown.empty());
}

TEST_F(CallWaitTest, EachCallIsTimedFromItsOwnStart) {
  wait.CallStarted();
  After(milliseconds(1500));
  wait.CallEnded();
  wait.CallStarted();
  After(milliseconds(1500));
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::Wait) << "three seconds of command, not of a call";
  After(milliseconds(600));
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::DispatchPaintOnly);
}

TEST_F(CallWaitTest, ALongCallShowsTheWaitOnceAndClearsItWhenItEnds) {
  wait.CallStarted();
  After(milliseconds(2500));
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::DispatchPaintOnly);
  After(milliseconds(250));
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::DispatchPaintOnly);
  EXPECT_TRUE(wait.MayRetry());
  wait.CallEnded();
  EXPECT_EQ(view.shown, (std::vector<bool>{true, false}));
  const WaitOutcome outcome = wait.TakeOutcome();
  EXPECT_TRUE(outcome.waitedLong);
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_FALSE(wait.TakeOutcome().waitedLong) << "each command starts afresh";
}

TEST_F(CallWaitTest, EscCancelsTheCallAndEveryLaterOneUntilTheCommandEnds) {
  wait.CallStarted();
  After(milliseconds(3000));
  EXPECT_EQ(wait.MessagePending(PendingInput::Escape), WaitAnswer::Cancel);
  EXPECT_TRUE(wait.Cancelled());
  EXPECT_FALSE(wait.MayRetry()) << "a refused call is not tried again";
  wait.CallEnded();

  wait.CallStarted();
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::Cancel);
  wait.CallEnded();
  After(milliseconds(5000));
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::Cancel) << "a release on the way out, say";
  EXPECT_EQ(view.shown, (std::vector<bool>{true, false})) << "the wait is shown only during a reported call";
  const WaitOutcome outcome = wait.TakeOutcome();
  EXPECT_TRUE(outcome.waitedLong);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.closeRequested);

  wait.CallStarted();
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::Wait) << "the next command waits as ever";
  EXPECT_TRUE(wait.MayRetry());
}

TEST_F(CallWaitTest, CallsTheClientDoesNotReportWaitAsEver) {
  After(milliseconds(10000));
  EXPECT_EQ(wait.MessagePending(PendingInput::Escape), WaitAnswer::Wait);
  EXPECT_TRUE(view.shown.empty());
  EXPECT_FALSE(wait.TakeOutcome().waitedLong);
}

TEST_F(CallWaitTest, ACloseRequestCancelsAndIsRemembered) {
  wait.CallStarted();
  After(milliseconds(500));
  EXPECT_EQ(wait.MessagePending(PendingInput::CloseRequest), WaitAnswer::Wait);
  After(milliseconds(1600));
  EXPECT_EQ(wait.MessagePending(PendingInput::CloseRequest), WaitAnswer::Cancel);
  wait.CallEnded();
  const WaitOutcome outcome = wait.TakeOutcome();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_TRUE(outcome.closeRequested);
  EXPECT_EQ(view.shown, (std::vector<bool>{true, false}));
}
