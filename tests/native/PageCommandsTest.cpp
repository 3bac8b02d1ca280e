#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>

#include "SimFixture.h"
#include "common/Unicode.h"

namespace {

using sim::Rectangle;

// Twelve 420 x 297 sheets in three rows of four, a sheet's lower-left corner
// at (500 col, 400 row), with a title block and noise on other layers.
sim::Drawing TwelveSheets() {
  sim::Drawing drawing;
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col)
      drawing.entities.push_back(Rectangle(L"KESTRA", 500.0 * col, 400.0 * row, 500.0 * col + 420, 400.0 * row + 297));
  drawing.entities.push_back(Rectangle(L"BORDER", 10, 10, 410, 287));
  drawing.entities.push_back(sim::Entity{L"LINE", L"KESTRA", {}, false});
  drawing.view = {-1000, -1000, 100, 100};
  return drawing;
}

// The centre of the sheet in the given row and column.
void CentreOn(sim::SimCad& cad, int row, int col) { cad.SetViewCentre(500.0 * col + 210, 400.0 * row + 148.5); }

std::vector<std::wstring> Repeat(std::vector<std::wstring> block, int times) {
  std::vector<std::wstring> out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), block.begin(), block.end());
  return out;
}

std::vector<std::wstring> Concat(std::initializer_list<std::vector<std::wstring>> parts) {
  std::vector<std::wstring> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

class PageCommandsTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    cad.Load(TwelveSheets());
  }

  TsvWaku ViewedFrame() const {
    const sim::View view = cad.CurrentView();
    return {view.centreX - view.width / 2,
            view.centreY - view.height / 2,
            view.centreX + view.width / 2,
            view.centreY + view.height / 2,
            false,
            0,
            false};
  }

  void ExpectViewOn(int row, int col) const {
    const TsvWaku shown = ViewedFrame();
    EXPECT_DOUBLE_EQ(shown.minx, 500.0 * col);
    EXPECT_DOUBLE_EQ(shown.miny, 400.0 * row);
    EXPECT_DOUBLE_EQ(shown.maxx, 500.0 * col + 420);
    EXPECT_DOUBLE_EQ(shown.maxy, 400.0 * row + 297);
  }
};

}  // namespace

TEST_F(PageCommandsTest, GetCallsTheCadInTheGatheringOrder) {
  CentreOn(cad, 0, 2);
  Get();
  const auto members = cad.JournalMembers();
  EXPECT_EQ(members, Concat({{L"HWND", L"IsIconic", L"ActiveDocument", L"FullName", L"ActiveSelectionSet", L"Clear",
                              L"Select", L"Count", L"Count", L"Count"},
                             Repeat({L"Item", L"Coordinates", L"Closed"}, 12),
                             {L"Clear", L"GetVariable", L"HWND", L"IsIconic", L"SetForegroundWindow", L"ZoomWindow"}}));

  const auto& journal = cad.Journal();
  const auto select = std::find_if(journal.begin(), journal.end(), [](const auto& e) { return e.member == L"Select"; });
  ASSERT_NE(select, journal.end());
  EXPECT_EQ(select->object, L"SelectionSet");
  ASSERT_EQ(select->arguments.size(), 5u);
  EXPECT_EQ(select->arguments[0], Variant(int32_t{5}));
  EXPECT_EQ(select->arguments[1].Kind(), VariantKind::Missing);
  EXPECT_EQ(select->arguments[2].Kind(), VariantKind::Missing);
  EXPECT_TRUE(select->arguments[3].IsByRef());
  EXPECT_EQ(select->arguments[3].Deref(), FrameFilterType());
  EXPECT_TRUE(select->arguments[4].IsByRef());
  EXPECT_EQ(select->arguments[4].Deref(), FrameFilterData(L"KESTRA"));

  int32_t item = 0;
  for (const auto& entry : journal) {
    if (entry.member != L"Item") continue;
    EXPECT_EQ(entry.arguments.at(0), Variant(item++));
  }
  EXPECT_EQ(item, 12);
  const auto variable =
      std::find_if(journal.begin(), journal.end(), [](auto& e) { return e.member == L"GetVariable"; });
  ASSERT_NE(variable, journal.end());
  EXPECT_EQ(variable->arguments.at(0), Variant(L"VIEWCTR"));
}

