// Page frames: building one from a polyline, putting a list of them in
// reading order without near-duplicates, and finding the frame under a point.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct TsvWaku {
  double minx, miny, maxx, maxy;
  // Declared with the record and never set or read: the record keeps the
  // fields it has always had, so nothing is to be done with it.
  bool plotFlag;
  int32_t yindex;
  bool flag;
};

using TWakuList = std::vector<TsvWaku>;

// The bounding box of a closed polyline of exactly four finite x,y
// vertices, when it has an area; nothing for any other polyline.
std::optional<TsvWaku> WakuFromPolyline(std::span<const double> coordinates, bool closed);

// The frame of a block reference's axis-aligned bounding box; nothing for
// a box without area or with a value, width or height that is not finite.
std::optional<TsvWaku> WakuFromBoundingBox(double minx, double miny, double maxx, double maxy);

// Orders the list in rows (bottom row first, or top row first when
// upperLeft), each row left to right, and drops near-duplicates.
void SortWakuList(TWakuList& list, bool upperLeft);

// The index of the first of the first count frames whose interior holds
// (cx, cy), or -1.
int LocateWaku(const TWakuList& list, double cx, double cy, int count);
