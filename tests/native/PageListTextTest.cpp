// Names as the pager shows them: the page menu, the status hint and the
// page list copied to the clipboard.
#include <gtest/gtest.h>

#include "uilogic/PageListText.h"
#include "uilogic/PageMenu.h"
#include "uilogic/PageNameText.h"

namespace {

TEST(PageNameTextTest, TabsLineBreaksAndTheMultiLineCodeBecomeOneSpaceEach) {
  EXPECT_EQ(OneLine(L"a\tb\r\nc\rd\ne\\Pf"), L"a b c d e f");
  EXPECT_EQ(OneLine(L"\r\n\r\n"), L"  ");
  EXPECT_EQ(OneLine(L"C:\\\\Plans\\P2"), L"C:\\\\Plans 2") << "an escaped backslash starts no code";
  EXPECT_EQ(OneLine(L"end\\"), L"end\\");
}

TEST(PageNameTextTest, MenuItemsCarryTheNamesAndEmptyTextsAreLeftOut) {
  std::vector<PageMenuItem> items = PageMenuItems(3, 2, L"");
  AddPageNames(items, {{L"A-103", L"2階\r\n平面図"}, {}, {L"", L"外構図", L""}});
  EXPECT_EQ(items[0].label, L"1  A-103  2階 平面図");
  EXPECT_EQ(items[1].label, L"2");
  EXPECT_TRUE(items[1].checked);
  EXPECT_EQ(items[2].label, L"3  外構図");

  std::vector<PageMenuItem> none = PageMenuItems(0, 0, L"");
  AddPageNames(none, {});
  EXPECT_EQ(none[0].label, L"ページがありません — 取得 を押してください");
}

TEST(PageNameTextTest, TheStatusHintNamesThePageShown) {
  const std::vector<PageName> names{{L"A-103", L"2階平面図"}, {}, {L"", L""}};
  EXPECT_EQ(StatusHint(L"1 / 3", names), L"A-103  2階平面図");
  for (const wchar_t* status : {L"2 / 3", L"3 / 3", L"3", L"1 / 4", L""})
    EXPECT_EQ(StatusHint(status, names), kStatusHint) << testing::PrintToString(std::wstring(status));
}

TEST(PageNameTextTest, ALongLabelIsCutWithAnEllipsisToTheWidth) {
  const auto width = [](std::wstring_view text) { return static_cast<int>(text.size()) * 10; };
  EXPECT_EQ(FitLabel(L"12  A-103", 90, width), L"12  A-103");
  EXPECT_EQ(FitLabel(L"12  A-103  平面図", 90, width), L"12  A-10\u2026");
  EXPECT_EQ(FitLabel(L"12", 5, width), L"\u2026");
  EXPECT_EQ(FitLabel(L"1 \xD83D\xDE00x", 40, width), L"1 \u2026") << "a surrogate pair is never split";
}

TEST(PageListTextTest, AHeaderThenOneRowPerPageWithTextsOnOneLineAndShortestBounds) {
  const TWakuList pages{{-8000, 234.25, -7580, 531.25, false, 0, true}, {0.1, 1e-7, 1e21, 2.5e-300, false, 0, true}};
  const std::vector<PageName> names{{L"A-１", L"詳細図\t(その1)\\P続き", L""}, {}};
  EXPECT_EQ(PageListText(pages, names, {L"図番", L"図名", L"dwg-no"}),
            L"ページ\t図番\t図名\tdwg-no\t左\t下\t右\t上\r\n"
            L"1\tA-１\t詳細図 (その1) 続き\t\t-8000\t234.25\t-7580\t531.25\r\n"
            L"2\t\t\t\t0.1\t1e-07\t1e+21\t2.5e-300\r\n");
}

TEST(PageListTextTest, WithoutNamesTheRowsHoldTheNumberAndTheBounds) {
  const TWakuList pages{{0, 0, 420, 297, false, 0, true}};
  EXPECT_EQ(PageListText(pages, {{}}, {}), L"ページ\t左\t下\t右\t上\r\n1\t0\t0\t420\t297\r\n");
  EXPECT_EQ(PageListText({}, {}, {L"図番"}), L"ページ\t図番\t左\t下\t右\t上\r\n");
}

}  // namespace