TEST_F(PageCommandsTest, GetShowsAndZoomsToThePageUnderTheViewCentre) {
  CentreOn(cad, 0, 2);
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"12", L"3 / 12"}));
  ASSERT_EQ(Pages.WakuList().size(), 12u);
  ExpectViewOn(0, 2);
  EXPECT_TRUE(cad.Foreground());
}

TEST_F(PageCommandsTest, ALongGetShowsTheEntitiesReadEveryQuarterSecondWithoutAskingTheCadMore) {
  CentreOn(cad, 0, 2);
  Get();
  const auto quietCalls = cad.JournalMembers();
  cad.ClearJournal();
  view.statuses.clear();

  clock.step = std::chrono::milliseconds(100);
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"3", L"6", L"9", L"12", L"12", L"3 / 12"}));
  EXPECT_EQ(cad.JournalMembers(), quietCalls);
}

TEST_F(PageCommandsTest, GetOutsideEveryPageShowsTheCountAndLeavesTheView) {
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"12"}));
  EXPECT_EQ(cad.CurrentView().centreX, -1000);
  EXPECT_EQ(cad.JournalMembers().back(), L"GetVariable");

  Next();
  EXPECT_EQ(view.Status(), L"1 / 12");
  ExpectViewOn(0, 0);
}

TEST_F(PageCommandsTest, StepsWrapAroundAtBothEnds) {
  CentreOn(cad, 2, 3);  // the last page, bottom row first
  Get();
  EXPECT_EQ(view.Status(), L"12 / 12");
  Next();
  EXPECT_EQ(view.Status(), L"1 / 12");
  ExpectViewOn(0, 0);
  Previous();
  EXPECT_EQ(view.Status(), L"12 / 12");
  ExpectViewOn(2, 3);
  Previous();
  EXPECT_EQ(view.Status(), L"11 / 12");
  ExpectViewOn(2, 2);
}

TEST_F(PageCommandsTest, StepOutsideEveryPageGoesToTheFirstWhateverTheDirection) {
  Get();
  cad.SetViewCentre(-1000, -1000);
  Previous();
  EXPECT_EQ(view.Status(), L"1 / 12");
  ExpectViewOn(0, 0);
}

TEST_F(PageCommandsTest, StepCallsOnlyWhatItNeeds) {
  CentreOn(cad, 1, 1);
  Get();
  cad.ClearJournal();
  Next();
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"ActiveDocument", L"FullName", L"GetVariable", L"HWND",
                                                             L"IsIconic", L"SetForegroundWindow", L"ZoomWindow"}));
  EXPECT_EQ(view.Status(), L"7 / 12");
}

TEST_F(PageCommandsTest, StepBeforeAnyGetDoesNothing) {
  Next();
  Previous();
  EXPECT_TRUE(cad.Journal().empty());
  EXPECT_TRUE(view.statuses.empty());
}

TEST_F(PageCommandsTest, UpperLeftRenumbersFromTheTopRow) {
  CentreOn(cad, 2, 1);
  Get();
  EXPECT_EQ(view.Status(), L"10 / 12");
  view.upperLeft = true;
  Get();
  EXPECT_EQ(view.Status(), L"2 / 12");
  ExpectViewOn(2, 1);
  Next();
  ExpectViewOn(2, 2);
}

TEST_F(PageCommandsTest, NearDuplicatesCountBeforeOrderingButNotAsPages) {
  sim::Drawing drawing = TwelveSheets();
  drawing.entities.push_back(Rectangle(L"KESTRA", 0.5, 0.5, 420.5, 297.5));
  cad.Load(drawing);
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"13"}));
  EXPECT_EQ(Pages.WakuList().size(), 12u);
  CentreOn(cad, 0, 1);
  Get();
  EXPECT_EQ(view.Status(), L"2 / 12");
}

