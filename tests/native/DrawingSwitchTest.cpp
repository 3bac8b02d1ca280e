// The pages follow the drawing the CAD shows: two and more documents open
// in one simulated CAD, switched between commands.
#include <gtest/gtest.h>

#include <algorithm>

#include "SimFixture.h"
#include "cad/StopReason.h"
#include "common/Unicode.h"
#include "pages/Pages.h"

namespace {

using sim::Rectangle;

// count sheets of 420 x 297 in one row, 500 apart, the view on none.
sim::Drawing Sheets(int count) {
  sim::Drawing drawing;
  for (int i = 0; i < count; ++i) drawing.entities.push_back(Rectangle(L"KESTRA", 500.0 * i, 0, 500.0 * i + 420, 297));
  drawing.view = {-1000, -1000, 100, 100};
  return drawing;
}

sim::DocumentNames Saved(const std::wstring& file) { return {L"C:\\Drawings\\" + file, file}; }

const std::vector<std::wstring> kStepOnKeptPages{
    L"ActiveDocument", L"FullName", L"GetVariable", L"HWND", L"IsIconic", L"SetForegroundWindow", L"ZoomWindow"};

bool Selected(const std::vector<std::wstring>& members) {
  return std::find(members.begin(), members.end(), L"Select") != members.end();
}

class DrawingSwitchTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    cad.Load(Sheets(12), Saved(L"A.dwg"));
    cad.SetViewCentre(210, 148);  // page 1 of A
  }

  void GoTo(int k) { GoToPageCommand(view, {objects, windows}, k); }
};

}  // namespace

TEST_F(DrawingSwitchTest, ANewDrawingIsGotAndAKeptOneSteppedWithoutSelecting) {
  Get();
  ASSERT_EQ(Pages.WakuList().size(), 12u);
  const size_t b = cad.Open(Sheets(3), Saved(L"B.dwg"));
  cad.SetViewCentre(1210, 148);  // page 3 of B

  cad.ClearJournal();
  Next();  // B has no pages yet: Get runs instead, everything of it
  const auto onB = cad.JournalMembers();
  ASSERT_GE(onB.size(), 5u);
  EXPECT_EQ(std::vector<std::wstring>(onB.begin(), onB.begin() + 5),
            (std::vector<std::wstring>{L"ActiveDocument", L"FullName", L"HWND", L"IsIconic", L"ActiveSelectionSet"}));
  EXPECT_TRUE(Selected(onB));
  EXPECT_EQ(Pages.WakuList().size(), 3u);
  EXPECT_EQ(view.Status(), L"3 / 3");
  EXPECT_EQ(Pages.CurrentIdentity(), L"C:\\Drawings\\B.dwg");

  cad.Activate(0);
  cad.ClearJournal();
  Next();  // A's kept pages: page 2, no selection
  EXPECT_EQ(cad.JournalMembers(), kStepOnKeptPages);
  EXPECT_EQ(Pages.WakuList().size(), 12u);
  EXPECT_EQ(view.Status(), L"2 / 12");
  EXPECT_DOUBLE_EQ(cad.CurrentView().centreX, 710);

  cad.Activate(b);
  cad.ClearJournal();
  Previous();  // and back on B's
  EXPECT_EQ(cad.JournalMembers(), kStepOnKeptPages);
  EXPECT_EQ(view.Status(), L"2 / 3");
}

TEST_F(DrawingSwitchTest, AChoiceFromAnotherDrawingsMenuOnlyTellsWhereTheViewLies) {
  Get();
  cad.Open(Sheets(3), Saved(L"B.dwg"));
  cad.SetViewCentre(710, 148);
  Get();
  cad.Activate(0);
  cad.SetViewCentre(1710, 148);  // page 4 of A
  const sim::View before = cad.CurrentView();

  cad.ClearJournal();
  GoTo(1);  // chosen among B's pages, while the CAD shows A
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"ActiveDocument", L"FullName", L"GetVariable"}));
  EXPECT_EQ(view.Status(), L"4 / 12");
  EXPECT_DOUBLE_EQ(cad.CurrentView().centreX, before.centreX);
  EXPECT_EQ(Pages.WakuList().size(), 12u);

  cad.SetViewCentre(-5000, 0);
  GoTo(0);  // now A's pages are shown: the choice is zoomed to
  EXPECT_EQ(view.Status(), L"1 / 12");
  EXPECT_DOUBLE_EQ(cad.CurrentView().centreX, 210);
}

