// Get, Previous and Next through real COM against simcad.exe, with the
// Windows running object table and window operations: what the CAD is
// asked, in which order, where its view ends up, and what happens when it
// is missing, unregistered, refusing or answering oddly.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "SimCadProcess.h"
#include "cad/MessageFilter.h"
#include "cad/TargetCad.h"
#include "cad/WindowsCad.h"
#include "pages/PageCommands.h"
#include "pages/Pages.h"
#include "pages/Waku.h"
#include "sim/server/SimCadServerRegistration.h"

namespace {

class RecordingView : public PagerView {
 public:
  std::vector<std::wstring> statuses;
  std::wstring LayerName() const override { return L"KESTRA"; }
  bool UpperLeft() const override { return false; }
  std::wstring PageStatus() const override { return Status(); }
  void SetPageStatus(const std::wstring& text) override { statuses.push_back(text); }
  std::wstring Status() const { return statuses.empty() ? L"" : statuses.back(); }
};

// Another application's window, in front while the test wants it there.
class ForeignWindow {
 public:
  ForeignWindow()
      : FWindow(CreateWindowExW(0, L"STATIC", L"another application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ForeignWindow(const ForeignWindow&) = delete;
  ForeignWindow& operator=(const ForeignWindow&) = delete;
  ~ForeignWindow() { DestroyWindow(FWindow); }
  void BringForward() const { SetForegroundWindow(FWindow); }

 private:
  HWND FWindow;
};

// The frame in the middle of the drawing's second row, and its zoom.
constexpr double kFrameCentreX = 1210.0, kFrameCentreY = 548.5;
constexpr wchar_t kZoomWindow[] = L"Application.ZoomWindow(&[R8 0..1: 1000, 400], &[R8 0..1: 1420, 697])";
constexpr wchar_t kZoomCommand[] = L"Document.SendCommand(\"'ZOOM W 1000.000,400.000 1420.000,697.000\r\")";

class SimCadPageCommandsTest : public testing::Test {
 protected:
  void Start(const std::wstring& progId, bool minimized = false) {
    TargetProgId = progId;
    FSimCad = std::make_unique<SimCadProcess>(std::vector<std::wstring>{progId},
                                              std::vector<std::wstring>{SampleDrawingPath()}, minimized);
    FApplication = AttachSimCad(progId);
  }
  void SetUp() override {
    Pages.Clear();
    TargetProgId = kDefaultProgId;
  }
  void TearDown() override {
    FApplication.reset();
    FSimCad.reset();
  }

  void ShowFrameInTheMiddle() {
    SimCall(*FApplication, L"SimSetViewCentre", {Variant(kFrameCentreX), Variant(kFrameCentreY)});
    SimCall(*FApplication, L"SimClearJournal");
  }
  std::vector<std::wstring> CallsOf(const std::wstring& prefix) {
    std::vector<std::wstring> calls;
    for (const std::wstring& call : SimJournal(*FApplication))
      if (call.starts_with(prefix)) calls.push_back(call);
    return calls;
  }
  void ExpectViewOn(double minx, double miny, double maxx, double maxy) {
    const std::vector<double> view = SimView(*FApplication);
    ASSERT_EQ(view.size(), 4u);
    EXPECT_DOUBLE_EQ(view[0], (minx + maxx) / 2);
    EXPECT_DOUBLE_EQ(view[1], (miny + maxy) / 2);
    EXPECT_DOUBLE_EQ(view[2], maxy - miny);
    EXPECT_DOUBLE_EQ(view[3], maxx - minx);
  }
  void ExpectViewOn(const TsvWaku& waku) { ExpectViewOn(waku.minx, waku.miny, waku.maxx, waku.maxy); }
  // A still clock: what these tests look at is what Get ends with, not the
  // count of entities it shows on the way, which depends on the machine.
  void Get() {
    GetCommand(FView, CadAccess{FObjects, FWindows}, [] { return std::chrono::steady_clock::time_point{}; });
  }
  void Step(StepDirection direction) { StepCommand(FView, CadAccess{FObjects, FWindows}, direction); }

  ComObjectTable FObjects;
  Win32WindowControl FWindows;
  RecordingView FView;
  std::unique_ptr<SimCadProcess> FSimCad;
  DispatchPtr FApplication;
};

struct ZoomCase {
  const wchar_t* progId;
  size_t zoomWindows;
  bool commandText;
};

class SimCadZoomTest : public SimCadPageCommandsTest, public testing::WithParamInterface<ZoomCase> {};

TEST_P(SimCadZoomTest, GetZoomsToThePageUnderTheViewAsTheProgIdDemands) {
  Start(GetParam().progId);
  const ForeignWindow other;
  other.BringForward();
  ASSERT_FALSE(SimQuery(*FApplication, L"SimIsForeground"));
  ShowFrameInTheMiddle();
  Get();
  EXPECT_EQ(FView.statuses, (std::vector<std::wstring>{L"12", L"7 / 12"}));
  EXPECT_EQ(CallsOf(L"Application.ZoomWindow"), std::vector<std::wstring>(GetParam().zoomWindows, kZoomWindow));
  EXPECT_EQ(CallsOf(L"Document.SendCommand"), std::vector<std::wstring>(GetParam().commandText ? 1 : 0, kZoomCommand));
  ExpectViewOn(1000, 400, 1420, 697);
  EXPECT_TRUE(SimQuery(*FApplication, L"SimIsForeground"));
}

INSTANTIATE_TEST_SUITE_P(ProgIdKinds, SimCadZoomTest,
                         testing::Values(ZoomCase{L"BricscadApp.AcadApplication", 1, false},
                                         ZoomCase{L"AutoCAD.Application.24", 0, true},
                                         ZoomCase{L"autocad.Application", 0, true},
                                         ZoomCase{L"Gcad.Application", 2, false},
                                         ZoomCase{L"Vendor.AutoCAD.Application", 1, false}));

TEST_F(SimCadPageCommandsTest, GetAsksTheCadInTheGatheringOrder) {
  Start(kDefaultProgId);
  SimCall(*FApplication, L"SimClearJournal");
  Get();
  EXPECT_EQ(SimJournal(*FApplication), PolylineGetJournal(12));
  EXPECT_EQ(FView.statuses, std::vector<std::wstring>{L"12"}) << "the drawing's view centre is in no page";
  EXPECT_EQ(Pages.WakuList().size(), 12u);
}

TEST_F(SimCadPageCommandsTest, StepPagesOnFromTheViewAndWrapsAround) {
  Start(kDefaultProgId);
  ShowFrameInTheMiddle();
  Get();
  ASSERT_EQ(FView.Status(), L"7 / 12");
  Step(StepDirection::Forward);
  EXPECT_EQ(FView.Status(), L"8 / 12");
  ExpectViewOn(Pages.WakuList()[7]);
  Step(StepDirection::Backward);
  Step(StepDirection::Backward);
  EXPECT_EQ(FView.Status(), L"6 / 12");
  ExpectViewOn(Pages.WakuList()[5]);

  SimCall(*FApplication, L"SimSetViewCentre",
          {Variant((Pages.WakuList()[0].minx + Pages.WakuList()[0].maxx) / 2),
           Variant((Pages.WakuList()[0].miny + Pages.WakuList()[0].maxy) / 2)});
  Step(StepDirection::Backward);
  EXPECT_EQ(FView.Status(), L"12 / 12");
  ExpectViewOn(Pages.WakuList()[11]);
  Step(StepDirection::Forward);
  EXPECT_EQ(FView.Status(), L"1 / 12");
  ExpectViewOn(Pages.WakuList()[0]);
}

TEST_F(SimCadPageCommandsTest, AMinimizedCadIsRestoredAndBroughtForward) {
  Start(kDefaultProgId, true);
  const ForeignWindow other;
  other.BringForward();
  ASSERT_TRUE(SimQuery(*FApplication, L"SimIsMinimized"));
  ASSERT_FALSE(SimQuery(*FApplication, L"SimIsForeground"));
  ShowFrameInTheMiddle();
  Get();
  EXPECT_FALSE(SimQuery(*FApplication, L"SimIsMinimized"));
  EXPECT_TRUE(SimQuery(*FApplication, L"SimIsForeground"));

  SimCall(*FApplication, L"SimMinimize");
  other.BringForward();
  ASSERT_TRUE(SimQuery(*FApplication, L"SimIsMinimized"));
  ASSERT_FALSE(SimQuery(*FApplication, L"SimIsForeground"));
  Step(StepDirection::Forward);
  EXPECT_FALSE(SimQuery(*FApplication, L"SimIsMinimized"));
  EXPECT_TRUE(SimQuery(*FApplication, L"SimIsForeground"));
  ExpectViewOn(Pages.WakuList()[7]);
}

TEST_F(SimCadPageCommandsTest, ARegisteredCadThatDoesNotRunIsLeftAlone) {
  const ClassRegistration registration(L"PageTest.RegisteredNotRunning");
  TargetProgId = L"PageTest.RegisteredNotRunning";
  Pages.Got(std::nullopt, {TsvWaku{0, 0, 420, 297, false, 0, true}}, {}, false, 0);
  Get();
  Step(StepDirection::Forward);
  EXPECT_TRUE(FView.statuses.empty());
  EXPECT_EQ(Pages.WakuList().size(), 1u);
}

TEST_F(SimCadPageCommandsTest, AnUnregisteredProgIdFailsGetButNotStep) {
  TargetProgId = L"PageTest.NeverRegistered";
  EXPECT_THROW(Get(), AutomationError);
  Pages.Got(std::nullopt, {TsvWaku{0, 0, 420, 297, false, 0, true}}, {}, false, 0);
  EXPECT_NO_THROW(Step(StepDirection::Forward));
  EXPECT_TRUE(FView.statuses.empty());
}

TEST_F(SimCadPageCommandsTest, AnAnswerOfTheWrongTypeStopsGetSilently) {
  Start(kDefaultProgId);
  ShowFrameInTheMiddle();
  SimCall(*FApplication, L"SimReturnWrongType", {Variant(L"Coordinates")});
  Get();
  EXPECT_TRUE(FView.statuses.empty());
  EXPECT_EQ(SimJournal(*FApplication).back(), L"Entity.Coordinates()") << "Get should stop at the first odd answer";
  EXPECT_TRUE(CallsOf(L"Application.ZoomWindow").empty());

  SimCall(*FApplication, L"SimClearFaults");
  Get();
  EXPECT_EQ(FView.Status(), L"7 / 12");
}

// The pager's message filter, installed as page.exe has it, counting how
// often COM asks it to decide on a refused call.
class CountingFilter : public TMessageFilter {
 public:
  static CountingFilter* Create() { return new CountingFilter(); }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount, DWORD rejectType) override {
    ++retryQuestions;
    return TMessageFilter::RetryRejectedCall(callee, tickCount, rejectType);
  }
  int retryQuestions = 0;
};

class SimCadBusyTest : public SimCadPageCommandsTest {
 protected:
  void SetUp() override {
    SimCadPageCommandsTest::SetUp();
    FFilter = CountingFilter::Create();
    FRegistration.emplace(FFilter);
  }
  void TearDown() override {
    SimCadPageCommandsTest::TearDown();
    FRegistration.reset();
  }
  // What the platform did with a refusal, for the test's record.
  void Record(const char* what) {
    const int consulted = GetValue(*FApplication, L"SimFilterConsulted").ToInt32();
    RecordProperty(std::string(what) + "ServerFilterConsulted", consulted);
    RecordProperty(std::string(what) + "ClientRetryQuestions", FFilter->retryQuestions);
    std::printf("%s: server filter consulted %d times, client asked to retry %d times\n", what, consulted,
                FFilter->retryQuestions);
  }
  CountingFilter* FFilter = nullptr;  // owned by its registration
  std::optional<ScopedMessageFilter> FRegistration;
};

// On Windows the pager's filter retries after a second; Wine carries the
// call out at once. Either way the CAD does it exactly once.
TEST_F(SimCadBusyTest, ACallTheServerAsksToRetryLaterIsCarriedOutOnce) {
  Start(kDefaultProgId);
  SimCall(*FApplication, L"SimClearJournal");
  SimCall(*FApplication, L"SimRefuseCalls", {Variant(int32_t{1}), Variant(int32_t{SERVERCALL_RETRYLATER})});
  EXPECT_EQ(GetValue(*FApplication, L"HWND").Kind(), VariantKind::Int64);
  EXPECT_EQ(SimJournal(*FApplication), std::vector<std::wstring>{L"Application.HWND()"});
  Record("RetryLater");
}

TEST_F(SimCadBusyTest, ACallTheServerRejectsFailsWithCallRejectedAndTheNextCommandWorks) {
  Start(kDefaultProgId);
  ShowFrameInTheMiddle();
  SimCall(*FApplication, L"SimRefuseCalls", {Variant(int32_t{1}), Variant(int32_t{SERVERCALL_REJECTED})});
  try {
    GetValue(*FApplication, L"HWND");
    ADD_FAILURE() << "the rejected call succeeded";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Code(), hresult::CallRejected) << error.what();
  }
  EXPECT_TRUE(SimJournal(*FApplication).empty()) << "a rejected call should not be carried out";
  Record("Rejected");