TEST_F(PageCommandsTest, RejectedPolylinesYieldNoPages) {
  sim::Drawing drawing;
  drawing.entities.push_back(Rectangle(L"KESTRA", 0, 0, 420, 297));
  sim::Entity open = Rectangle(L"KESTRA", 500, 0, 920, 297);
  open.closed = false;
  drawing.entities.push_back(open);
  sim::Entity fiveVertices = Rectangle(L"KESTRA", 1000, 0, 1420, 297);
  fiveVertices.coordinates.insert(fiveVertices.coordinates.end(), {1000, 0});
  drawing.entities.push_back(fiveVertices);
  cad.Load(drawing);
  cad.SetViewCentre(0.1, 0.1);  // near the origin, where all-zero frames would sit
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"1", L"1 / 1"}));
  ASSERT_EQ(Pages.WakuList().size(), 1u);
  EXPECT_EQ(Pages.WakuList()[0].maxx, 420);
}

TEST_F(PageCommandsTest, TheCoordinatesUpperBoundDecidesWhatIsAFrame) {
  sim::Drawing drawing;
  sim::Entity oneBased = Rectangle(L"KESTRA", 0, 0, 420, 297);  // eight values, upper bound 8
  oneBased.coordinatesLowerBound = 1;
  drawing.entities.push_back(oneBased);
  sim::Entity fromMinusOne = Rectangle(L"KESTRA", 500, 0, 920, 297);  // nine values, upper bound 7
  fromMinusOne.coordinates.insert(fromMinusOne.coordinates.begin(), -1.0e6);
  fromMinusOne.coordinatesLowerBound = -1;
  drawing.entities.push_back(fromMinusOne);
  cad.Load(drawing);
  cad.SetViewCentre(700, 100);
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"1", L"1 / 1"}));
  ASSERT_EQ(Pages.WakuList().size(), 1u);
  EXPECT_EQ(Pages.WakuList()[0].minx, 500);
  EXPECT_EQ(Pages.WakuList()[0].maxx, 920);
}

TEST_F(PageCommandsTest, OnlyRejectedPolylinesEmptyTheListAndShowZero) {
  Get();
  ASSERT_EQ(Pages.WakuList().size(), 12u);
  sim::Drawing drawing;
  sim::Entity open = Rectangle(L"KESTRA", 0, 0, 420, 297);
  open.closed = false;
  drawing.entities.push_back(open);
  cad.Load(drawing);
  Get();
  EXPECT_EQ(view.Status(), L"0");
  EXPECT_TRUE(Pages.WakuList().empty());
  cad.ClearJournal();
  Next();
  EXPECT_TRUE(cad.Journal().empty());
}

TEST_F(PageCommandsTest, ALayerWithoutPolylinesKeepsTheLastPages) {
  Get();
  const TWakuList before = Pages.WakuList();
  view.layer = L"EMPTY";
  cad.ClearJournal();
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"12"}));
  EXPECT_EQ(Pages.WakuList().size(), before.size());
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"HWND", L"IsIconic", L"ActiveDocument", L"FullName",
                                                             L"ActiveSelectionSet", L"Clear", L"Select", L"Count"}));
}

TEST_F(PageCommandsTest, AMinimizedCadIsRestoredAtOnceByGet) {
  cad.SetMinimized(true);
  view.layer = L"EMPTY";
  Get();
  EXPECT_FALSE(cad.Minimized());
  const auto members = cad.JournalMembers();
  ASSERT_GE(members.size(), 4u);
  EXPECT_EQ(members[2], L"OpenIcon");
  EXPECT_EQ(members[3], L"ActiveDocument");
  EXPECT_FALSE(cad.Foreground());
}

TEST_F(PageCommandsTest, NothingHappensWhenTheCadDoesNotRun) {
  objects.Stop(TargetProgId);
  EXPECT_NO_THROW(Get());
  EXPECT_TRUE(cad.Journal().empty());
  EXPECT_TRUE(view.statuses.empty());
}

TEST_F(PageCommandsTest, AnUnregisteredProgIdReachesTheCallerOfGetButNotOfStep) {
  Get();
  TargetProgId = L"Nobody.Application";
  view.statuses.clear();
  EXPECT_THROW(Get(), AutomationError);
  EXPECT_NO_THROW(Next());
  EXPECT_TRUE(view.statuses.empty());
}