TEST_F(DrawingSwitchTest, TheSeventeenthDrawingDropsTheLeastRecentlyUsed) {
  Get();
  for (int i = 1; i < 17; ++i) {
    cad.Open(Sheets(2), Saved(L"D" + std::to_wstring(i) + L".dwg"));
    cad.SetViewCentre(210, 148);
    Get();
  }
  cad.Activate(1);  // D1, the least recently used but for A: still kept
  cad.ClearJournal();
  Next();
  EXPECT_EQ(cad.JournalMembers(), kStepOnKeptPages);

  cad.Activate(0);  // A was dropped by D16
  cad.ClearJournal();
  Next();
  EXPECT_TRUE(Selected(cad.JournalMembers()));
  EXPECT_EQ(Pages.WakuList().size(), 12u);
}

TEST_F(DrawingSwitchTest, ACadThatCannotNameTheDrawingIsPagedAsBefore) {
  Get();
  cad.Open(Sheets(3), Saved(L"B.dwg"));
  cad.SetViewCentre(210, 148);
  cad.FailOn(L"FullName", 1, hresult::MemberNotFound);
  cad.ClearJournal();
  Next();  // on A's pages, the current ones
  EXPECT_EQ(cad.JournalMembers(), kStepOnKeptPages);
  EXPECT_EQ(view.Status(), L"2 / 12");
  EXPECT_EQ(StopReason(), L"");
}

TEST_F(DrawingSwitchTest, ADrawingNeverSavedIsKnownByItsName) {
  cad.Load(Sheets(12), {L"", L"Drawing2.dwg"});
  cad.SetViewCentre(210, 148);
  Get();
  const auto members = cad.JournalMembers();
  ASSERT_GE(members.size(), 5u);
  EXPECT_EQ(members[3], L"FullName");
  EXPECT_EQ(members[4], L"Name");
  EXPECT_EQ(Pages.CurrentIdentity(), L"Drawing2.dwg");
  EXPECT_EQ(DrawingTitle(L"Drawing2.dwg"), L"Drawing2.dwg");
  EXPECT_EQ(DrawingTitle(L"C:\\Drawings\\A.dwg"), L"A.dwg");

  cad.Open(Sheets(3), {L"", L"Drawing3.dwg"});
  cad.SetViewCentre(210, 148);
  Next();  // another unsaved drawing is another drawing
  EXPECT_EQ(Pages.WakuList().size(), 3u);
  cad.Activate(0);
  cad.ClearJournal();
  Next();
  EXPECT_EQ(cad.JournalMembers(),
            (std::vector<std::wstring>{L"ActiveDocument", L"FullName", L"Name", L"GetVariable", L"HWND", L"IsIconic",
                                       L"SetForegroundWindow", L"ZoomWindow"}));
  EXPECT_EQ(Pages.WakuList().size(), 12u);
}

TEST_F(DrawingSwitchTest, IdentitiesInAnotherLetterCaseAreOneDrawing) {
  // ASCII, and beyond it as Windows compares file names.
  const std::vector<std::pair<sim::DocumentNames, sim::DocumentNames>> pairs{
      {Saved(L"A.dwg"), {L"c:\\DRAWINGS\\a.DWG", L"a.DWG"}},
      {{L"C:\\PLÄNE\\übersicht-ä.dwg", L"übersicht-ä.dwg"}, {L"C:\\Pläne\\Übersicht-Ä.dwg", L"Übersicht-Ä.dwg"}}};
  for (const auto& [got, shown] : pairs) {
    cad.Load(Sheets(12), got);
    cad.SetViewCentre(210, 148);
    Get();
    cad.Open(Sheets(3), shown);
    cad.SetViewCentre(210, 148);
    cad.ClearJournal();
    Next();
    EXPECT_EQ(cad.JournalMembers(), kStepOnKeptPages) << ToUtf8(shown.fullName);
    EXPECT_EQ(Pages.WakuList().size(), 12u);
  }
  EXPECT_TRUE(SameDrawing(L"Ωмега-ａ.dwg", L"ωМЕГА-Ａ.DWG"));
  EXPECT_FALSE(SameDrawing(L"Straße.dwg", L"STRASSE.DWG")) << "one unit to one unit, as Windows compares";
}

// Two rows of two sheets, the view on none.
sim::Drawing TwoRows() {
  sim::Drawing drawing = Sheets(2);
  drawing.entities.push_back(Rectangle(L"KESTRA", 0, 400, 420, 697));
  drawing.entities.push_back(Rectangle(L"KESTRA", 500, 400, 920, 697));
  return drawing;
}