  SimCall(*FApplication, L"SimRefuseCalls", {Variant(int32_t{1}), Variant(int32_t{SERVERCALL_REJECTED})});
  Get();
  EXPECT_TRUE(FView.statuses.empty());
  Get();
  EXPECT_EQ(FView.Status(), L"7 / 12");
}

TEST_F(SimCadBusyTest, ARefusedCallStopsTheCommandSilentlyAndTheNextOneWorks) {
  Start(kDefaultProgId);
  ShowFrameInTheMiddle();
  SimCall(*FApplication, L"SimFailOn", {Variant(L"Count"), Variant(int32_t{1}), Variant(hresult::CallRejected)});
  Get();
  EXPECT_TRUE(FView.statuses.empty());
  EXPECT_EQ(SimJournal(*FApplication).back(), L"SelectionSet.Count()");
  EXPECT_TRUE(Pages.WakuList().empty());

  Get();
  EXPECT_EQ(FView.Status(), L"7 / 12");

  SimCall(*FApplication, L"SimClearJournal");
  SimCall(*FApplication, L"SimFailOn", {Variant(L"GetVariable"), Variant(int32_t{1}), Variant(hresult::RetryLater)});
  Step(StepDirection::Forward);
  EXPECT_EQ(FView.Status(), L"7 / 12");
  EXPECT_TRUE(CallsOf(L"Application.ZoomWindow").empty());
  ExpectViewOn(1000, 400, 1420, 697);

  Step(StepDirection::Forward);
  EXPECT_EQ(FView.Status(), L"8 / 12");
  ExpectViewOn(Pages.WakuList()[7]);
}

}  // namespace
