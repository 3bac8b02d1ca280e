// Sheet names: the order of Order=Names and the marks that name pages.
#include <gtest/gtest.h>

#include <algorithm>

#include "pages/NameOrder.h"
#include "pages/SheetNames.h"

namespace {

// Each text comes before the next one, and the compare agrees both ways.
void ExpectAscending(const std::vector<std::wstring>& texts) {
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    const std::string pair = testing::PrintToString(texts[i]) + " < " + testing::PrintToString(texts[i + 1]);
    EXPECT_LT(CompareSheetTexts(texts[i], texts[i + 1]), 0) << pair;
    EXPECT_GT(CompareSheetTexts(texts[i + 1], texts[i]), 0) << pair;
  }
}

TEST(NameOrderTest, DigitRunsCompareByTheirValueHalfOrFullWidth) {
  ExpectAscending({L"A-2", L"A-10", L"A-33"});
  ExpectAscending({L"2階", L"10階"});
  ExpectAscending({L"A-４", L"A-9", L"A-１２", L"A-28"});
  ExpectAscending({L"A-7", L"A-07", L"A-007", L"A-8"});  // equal values: the shorter run first
  ExpectAscending({L"x99999999999999999999998", L"x99999999999999999999999", L"x100000000000000000000000"});
  EXPECT_EQ(CompareSheetTexts(L"A-２８", L"A-28"), 0);
}

TEST(NameOrderTest, OtherRunsIgnoreCaseAndFullWidthAndDigitsComeFirst) {
  EXPECT_EQ(CompareSheetTexts(L"a-15", L"A-15"), 0);
  EXPECT_EQ(CompareSheetTexts(L"ＡＢ-1", L"ab-1"), 0);
  ExpectAscending({L"1A", L"A", L"A-1"});  // a digit run before any other run
  ExpectAscending({L"B", L"b1", L"Bc", L"C"});
  ExpectAscending({L"平面", L"詳細"});  // code point order
}

TEST(NameOrderTest, TheStartOfATextAndTheEmptyTextComeFirst) {
  ExpectAscending({L"", L"0", L"A", L"A-", L"A-1", L"A-1a"});
  EXPECT_EQ(CompareSheetTexts(L"", L""), 0);
  EXPECT_LT(CompareSheetNames({L"A-1", L""}, {L"A-1", L"x"}), 0);
  EXPECT_GT(CompareSheetNames({L"a-15", L"10階平面図"}, {L"A-15", L"2階平面図"}), 0) << "the next tag decides a tie";
}

TsvWaku Frame(double minx, double miny) { return TsvWaku{minx, miny, minx + 100, miny + 50, false, 0, true}; }
TitleMark Mark(double x, double y, const wchar_t* text) { return TitleMark{x, y, {text}}; }

TEST(SheetNamesTest, EachPageTakesTheFirstMarkInsideItsFrame) {
  // Frames 0 and 1 overlap; frame 2 has two marks; frame 3 none.
  const TWakuList pages{Frame(0, 0), Frame(50, 0), Frame(300, 0), Frame(500, 0)};
  const std::vector<TitleMark> marks{Mark(320, 10, L"first"), Mark(75, 25, L"shared"), Mark(330, 20, L"second"),
                                     Mark(-50, 0, L"nowhere"), Mark(100, 50, L"on the edge")};
  const std::vector<PageName> names = NamePages(pages, marks);
  EXPECT_EQ(names, (std::vector<PageName>{{L"shared"}, {L"shared"}, {L"first"}, {}}));
  EXPECT_EQ(NamePages(pages, {}), std::vector<PageName>(4));
}

// A title block that holds none of the tags gives a mark without text: it
// hides no real title block in the same frame.
TEST(SheetNamesTest, AMarkWithoutTextNamesNoPage) {
  const TWakuList pages{Frame(0, 0), Frame(300, 0)};
  const std::vector<TitleMark> marks{TitleMark{10, 10, {L"", L""}}, TitleMark{20, 20, {L"", L"平面図"}},
                                     TitleMark{310, 10, {L""}}};
  EXPECT_EQ(NamePages(pages, marks), (std::vector<PageName>{{L"", L"平面図"}, {}}));
}

TEST(SheetNamesTest, MarksNameTheFrameThatSurvivesDeduplication) {
  TWakuList pages{Frame(0, 0), Frame(200, 0), Frame(0.5, 0.5)};
  SortWakuList(pages, false);
  ASSERT_EQ(pages.size(), 2u);
  const std::vector<TitleMark> marks{Mark(10, 10, L"A-1"), Mark(210, 10, L"A-2")};
  EXPECT_EQ(NamePages(pages, marks), (std::vector<PageName>{{L"A-1"}, {L"A-2"}}));
}

TEST(SheetNamesTest, NameOrderPutsNamedPagesFirstAndKeepsReadingOrderForTiesAndTheRest) {
  TWakuList pages;
  for (int i = 0; i < 6; ++i) pages.push_back(Frame(i * 200.0, 0));
  std::vector<PageName> names{{L"A-10", L"x"}, {}, {L"a-2", L"y"}, {L"A-2", L"y"}, {}, {L"", L""}};
  OrderPagesByName(pages, names);
  // A name of empty texts is no name: it sorts with the unnamed pages.
  EXPECT_EQ(names, (std::vector<PageName>{{L"a-2", L"y"}, {L"A-2", L"y"}, {L"A-10", L"x"}, {}, {}, {L"", L""}}));
  std::vector<double> lefts;
  for (const TsvWaku& w : pages) lefts.push_back(w.minx);
  EXPECT_EQ(lefts, (std::vector<double>{400, 600, 0, 200, 800, 1000}));
}

}  // namespace