// A failure of any member, at any stage, ends the command silently.
struct Failure {
  const wchar_t* member;
  int nthCall;
  bool replacesList;      // the new pages are in Pages.WakuList() afterwards
  const wchar_t* status;  // the status afterwards; "" is the one the command found
};

class GetFailureTest : public PageCommandsTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(GetFailureTest, StopsSilentlyAndKeepsAConsistentState) {
  // A first Get on three pages, then a failing one on twelve.
  sim::Drawing first;
  for (int col = 0; col < 3; ++col)
    first.entities.push_back(Rectangle(L"KESTRA", 500.0 * col, 0, 500.0 * col + 420, 297));
  cad.Load(first);
  Get();
  ASSERT_EQ(Pages.WakuList().size(), 3u);
  view.statuses.clear();

  cad.Load(TwelveSheets());
  CentreOn(cad, 1, 1);
  clock.step = std::chrono::milliseconds(100);  // the entities read are shown on the way
  const Failure failure = GetParam();
  cad.FailOn(failure.member, failure.nthCall, hresult::CallRejected);
  EXPECT_NO_THROW(Get());

  EXPECT_EQ(Pages.WakuList().size(), failure.replacesList ? 12u : 3u);
  EXPECT_EQ(view.Status(), failure.status);
  const auto members = cad.JournalMembers();
  EXPECT_EQ(std::count(members.begin(), members.end(), std::wstring(failure.member)), failure.nthCall)
      << "the command stops at the failing call";

  // The next command works.
  cad.ClearFaults();
  view.statuses.clear();
  Get();
  EXPECT_EQ(view.Status(), L"6 / 12");
}

INSTANTIATE_TEST_SUITE_P(EveryStage, GetFailureTest,
                         ::testing::Values(Failure{L"HWND", 1, false, L""}, Failure{L"ActiveDocument", 1, false, L""},
                                           Failure{L"ActiveSelectionSet", 1, false, L""},
                                           Failure{L"Clear", 1, false, L""}, Failure{L"Select", 1, false, L""},
                                           Failure{L"Count", 1, false, L""}, Failure{L"Count", 2, false, L""},
                                           Failure{L"Count", 3, false, L""}, Failure{L"Item", 7, false, L""},
                                           Failure{L"Coordinates", 12, false, L""}, Failure{L"Closed", 1, false, L""},
                                           Failure{L"Clear", 2, false, L""}, Failure{L"GetVariable", 1, false, L""},
                                           Failure{L"HWND", 2, false, L""}, Failure{L"ZoomWindow", 1, false, L""}));

TEST_F(PageCommandsTest, WrongResultTypesEndTheCommandSilently) {
  for (const wchar_t* member : {L"Count", L"Coordinates", L"Closed", L"GetVariable", L"ActiveDocument", L"HWND"}) {
    Pages.Clear();
    view.statuses.clear();
    cad.ClearFaults();
    cad.ReturnWrongType(member);
    CentreOn(cad, 0, 0);
    EXPECT_NO_THROW(Get()) << ToUtf8(member);
    EXPECT_NE(view.Status(), L"1 / 12") << ToUtf8(member);
  }
}

TEST_F(PageCommandsTest, AFailingStepLeavesTheListAndTheNextStepWorks) {
  CentreOn(cad, 0, 0);
  Get();
  for (const wchar_t* member : {L"ActiveDocument", L"GetVariable", L"HWND", L"ZoomWindow"}) {
    cad.FailOn(member, 1, hresult::RetryLater);
    EXPECT_NO_THROW(Next()) << ToUtf8(member);
    EXPECT_EQ(Pages.WakuList().size(), 12u);
    cad.ClearFaults();
  }
  CentreOn(cad, 0, 0);
  Next();
  EXPECT_EQ(view.Status(), L"2 / 12");
  ExpectViewOn(0, 1);
}

