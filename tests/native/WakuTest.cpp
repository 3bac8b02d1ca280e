#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <limits>

#include "pages/Waku.h"

namespace {

TsvWaku Frame(double minx, double miny, double maxx, double maxy) { return {minx, miny, maxx, maxy, false, 0, false}; }

// 600 x 400 sheets, identified by their lower-left corner.
TsvWaku Sheet(double x, double y) { return Frame(x, y, x + 600, y + 400); }

struct Corner {
  double x, y;
  bool operator==(const Corner&) const = default;
};

std::vector<Corner> Corners(const TWakuList& list) {
  std::vector<Corner> corners;
  for (const TsvWaku& w : list) corners.push_back({w.minx, w.miny});
  return corners;
}

void PrintTo(const Corner& c, std::ostream* os) { *os << "(" << c.x << ", " << c.y << ")"; }

}  // namespace

TEST(WakuFromPolyline, AcceptsClosedFourVertexPolylinesInAnyVertexOrder) {
  const std::array<double, 8> clockwise{0, 297, 420, 297, 420, 0, 0, 0};
  const auto waku = WakuFromPolyline(clockwise, true);
  ASSERT_TRUE(waku);
  EXPECT_EQ(waku->minx, 0);
  EXPECT_EQ(waku->miny, 0);
  EXPECT_EQ(waku->maxx, 420);
  EXPECT_EQ(waku->maxy, 297);
  EXPECT_FALSE(waku->plotFlag);
  EXPECT_FALSE(waku->flag);
}

TEST(WakuFromPolyline, GivesTheBoundingBoxOfARotatedRectangle) {
  const std::array<double, 8> diamond{5, 0, 10, 5, 5, 10, 0, 5};
  const auto waku = WakuFromPolyline(diamond, true);
  ASSERT_TRUE(waku);
  EXPECT_EQ(waku->minx, 0);
  EXPECT_EQ(waku->miny, 0);
  EXPECT_EQ(waku->maxx, 10);
  EXPECT_EQ(waku->maxy, 10);
}

TEST(WakuFromPolyline, RejectsOpenPolylinesAndOtherVertexCounts) {
  const std::array<double, 8> square{0, 0, 1, 0, 1, 1, 0, 1};
  EXPECT_FALSE(WakuFromPolyline(square, false));
  const std::array<double, 6> triangle{0, 0, 1, 0, 1, 1};
  EXPECT_FALSE(WakuFromPolyline(triangle, true));
  const std::array<double, 10> closedByRepeat{0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
  EXPECT_FALSE(WakuFromPolyline(closedByRepeat, true));
  const std::array<double, 12> withElevation{0, 0, 5, 1, 0, 5, 1, 1, 5, 0, 1, 5};
  EXPECT_FALSE(WakuFromPolyline(withElevation, true));
  EXPECT_FALSE(WakuFromPolyline({}, true));
}

TEST(WakuFromPolyline, RejectsValuesThatAreNotFiniteAndRectanglesWithoutArea) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const std::array<double, 8> allNan{nan, nan, nan, nan, nan, nan, nan, nan};
  EXPECT_FALSE(WakuFromPolyline(allNan, true));
  const std::array<double, 8> nanFirst{nan, 0, 420, 0, 420, 297, 0, 297};  // would give a zero-width box
  EXPECT_FALSE(WakuFromPolyline(nanFirst, true));
  const std::array<double, 8> nanLater{0, 0, 420, 0, nan, 297, 0, 297};  // would drop out of the comparisons
  EXPECT_FALSE(WakuFromPolyline(nanLater, true));
  const std::array<double, 8> infiniteCorner{-2, 10, 420, 10, infinity, infinity, -2, 297};
  EXPECT_FALSE(WakuFromPolyline(infiniteCorner, true));
  const std::array<double, 8> flat{0, 5, 420, 5, 420, 5, 0, 5};
  EXPECT_FALSE(WakuFromPolyline(flat, true));
  const std::array<double, 8> point{7, 7, 7, 7, 7, 7, 7, 7};
  EXPECT_FALSE(WakuFromPolyline(point, true));
  const std::array<double, 8> huge{-1e300, -1e300, 1e300, -1e300, 1e300, 1e300, -1e300, 1e300};
  EXPECT_TRUE(WakuFromPolyline(huge, true)) << "large but finite is a page";
}

