#include <gtest/gtest.h>

#include "uilogic/PageMenu.h"
#include "uilogic/StatusTooltip.h"
#include "uilogic/WheelSteps.h"

namespace {

TEST(PageMenuTest, OneItemPerPageWithTheCheckedOne) {
  const std::vector<PageMenuItem> items = PageMenuItems(12, 3, L"");
  ASSERT_EQ(items.size(), 12u);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(items[i].page, i + 1);
    EXPECT_EQ(items[i].label, std::to_wstring(i + 1));
    EXPECT_EQ(items[i].checked, i == 2) << "item " << i;
    EXPECT_TRUE(items[i].enabled);
    EXPECT_FALSE(items[i].newColumn);
  }
  for (const PageMenuItem& item : PageMenuItems(12, 0, L"")) EXPECT_FALSE(item.checked);
}

TEST(PageMenuTest, ColumnsOfThirty) {
  const std::vector<PageMenuItem> items = PageMenuItems(61, 0, L"");
  ASSERT_EQ(items.size(), 61u);
  for (const PageMenuItem& item : items)
    EXPECT_EQ(item.newColumn, item.page == 31 || item.page == 61) << "page " << item.page;
  for (const PageMenuItem& item : PageMenuItems(30, 0, L"")) EXPECT_FALSE(item.newColumn);
}

TEST(PageMenuTest, NoPagesGiveOneDisabledItemThatSaysSo) {
  for (const int count : {0, -1}) {
    const std::vector<PageMenuItem> items = PageMenuItems(count, 1, L"");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].page, 0);
    EXPECT_EQ(items[0].label, L"ページがありません — 取得 を押してください");
    EXPECT_FALSE(items[0].enabled);
    EXPECT_FALSE(items[0].checked);
  }
}

TEST(PageMenuTest, TheDrawingsTitleComesFirstDisabled) {
  const std::vector<PageMenuItem> items = PageMenuItems(31, 2, L"A.dwg");
  ASSERT_EQ(items.size(), 32u);
  EXPECT_EQ(items[0].label, L"A.dwg");
  EXPECT_EQ(items[0].page, 0);
  EXPECT_FALSE(items[0].enabled);
  EXPECT_TRUE(items[2].checked);
  EXPECT_TRUE(items[31].newColumn);  // page 31 still opens the second column

  const std::vector<PageMenuItem> none = PageMenuItems(0, 0, L"Drawing2.dwg");
  ASSERT_EQ(none.size(), 2u);
  EXPECT_EQ(none[0].label, L"Drawing2.dwg");
  EXPECT_FALSE(none[1].enabled);
}

// The drawing's name above the first column is no page row; from 40
// columns on there is no room for names.
TEST(PageMenuTest, ColumnsAreCountedInPageRowsAndManyColumnsShowNumbersAlone) {
  EXPECT_EQ(PageMenuColumns(0), 1);
  EXPECT_EQ(PageMenuColumns(30), 1);
  EXPECT_EQ(PageMenuColumns(31), 2);
  EXPECT_EQ(PageMenuColumns(60), 2);
  EXPECT_EQ(PageMenuColumns(61), 3);
  EXPECT_TRUE(PageMenuShowsNames(39 * 30));
  EXPECT_FALSE(PageMenuShowsNames(39 * 30 + 1));
}

TEST(StatusTooltipTest, TheReasonTakesTheSecondLine) {
  EXPECT_EQ(StatusTooltipText(L"ページ番号", L""), L"ページ番号");
  EXPECT_EQ(StatusTooltipText(L"ページ番号", L"BricsCAD が起動していません"),
            L"ページ番号\nBricsCAD が起動していません");
}

TEST(PageMenuTest, TheCheckedPageIsTheOneTheStatusShowsForTheseFrames) {
  EXPECT_EQ(PageInStatus(L"3 / 12", 12), 3);
  EXPECT_EQ(PageInStatus(L"12 / 12", 12), 12);
  EXPECT_EQ(PageInStatus(L"3 / 12", 11), 0) << "the status of another list of frames";
  for (const wchar_t* none : {L"", L"12", L"13 / 12", L"0 / 12", L"03 / 12", L"3/12", L"-3 / 12", L"3 / 12x"})
    EXPECT_EQ(PageInStatus(none, 12), 0) << testing::PrintToString(std::wstring(none));
}

TEST(WheelStepsTest, EachNotchStepsTowardsTheUserForwardAndAwayBackward) {
  WheelSteps wheel;
  EXPECT_EQ(wheel.Add(-120), -1);
  EXPECT_EQ(wheel.Add(120), 1);
  EXPECT_EQ(wheel.Add(-360), -3) << "a message of several notches";
}

TEST(WheelStepsTest, FractionsAddUpToANotchAndTheRestWaits) {
  WheelSteps wheel;
  EXPECT_EQ(wheel.Add(-40), 0);
  EXPECT_EQ(wheel.Add(-40), 0);
  EXPECT_EQ(wheel.Add(-50), -1);
  EXPECT_EQ(wheel.Add(-110), -1) << "10 were left of the last notch";
  EXPECT_EQ(wheel.Add(-119), 0);
  EXPECT_EQ(wheel.Add(-1), -1);
}

TEST(WheelStepsTest, TurningTheOtherWayDropsTheRest) {
  WheelSteps wheel;
  EXPECT_EQ(wheel.Add(-100), 0);
  EXPECT_EQ(wheel.Add(60), 0);
  EXPECT_EQ(wheel.Add(60), 1) << "the 100 towards the user must not hold back the turn away";
}

}  // namespace
