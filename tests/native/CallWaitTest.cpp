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

// Attaching and the proxies' releases are calls the client does not
// report: within a command they are timed from the command's start.
TEST_F(CallWaitTest, WithinACommandAnUnreportedCallShowsTheWaitAndEscCancelsIt) {
  wait.CommandStarted();
  After(milliseconds(1900));
  EXPECT_EQ(wait.MessagePending(PendingInput::Escape), WaitAnswer::Wait);
  After(milliseconds(200));
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::DispatchPaintOnly);
  EXPECT_EQ(view.shown, std::vector<bool>{true});
  EXPECT_EQ(wait.MessagePending(PendingInput::Escape), WaitAnswer::Cancel);
  EXPECT_FALSE(wait.MayCall(PendingInput::None)) << "the command ends at its next call";
  wait.CommandEnded();
  EXPECT_EQ(view.shown, (std::vector<bool>{true, false}));
  const WaitOutcome outcome = wait.TakeOutcome();
  EXPECT_TRUE(outcome.waitedLong);
  EXPECT_TRUE(outcome.cancelled);
}

// A long run of short calls: past the patience Esc stops it at the next
// call, without the wait ever shown, and the input is dropped at its end.
TEST_F(CallWaitTest, ACommandOfShortCallsIsTimedAsAWholeAndEscStopsItAtTheNextCall) {
  wait.CommandStarted();
  for (int call = 0; call < 4; ++call) {
    ASSERT_TRUE(wait.MayCall(PendingInput::Escape)) << "Esc waits for the patience, call " << call;
    wait.CallStarted();
    After(milliseconds(600));
    wait.CallEnded();
  }
  EXPECT_TRUE(wait.PastPatience());
  EXPECT_TRUE(wait.MayCall(PendingInput::None));
  wait.CallStarted();
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::DispatchPaintOnly);
  wait.CallEnded();
  EXPECT_FALSE(wait.MayCall(PendingInput::Escape));
  EXPECT_TRUE(view.shown.empty()) << "no call waited long";
  wait.CommandEnded();
  const WaitOutcome outcome = wait.TakeOutcome();
  EXPECT_TRUE(outcome.waitedLong);
  EXPECT_TRUE(outcome.cancelled);

  wait.CommandStarted();
  After(milliseconds(2500));
  wait.CommandEnded();
  EXPECT_TRUE(wait.TakeOutcome().waitedLong) << "a long command drops the clicks made meanwhile";
}

// A close delivered during a command (sent by another program) gives the
// command up at once and is remembered for its end.
TEST_F(CallWaitTest, ACloseRequestedDuringACommandGivesItUp) {
  wait.CommandStarted();
  wait.CallStarted();
  After(milliseconds(100));
  wait.RequestClose();
  EXPECT_EQ(wait.MessagePending(PendingInput::None), WaitAnswer::Cancel);
  wait.CallEnded();
  EXPECT_FALSE(wait.MayCall(PendingInput::None));
  wait.CommandEnded();
  const WaitOutcome outcome = wait.TakeOutcome();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_TRUE(outcome.closeRequested);
  EXPECT_FALSE(outcome.waitedLong);
}