TEST(SortWakuList, LeavesASingleFrameUntouched) {
  TWakuList list{Frame(1, 2, 3, 4)};
  list[0].yindex = 7;
  SortWakuList(list, true);
  EXPECT_EQ(list[0].yindex, 7);
  EXPECT_FALSE(list[0].flag);
  TWakuList empty;
  SortWakuList(empty, false);
  EXPECT_TRUE(empty.empty());
}

TEST(SortWakuList, OrdersTwoByTwoSheetsInReadingOrderFromEitherCorner) {
  const std::vector<TWakuList> inputs{
      {Sheet(0, 0), Sheet(700, 0), Sheet(0, 500), Sheet(700, 500)},
      {Sheet(700, 500), Sheet(0, 500), Sheet(700, 0), Sheet(0, 0)},
      {Sheet(0, 500), Sheet(700, 0), Sheet(700, 500), Sheet(0, 0)},
  };
  for (const TWakuList& input : inputs) {
    TWakuList upper = input;
    SortWakuList(upper, true);
    EXPECT_EQ(Corners(upper), (std::vector<Corner>{{0, 500}, {700, 500}, {0, 0}, {700, 0}}));
    EXPECT_EQ(upper[0].yindex, 0);
    EXPECT_EQ(upper[3].yindex, 1);
    for (const TsvWaku& w : upper) EXPECT_TRUE(w.flag);

    TWakuList lower = input;
    SortWakuList(lower, false);
    EXPECT_EQ(Corners(lower), (std::vector<Corner>{{0, 0}, {700, 0}, {0, 500}, {700, 500}}));
  }
}

TEST(SortWakuList, RowToleranceIsInclusiveAtTenUnits) {
  TWakuList exactly{Sheet(700, 10.0), Sheet(0, 0)};
  SortWakuList(exactly, false);
  EXPECT_EQ(Corners(exactly), (std::vector<Corner>{{0, 0}, {700, 10}}));
  EXPECT_EQ(exactly[1].yindex, 0);

  TWakuList beyond{Sheet(0, 10.000001), Sheet(700, 0)};
  SortWakuList(beyond, false);
  EXPECT_EQ(Corners(beyond), (std::vector<Corner>{{700, 0}, {0, 10.000001}}));
  EXPECT_EQ(beyond[1].yindex, 1);
}

TEST(SortWakuList, RowsAreAnchoredAtTheirFirstFrameNotThePreviousOne) {
  TWakuList lower{Sheet(0, 16), Sheet(700, 8), Sheet(1400, 0)};
  SortWakuList(lower, false);
  EXPECT_EQ(Corners(lower), (std::vector<Corner>{{700, 8}, {1400, 0}, {0, 16}}));
  EXPECT_EQ(lower[0].yindex, 0);
  EXPECT_EQ(lower[1].yindex, 0);
  EXPECT_EQ(lower[2].yindex, 1);

  TWakuList upper{Sheet(0, 0), Sheet(700, 8), Sheet(1400, 16)};
  SortWakuList(upper, true);
  EXPECT_EQ(Corners(upper), (std::vector<Corner>{{700, 8}, {1400, 16}, {0, 0}}));
  EXPECT_EQ(upper[2].yindex, 1);
}

TEST(SortWakuList, ExchangeSortDecidesTheOrderOfEqualKeys) {
  // Equal miny and equal minx: only the exchange sort's swaps decide which
  // of the frames comes first; a stable sort would keep the input order.
  // From the top, the higher frame is swapped to the front, which puts the
  // two lower ones in reverse order.
  struct Case {
    bool upperLeft;
    TWakuList list;
  };
  for (Case c : {Case{false, {Frame(0, 5, 100, 50), Frame(0, 5, 300, 50), Frame(0, 0, 200, 50)}},
                 Case{true, {Frame(0, 0, 100, 50), Frame(0, 0, 300, 50), Frame(0, 5, 200, 50)}}}) {
    SortWakuList(c.list, c.upperLeft);
    std::vector<double> rightEdges;
    for (const TsvWaku& w : c.list) rightEdges.push_back(w.maxx);
    EXPECT_EQ(rightEdges, (std::vector<double>{200, 300, 100})) << "upperLeft " << c.upperLeft;
  }
}

