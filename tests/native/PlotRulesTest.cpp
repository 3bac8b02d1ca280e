#include <gtest/gtest.h>

#include <set>
#include <string>

#include "plot/PageRange.h"
#include "plot/PlotFileNames.h"
#include "plot/PlotRotation.h"

namespace {

std::vector<int> Pages(const wchar_t* text, int count) {
  const PageRange range = ParsePageRange(text, count);
  EXPECT_EQ(range.error, L"") << "for " << testing::PrintToString(std::wstring(text));
  return range.pages;
}

std::wstring ErrorOf(const wchar_t* text, int count) { return ParsePageRange(text, count).error; }

TEST(PageRangeTest, ReadsNumbersRangesAndOpenEndsWithSpacesAsOnePageSet) {
  EXPECT_EQ(Pages(L"1-3,5,8-", 10), (std::vector<int>{0, 1, 2, 4, 7, 8, 9}));
  EXPECT_EQ(Pages(L" 2 - 4 ,  7 ", 10), (std::vector<int>{1, 2, 3, 6}));
  // Overlaps and any order: each page once, in page order.
  EXPECT_EQ(Pages(L"5,1-3,2", 5), (std::vector<int>{0, 1, 2, 4}));
  EXPECT_EQ(Pages(L"12-", 12), (std::vector<int>{11}));
}

TEST(PageRangeTest, RefusesEmptyReversedOutOfRangeAndGarbageSayingWhich) {
  EXPECT_EQ(ErrorOf(L"", 10), L"ページを指定してください");
  EXPECT_EQ(ErrorOf(L"   ", 10), L"ページを指定してください");
  EXPECT_EQ(ErrorOf(L"5-3", 10), L"範囲が逆です: 5-3");
  EXPECT_EQ(ErrorOf(L"1,11", 10), L"ページは 1 から 10 までです: 11");
  EXPECT_EQ(ErrorOf(L"0-2", 10), L"ページは 1 から 10 までです: 0-2");
  EXPECT_EQ(ErrorOf(L"1,,2", 10), L"空の項目があります");
  EXPECT_EQ(ErrorOf(L"1,", 10), L"空の項目があります");
  EXPECT_EQ(ErrorOf(L"a", 10), L"読めない指定です: a");
  EXPECT_EQ(ErrorOf(L"1-2-3", 10), L"読めない指定です: 1-2-3");
  EXPECT_EQ(ErrorOf(L"-3", 10), L"読めない指定です: -3");
  EXPECT_EQ(ErrorOf(L"99999999999", 10), L"読めない指定です: 99999999999");
  EXPECT_TRUE(ParsePageRange(L"5-3", 10).pages.empty());
}

TEST(PlotFileNameTest, PatternFieldsFillPaddedPageDrawingAndTagsInAnyCase) {
  const FileNameFields fields{L"plan", PaddedPageNumber(3, 12), {{L"図番", L"A-103"}, {L"TITLE", L"2階 平面図"}}};
  EXPECT_EQ(ExpandFileNamePattern(L"{ページ}_{図番}_{title}", fields), L"03_A-103_2階 平面図");
  EXPECT_EQ(ExpandFileNamePattern(L"{図面}-{ページ}", fields), L"plan-03");
  // An unknown field and an unclosed brace stay as written.
  EXPECT_EQ(ExpandFileNamePattern(L"{x}{図面", fields), L"{x}{図面");
  EXPECT_EQ(PaddedPageNumber(7, 100), L"007");
  EXPECT_EQ(PaddedPageNumber(10, 9), L"10");
  EXPECT_EQ(DefaultFileNamePattern({L"図番", L"図名"}), L"{ページ}_{図番}_{図名}");
  EXPECT_EQ(DefaultFileNamePattern({}), L"{図面}-{ページ}");
}

TEST(PlotFileNameTest, RefusedCharactersAndControlCharactersBecomeUnderscores) {
  EXPECT_EQ(SafeFileName(L"a\\b/c:d*e?f\"g<h>i|j", L"1"), L"a_b_c_d_e_f_g_h_i_j");
  EXPECT_EQ(SafeFileName(L"tab\there\r\n", L"1"), L"tab_here__");
}

TEST(PlotFileNameTest, TrailingDotsAndSpacesGoAndAnEmptyNameIsThePageNumber) {
  EXPECT_EQ(SafeFileName(L"A-1 . .", L"1"), L"A-1");
  EXPECT_EQ(SafeFileName(L" . ", L"07"), L"07");
  EXPECT_EQ(SafeFileName(L"", L"07"), L"07");
}

TEST(PlotFileNameTest, ReservedDeviceNamesInAnyCaseWithOrWithoutExtensionGetAnUnderscore) {
  for (const wchar_t* reserved : {L"CON", L"prn", L"Aux", L"nul.txt", L"COM1", L"com9.pdf", L"LPT5"})
    EXPECT_EQ(SafeFileName(reserved, L"1"), L"_" + std::wstring(reserved));
  for (const wchar_t* free : {L"CONSOLE", L"COM0", L"COM10", L"LPT", L"NULL"})
    EXPECT_EQ(SafeFileName(free, L"1"), free);
}

TEST(PlotFileNameTest, ThePathStaysUnder240CharactersCutOutsideASurrogatePair) {
  const std::wstring folder = L"C:\\" + std::wstring(200, L'f');
  const std::wstring path = FittedPath(folder, std::wstring(100, L'n'), L"", L".pdf");
  EXPECT_EQ(path.size(), 239u);
  EXPECT_TRUE(path.ends_with(L"n.pdf"));
  // The cut would fall between the halves of U+20BB7: the whole pair goes.
  const std::wstring before(239 - (folder.size() + 1) - 4 - 1, L'x');
  EXPECT_EQ(FittedPath(folder, before + L"\xD842\xDFB7yy", L"", L".pdf"), folder + L"\\" + before + L".pdf");
  EXPECT_EQ(FittedPath(std::wstring(240, L'f'), L"n", L"", L".pdf"), L"");
}

TEST(PlotFileNameTest, AnExistingNameGetsTheFirstFreeNumberAndIsNeverReused) {
  std::set<std::wstring> taken{L"D:\\out\\03.pdf", L"D:\\out\\03 (2).pdf"};
  const auto exists = [&taken](const std::wstring& path) { return taken.count(path) > 0; };
  EXPECT_EQ(FreePath(L"D:\\out", L"04", L".pdf", exists), L"D:\\out\\04.pdf");
  EXPECT_EQ(FreePath(L"D:\\out\\", L"03", L".pdf", exists), L"D:\\out\\03 (3).pdf");
  // The number stays inside the length limit: the stem is cut for it.
  const std::wstring folder = L"D:\\" + std::wstring(220, L'f');
  taken.insert(folder + L"\\" + std::wstring(11, L'n') + L".pdf");
  EXPECT_EQ(FreePath(folder, std::wstring(14, L'n'), L".pdf", exists),
            folder + L"\\" + std::wstring(7, L'n') + L" (2).pdf");
}

TEST(PlotRotationTest, AutoTurnsAFrameWhoseLongSideCrossesThePapersAndAsPaperNever) {
  EXPECT_EQ(PlotRotationFor(PlotOrientation::Auto, 420, 297, 297, 210), 0);
  EXPECT_EQ(PlotRotationFor(PlotOrientation::Auto, 420, 297, 210, 297), 1);
  EXPECT_EQ(PlotRotationFor(PlotOrientation::Auto, 297, 420, 297, 210), 1);
  EXPECT_EQ(PlotRotationFor(PlotOrientation::Auto, 297, 420, 210, 297), 0);
  EXPECT_EQ(PlotRotationFor(PlotOrientation::Auto, 300, 300, 210, 297), 0);
  EXPECT_EQ(PlotRotationFor(PlotOrientation::AsPaper, 420, 297, 210, 297), 0);
}

}  // namespace