TEST_F(PageCommandsTest, GoingToAPageMakesTheCallsOfAStepToItWithoutTheViewCentre) {
  CentreOn(cad, 1, 1);
  Get();
  cad.ClearJournal();
  Next();  // from page 6 to page 7
  const auto described = [this] {
    std::vector<std::wstring> calls;
    for (const sim::JournalEntry& entry : cad.Journal())
      if (entry.member != L"GetVariable") calls.push_back(sim::Describe(entry));
    return calls;
  };
  const std::vector<std::wstring> step = described();
  const std::wstring stepStatus = view.Status();

  CentreOn(cad, 0, 0);
  cad.ClearJournal();
  GoToPageCommand(view, {objects, windows}, 6);
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"ActiveDocument", L"FullName", L"HWND", L"IsIconic",
                                                             L"SetForegroundWindow", L"ZoomWindow"}));
  EXPECT_EQ(described(), step);
  EXPECT_EQ(view.Status(), stepStatus);
  ExpectViewOn(1, 2);
}

TEST_F(PageCommandsTest, GoingToAPageThatIsNotInTheListDoesNothing) {
  GoToPageCommand(view, {objects, windows}, 0);
  Get();
  cad.ClearJournal();
  view.statuses.clear();
  GoToPageCommand(view, {objects, windows}, 12);
  GoToPageCommand(view, {objects, windows}, -1);
  EXPECT_TRUE(cad.Journal().empty());
  EXPECT_TRUE(view.statuses.empty());
}

TEST_F(PageCommandsTest, GoingToAPageDiscardsEveryError) {
  Get();
  cad.FailOn(L"ZoomWindow", 1, hresult::CallRejected);
  EXPECT_NO_THROW(GoToPageCommand(view, {objects, windows}, 4));
  EXPECT_EQ(view.Status(), L"12");
  TargetProgId = L"Nobody.Application";
  view.statuses.clear();
  EXPECT_NO_THROW(GoToPageCommand(view, {objects, windows}, 4));
  EXPECT_TRUE(view.statuses.empty());
}

// The status never names a page the CAD does not show: when the zoom
// fails, or the CAD's window cannot be found, it goes back to what it was.
TEST_F(PageCommandsTest, AFailedZoomPutsBackTheStatusOfAStepAMenuChoiceAndAGet) {
  CentreOn(cad, 0, 3);
  Get();
  ASSERT_EQ(view.Status(), L"4 / 12");
  const auto failingZoom = [this](const wchar_t* member, int nthCall, const std::function<void()>& command) {
    cad.FailOn(member, nthCall, hresult::Fail);
    command();
    cad.ClearFaults();
    EXPECT_EQ(view.Status(), L"4 / 12") << ToUtf8(member);
    EXPECT_EQ(Pages.WakuList().size(), 12u);
    ExpectViewOn(0, 3);
  };
  failingZoom(L"ZoomWindow", 1, [this] { Next(); });
  failingZoom(L"HWND", 1, [this] { Previous(); });
  failingZoom(L"ZoomWindow", 1, [this] { GoToPageCommand(view, {objects, windows}, 8); });
  failingZoom(L"HWND", 2, [this] { Get(); });
  failingZoom(L"ZoomWindow", 1, [this] {
    view.upperLeft = true;  // would be 8 / 12
    Get();
  });
  EXPECT_EQ(Pages.WakuList()[0].miny, 0) << "the list of the failed Get was not kept";
  TargetProgId = L"AutoCAD.Application";
  failingZoom(L"SendCommand", 1, [this] { Next(); });
}

// A zoom given up may still happen when the CAD comes back: the status
// shows the count, on no page, and the next step reads where the view is.
TEST_F(PageCommandsTest, AGivenUpZoomLeavesTheCountAndTheNextStepStartsFromTheView) {
  CentreOn(cad, 0, 3);
  Get();
  ASSERT_EQ(view.Status(), L"4 / 12");
  cad.FailOn(L"ZoomWindow", 1, hresult::CallCancelled);
  Next();
  EXPECT_EQ(view.Status(), L"12");
  CentreOn(cad, 1, 0);  // the CAD zoomed after all
  Next();
  EXPECT_EQ(view.Status(), L"6 / 12");
  ExpectViewOn(1, 1);

  cad.FailOn(L"ZoomWindow", 1, hresult::CallCancelled);
  view.upperLeft = true;
  Get();
  EXPECT_EQ(view.Status(), L"12");
  EXPECT_EQ(Pages.WakuList()[0].miny, 800) << "every frame was read: the new list is taken";
}

