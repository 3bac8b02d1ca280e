// Get with a block pattern: the block pass after the polyline pass, and
// how its frames join the polyline frames.
#include <gtest/gtest.h>

#include <algorithm>

#include "SimFixture.h"
#include "common/Unicode.h"

namespace {

// Two polyline sheets in the bottom row; three 図枠A3 references: one
// exactly over the second polyline, one above the first, one turned by 90
// degrees to the right. A reference of a matching block without area, and
// one of a block that does not match, give no page.
sim::Drawing MixedSheets() {
  sim::Drawing drawing;
  sim::Entity line{L"LINE", L"0", {}, false};
  line.sketch = {0, 0, 420, 0};
  drawing.blocks = {sim::Block{L"図枠A3", 0, 0, {sim::Rectangle(L"0", 0, 0, 420, 297)}},
                    sim::Block{L"図枠LINE", 0, 0, {line}},
                    sim::Block{L"BORDER-X", 0, 0, {sim::Rectangle(L"0", 0, 0, 420, 297)}}};
  drawing.entities = {sim::Rectangle(L"KESTRA", 0, 0, 420, 297),
                      sim::Rectangle(L"KESTRA", 500, 0, 920, 297),
                      sim::BlockReference(L"図枠A3", L"0", {500, 0, 1, 1, 0}),
                      sim::BlockReference(L"図枠A3", L"TITLE", {0, 400, 1, 1, 0}),
                      sim::BlockReference(L"図枠A3", L"0", {1337, 0, 1, 1, 90}),
                      sim::BlockReference(L"図枠LINE", L"0", {0, 800, 1, 1, 0}),
                      sim::BlockReference(L"BORDER-X", L"0", {0, 1200, 1, 1, 0})};
  drawing.view = {-1000, -1000, 100, 100};
  return drawing;
}

class BlockFramesTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    cad.Load(MixedSheets());
    view.blocks = L"図枠*";
  }
};

// The lower left corners of the pages, in page order.
std::vector<std::pair<double, double>> Corners(const TWakuList& list) {
  std::vector<std::pair<double, double>> corners;
  for (const TsvWaku& w : list) corners.emplace_back(w.minx, w.miny);
  return corners;
}

}  // namespace

TEST_F(BlockFramesTest, TheBlockAndDynamicPassesFollowThePolylinePassOnTheSameSelectionSet) {
  Get();
  std::vector<std::wstring> expected{L"HWND",  L"IsIconic", L"ActiveDocument", L"FullName", L"ActiveSelectionSet",
                                     L"Clear", L"Select",   L"Count",          L"Count",    L"Count"};
  for (int i = 0; i < 2; ++i) expected.insert(expected.end(), {L"Item", L"Coordinates", L"Closed"});
  expected.insert(expected.end(), {L"Clear", L"Clear", L"Select", L"Count"});
  for (int i = 0; i < 4; ++i) expected.insert(expected.end(), {L"Item", L"GetBoundingBox"});
  // The dynamic pass finds no anonymous reference here.
  expected.insert(expected.end(), {L"Clear", L"Clear", L"Select", L"Count", L"Clear", L"GetVariable"});
  EXPECT_EQ(cad.JournalMembers(), expected);

  const auto& journal = cad.Journal();
  std::vector<std::wstring> selects, boxes;
  for (const sim::JournalEntry& entry : journal) {
    if (entry.member == L"Select") selects.push_back(sim::Describe(entry));
    if (entry.member == L"GetBoundingBox") boxes.push_back(sim::Describe(entry));
  }
  ASSERT_EQ(selects.size(), 3u);
  EXPECT_EQ(selects[1],
            L"SelectionSet.Select(I4 5, Missing, Missing, &[I2 0..1: I2 0, I2 2], &[Variant 0..1: \"INSERT\", "
            L"\"図枠*\"])");
  EXPECT_EQ(selects[2],
            L"SelectionSet.Select(I4 5, Missing, Missing, &[I2 0..1: I2 0, I2 2], &[Variant 0..1: \"INSERT\", "
            L"\"`*U*\"])");
  EXPECT_EQ(boxes, std::vector<std::wstring>(4, L"Entity.GetBoundingBox(&Empty, &Empty)"));
}

TEST_F(BlockFramesTest, BlockFramesJoinThePolylineFramesAndADuplicateIsOnePage) {
  Get();
  // Two polylines and three references with area, before de-duplication.
  EXPECT_EQ(view.statuses, (std::vector<std::wstring>{L"5"}));
  EXPECT_EQ(Corners(Pages.WakuList()), (std::vector<std::pair<double, double>>{{0, 0}, {500, 0}, {1040, 0}, {0, 400}}));
  EXPECT_EQ(Pages.WakuList()[2].maxx, 1337);
  EXPECT_EQ(Pages.WakuList()[2].maxy, 420);

  cad.SetViewCentre(1100, 300);
  Get();
  EXPECT_EQ(view.Status(), L"3 / 4");
}

TEST_F(BlockFramesTest, EitherPassAloneGivesPagesAndNeitherKeepsTheLastOnes) {
  view.layer = L"EMPTY";
  Get();
  EXPECT_EQ(view.Status(), L"3");
  ASSERT_EQ(Pages.WakuList().size(), 3u);

  view.layer = L"KESTRA";
  view.blocks = L"NOTHING*";
  Get();
  EXPECT_EQ(view.Status(), L"2");

  view.layer = L"EMPTY";
  cad.ClearJournal();
  Get();
  EXPECT_EQ(view.Status(), L"2");
  EXPECT_EQ(Pages.WakuList().size(), 2u);
  EXPECT_EQ(cad.JournalMembers().back(), L"Clear") << "the set is left empty";
}

TEST_F(BlockFramesTest, AFailureInTheBlockPassKeepsTheLastListAndStatus) {
  view.blocks.clear();
  Get();
  const TWakuList before = Pages.WakuList();
  ASSERT_EQ(before.size(), 2u);
  view.blocks = L"図枠*";
  for (const auto& [member, nthCall] : std::vector<std::pair<const wchar_t*, int>>{
           {L"Clear", 3}, {L"Select", 2}, {L"Count", 4}, {L"Item", 4}, {L"GetBoundingBox", 2}, {L"Clear", 4}}) {
    cad.ClearFaults();
    cad.FailOn(member, nthCall, hresult::CallRejected);
    view.statuses.clear();
    Get();
    EXPECT_TRUE(view.statuses.empty()) << ToUtf8(member) << " " << nthCall;
    EXPECT_EQ(Corners(Pages.WakuList()), Corners(before)) << ToUtf8(member) << " " << nthCall;
  }
}