TEST(SortWakuList, DropsNearDuplicatesKeepingTheEarlierFrame) {
  TWakuList identical{Sheet(700, 0), Sheet(0, 0), Sheet(0, 0)};
  SortWakuList(identical, false);
  EXPECT_EQ(Corners(identical), (std::vector<Corner>{{0, 0}, {700, 0}}));
  for (const TsvWaku& w : identical) EXPECT_TRUE(w.flag);

  TWakuList close{Frame(0.999, 0.999, 600.999, 400.999), Frame(0, 0, 600, 400)};
  SortWakuList(close, false);
  ASSERT_EQ(close.size(), 1u);
  EXPECT_EQ(close[0].minx, 0);  // the earlier one in page order survives
}

TEST(SortWakuList, ADifferenceOfExactlyOneInAnyBoundKeepsBoth) {
  const std::array<TsvWaku, 4> shifted{Frame(1, 0, 600, 400), Frame(0, 1, 600, 400), Frame(0, 0, 601, 400),
                                       Frame(0, 0, 600, 401)};
  for (const TsvWaku& other : shifted) {
    TWakuList list{Frame(0, 0, 600, 400), other};
    SortWakuList(list, false);
    EXPECT_EQ(list.size(), 2u);
  }
}

TEST(SortWakuList, MarksDuplicatesOfAlreadyMarkedFramesToo) {
  // b is a duplicate of a, and c of b but not of a: j runs over marked
  // frames as well, so c goes too.
  TWakuList list{Frame(0, 0, 600, 400), Frame(0.6, 0, 600.6, 400), Frame(1.2, 0, 601.2, 400)};
  SortWakuList(list, false);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].minx, 0);
}

TEST(LocateWaku, IsStrictOnEveryEdge) {
  const TWakuList list{Frame(0, 0, 10, 10), Frame(10, 0, 20, 10)};
  EXPECT_EQ(LocateWaku(list, 5, 5, 2), 0);
  EXPECT_EQ(LocateWaku(list, 15, 5, 2), 1);
  EXPECT_EQ(LocateWaku(list, 10, 5, 2), -1);  // the shared edge lies in neither
  EXPECT_EQ(LocateWaku(list, 0, 5, 2), -1);
  EXPECT_EQ(LocateWaku(list, 5, 0, 2), -1);
  EXPECT_EQ(LocateWaku(list, 5, 10, 2), -1);
  EXPECT_EQ(LocateWaku(list, 20, 5, 2), -1);
}

TEST(LocateWaku, PrefersTheEarlierOfOverlappingFramesAndHonoursTheCount) {
  const TWakuList list{Frame(0, 0, 10, 10), Frame(-5, -5, 15, 15)};
  EXPECT_EQ(LocateWaku(list, 5, 5, 2), 0);
  EXPECT_EQ(LocateWaku(list, 12, 12, 2), 1);
  EXPECT_EQ(LocateWaku(list, 12, 12, 1), -1);
  EXPECT_EQ(LocateWaku(list, 5, 5, 0), -1);
  EXPECT_EQ(LocateWaku(list, 5, 5, 99), 0);  // never reads past the list
}

TEST(LocateWaku, AnAllZeroFrameContainsNothing) {
  const TWakuList list{Frame(0, 0, 0, 0)};
  EXPECT_EQ(LocateWaku(list, 0, 0, 1), -1);
}

TEST(WakuFromBoundingBox, GivesThePageOfABoxWithAreaAndNoneOtherwise) {
  const auto waku = WakuFromBoundingBox(-20, -10, 400, 287);
  ASSERT_TRUE(waku);
  EXPECT_EQ(waku->minx, -20);
  EXPECT_EQ(waku->miny, -10);
  EXPECT_EQ(waku->maxx, 400);
  EXPECT_EQ(waku->maxy, 287);
  EXPECT_FALSE(waku->flag);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(WakuFromBoundingBox(0, 0, 0, 297));    // a line
  EXPECT_FALSE(WakuFromBoundingBox(0, 5, 420, 5));    // a line the other way
  EXPECT_FALSE(WakuFromBoundingBox(420, 0, 0, 297));  // corners swapped
  EXPECT_FALSE(WakuFromBoundingBox(0, 0, nan, 297));
  EXPECT_FALSE(WakuFromBoundingBox(-infinity, 0, 420, 297));
  EXPECT_FALSE(WakuFromBoundingBox(0, 0, 420, infinity));
}
