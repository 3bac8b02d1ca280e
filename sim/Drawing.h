// A drawing as the simulated CAD holds it: entities with their layer and
// the geometry its automation members report, and the initial view.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Entity {
  std::wstring type;   // DXF entity name: "LWPOLYLINE", "POLYLINE", "LINE", "TEXT", ...
  std::wstring layer;  // as written in the file, letter case kept
  // What Coordinates returns: x,y pairs for a lightweight polyline, x,y,z
  // triples for an old-style one; empty for other entities.
  std::vector<double> coordinates;
  bool closed = false;
  // For the viewer only: x,y pairs outlining a LINE, CIRCLE or ARC; empty
  // for other entities. No automation member reports it.
  std::vector<double> sketch{};
  // The lower bound of the Coordinates array; some servers count from 1.
  int32_t coordinatesLowerBound = 0;
  bool IsPolyline() const { return type == L"LWPOLYLINE" || type == L"POLYLINE"; }
};

struct View {
  double centreX = 0.0;
  double centreY = 0.0;
  double height = 1.0;
  double width = 1.0;
};

struct Drawing {
  std::vector<Entity> entities;
  View view;
};

// A closed lightweight rectangle from (minx, miny) to (maxx, maxy).
Entity Rectangle(const std::wstring& layer, double minx, double miny, double maxx, double maxy);

// The bounding box of every entity's coordinates; a unit box at the origin
// when there are none.
View Extents(const Drawing& drawing);

// The view of the window between two corners; nothing for a window
// without extent, which a CAD refuses.
std::optional<View> WindowView(double x1, double y1, double x2, double y2);

}  // namespace sim