// Polylines whose coordinates are not finite, or that have no area, are no
// pages, and the zoom never sends such a window whatever the list holds.
TEST_F(PageCommandsTest, PolylinesWithoutAFiniteAreaAreNoPagesAndNoZoomSendsOne) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  sim::Drawing drawing = TwelveSheets();
  for (int i = 0; i < 13; ++i) drawing.entities.push_back(Rectangle(L"KESTRA", nan, nan, nan, nan));
  drawing.entities.push_back(Rectangle(L"KESTRA", -2, 10, infinity, infinity));
  drawing.entities.push_back(Rectangle(L"KESTRA", nan, 0, 420, 297));
  drawing.entities.push_back(Rectangle(L"KESTRA", 0, 5, 420, 5));
  cad.Load(drawing);
  CentreOn(cad, 1, 1);
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"12", L"6 / 12"}));
  ASSERT_EQ(Pages.WakuList().size(), 12u);
  ExpectViewOn(1, 1);

  TWakuList frames = Pages.WakuList();
  frames[6] = TsvWaku{500, 400, infinity, 697, false, 1, true};  // page 7, after the view's page 6
  SetCurrentPages(std::move(frames), Pages.Names());
  cad.ClearJournal();
  Next();
  EXPECT_EQ(view.Status(), L"6 / 12");
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"ActiveDocument", L"FullName", L"GetVariable"}));
  ExpectViewOn(1, 1);
}

// Finite corners whose distance overflows give a frame of infinite size: no
// page, and no zoom to one.
TEST_F(PageCommandsTest, FramesWhoseSizeIsNotFiniteAreNoPagesAndNoZoomSendsOne) {
  sim::Drawing drawing = TwelveSheets();
  drawing.entities.push_back(Rectangle(L"KESTRA", -1e308, -1e308, 1e308, 1e308));
  drawing.entities.push_back(Rectangle(L"KESTRA", 0, -1e308, 420, 1e308));
  cad.Load(drawing);
  CentreOn(cad, 1, 1);
  Get();
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"12", L"6 / 12"}));
  ASSERT_EQ(Pages.WakuList().size(), 12u);

  TWakuList frames = Pages.WakuList();
  frames[6] = TsvWaku{-1e308, 400, 1e308, 697, false, 1, true};
  SetCurrentPages(std::move(frames), Pages.Names());
  cad.ClearJournal();
  Next();
  EXPECT_EQ(view.Status(), L"6 / 12");
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"ActiveDocument", L"FullName", L"GetVariable"}));
  ExpectViewOn(1, 1);
}

// Coordinates given as integers are read as numbers; strings are no
// frame: the Get fails and keeps the last list.
TEST_F(PageCommandsTest, IntegerCoordinatesMakeFramesAndStringsFailTheGet) {
  sim::Drawing drawing;
  sim::Entity integers = Rectangle(L"KESTRA", 0, 0, 420, 297);
  integers.coordinatesKind = VariantKind::Int32;
  drawing.entities.push_back(integers);
  cad.Load(drawing);
  cad.SetViewCentre(100, 100);
  Get();
  EXPECT_EQ(view.Status(), L"1 / 1");
  ASSERT_EQ(Pages.WakuList().size(), 1u);
  EXPECT_EQ(Pages.WakuList()[0].maxy, 297);

  drawing.entities[0].coordinatesKind = VariantKind::String;
  drawing.entities.push_back(Rectangle(L"KESTRA", 500, 0, 920, 297));
  cad.Load(drawing);
  cad.SetViewCentre(700, 100);
  Get();
  EXPECT_EQ(view.Status(), L"1 / 1");
  ASSERT_EQ(Pages.WakuList().size(), 1u);
  EXPECT_EQ(Pages.WakuList()[0].maxx, 420);
}