TEST_F(DrawingSwitchTest, ADrawingSwitchedToIsPutInTheCurrentOrderWithItsNamesWithoutTheCad) {
  cad.Load(TwoRows(), Saved(L"A.dwg"));
  cad.SetViewCentre(210, 148);
  Get();  // from the lower left: the lower row first
  ASSERT_EQ(Pages.WakuList().size(), 4u);
  SetCurrentPages(Pages.WakuList(), {{L"A-1"}, {L"A-2"}, {L"A-3"}, {L"A-4"}});
  cad.Open(Sheets(3), Saved(L"B.dwg"));
  cad.SetViewCentre(210, 148);
  view.upperLeft = true;  // the click's Get ran on B
  Get();

  cad.Activate(0);
  cad.ClearJournal();
  Next();  // A's pages from the upper left: the view on page 3, a step to 4
  EXPECT_EQ(cad.JournalMembers(), kStepOnKeptPages);
  std::vector<double> lowerEdges;
  for (const TsvWaku& w : Pages.WakuList()) lowerEdges.push_back(w.miny);
  EXPECT_EQ(lowerEdges, (std::vector<double>{400, 400, 0, 0}));
  EXPECT_EQ(Pages.Names(), (std::vector<PageName>{{L"A-3"}, {L"A-4"}, {L"A-1"}, {L"A-2"}}));
  EXPECT_EQ(view.Status(), L"4 / 4");
  EXPECT_DOUBLE_EQ(cad.CurrentView().centreX, 710);
}

// Drawing1.dwg of a CAD started anew is not the one of the CAD before.
TEST_F(DrawingSwitchTest, ACadStartedAnewOrANewTargetDropsEveryKeptDrawing) {
  cad.Load(Sheets(12), {L"", L"Drawing1.dwg"});
  cad.SetViewCentre(210, 148);
  Get();
  cad.Open(Sheets(2), Saved(L"B.dwg"));
  cad.SetViewCentre(210, 148);
  Get();
  cad.Load(Sheets(3), {L"", L"Drawing1.dwg"});
  cad.SetWindowHandle(cad.WindowHandle() + 4);
  cad.SetViewCentre(210, 148);
  Next();
  EXPECT_TRUE(Selected(cad.JournalMembers())) << "Get runs on the new CAD's drawing";
  EXPECT_EQ(Pages.WakuList().size(), 3u);
  EXPECT_EQ(view.Status(), L"1 / 3");
  cad.Open(Sheets(2), Saved(L"B.dwg"));
  cad.SetViewCentre(210, 148);
  cad.ClearJournal();
  Next();
  EXPECT_TRUE(Selected(cad.JournalMembers())) << "B of the CAD before was dropped";

  ChangeTarget(L"bricscadapp.acadapplication", L"BricsCAD");  // the same CAD in another letter case
  EXPECT_TRUE(Pages.HasKept());
  EXPECT_EQ(Pages.WakuList().size(), 2u);
  ChangeTarget(L"ZWCAD.Application", L"ZWCAD");
  EXPECT_EQ(TargetProgId, L"ZWCAD.Application");
  EXPECT_EQ(TargetAppName, L"ZWCAD");
  EXPECT_FALSE(Pages.HasKept());
  EXPECT_TRUE(Pages.WakuList().empty());
  EXPECT_EQ(Pages.CurrentIdentity(), std::nullopt);
}

// Each drawing keeps its sheet names with its frames.
TEST(PageStoreTest, TheNamesGoWithTheirDrawingsPages) {
  const TsvWaku frame{0, 0, 420, 297, false, 0, true};
  Pages.Got(L"A.dwg", {frame, frame}, {{L"A-1"}, {L"A-2"}}, false, 1);
  Pages.Got(L"B.dwg", {frame}, {{L"B-1"}}, false, 1);
  EXPECT_EQ(Pages.Names(), (std::vector<PageName>{{L"B-1"}}));

  ASSERT_EQ(Pages.Follow(L"a.DWG", false, false), DrawingFollowed::Switched);
  EXPECT_EQ(Pages.WakuList().size(), 2u);
  EXPECT_EQ(Pages.Names(), (std::vector<PageName>{{L"A-1"}, {L"A-2"}}));
  ASSERT_EQ(Pages.Follow(L"B.dwg", false, false), DrawingFollowed::Switched);
  EXPECT_EQ(Pages.Names(), (std::vector<PageName>{{L"B-1"}}));

  Pages.Clear();
  EXPECT_TRUE(Pages.WakuList().empty());
  EXPECT_TRUE(Pages.Names().empty());
}
