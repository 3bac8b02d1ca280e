// A drawing as the simulated CAD holds it: entities with their layer and
// the geometry its automation members report, and the initial view.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cad/Automation.h"

namespace sim {

// Where a block reference puts its block: the block's base point goes to
// (x, y), scaled (negative for mirroring), then rotated counter-clockwise.
struct Placement {
  double x = 0.0;
  double y = 0.0;
  double xScale = 1.0;
  double yScale = 1.0;
  double rotation = 0.0;  // degrees
};

// A text the viewer writes: its string from its insertion point (the
// start of the baseline, in the coordinates of the entity's block) at its
// height, its baseline turned counter-clockwise by rotation degrees. A
// mirrored text reads backwards: its lines follow each other on the other
// side of its baseline.
struct Label {
  std::wstring text;
  double x = 0.0;
  double y = 0.0;
  double height = 0.0;
  double rotation = 0.0;
  bool mirrored = false;
};

// An attribute of a block reference: what TagString and TextString answer
// (a multi-line text's lines joined by CR LF), and where it is written.
struct Attribute {
  std::wstring tag;
  Label label;
};

struct Entity {
  std::wstring type;   // DXF entity name: "LWPOLYLINE", "POLYLINE", "LINE", "TEXT", "INSERT", ...
  std::wstring layer;  // as written in the file, letter case kept
  // What Coordinates returns: x,y pairs for a lightweight polyline, x,y,z
  // triples for an old-style one; empty for other entities.
  std::vector<double> coordinates;
  bool closed = false;
  // x,y pairs outlining a LINE, CIRCLE or ARC, or a text's insertion
  // point; empty for other entities. The viewer draws it and bounding boxes
  // take it in; no member reports it as such.
  std::vector<double> sketch{};
  // The lower bound of the Coordinates array; some servers count from 1.
  int32_t coordinatesLowerBound = 0;
  // The kind of the Coordinates array's elements: doubles, as real servers
  // answer, or integers or strings, as a wrong one might.
  VariantKind coordinatesKind = VariantKind::Double;
  // An INSERT's block name and placement.
  std::wstring blockName{};
  Placement placement{};
  std::vector<Attribute> attributes{};
  // A TEXT entity's text; empty for other entities.
  Label label{};
  // An ATTDEF's tag; empty for other entities.
  std::wstring tag{};

  bool IsPolyline() const { return type == L"LWPOLYLINE" || type == L"POLYLINE"; }
  bool IsBlockReference() const { return type == L"INSERT"; }
};

struct Block {
  std::wstring name;
  double baseX = 0.0;
  double baseY = 0.0;
  std::vector<Entity> entities;
  // For an anonymous block that a dynamic block's reference got when its
  // parameters were changed, the dynamic block's name; empty for others.
  std::wstring dynamicBlock{};
  // An external reference (BLOCK flags 4 or 8).
  bool externalReference = false;
};

struct View {
  double centreX = 0.0;
  double centreY = 0.0;
  double height = 1.0;
  double width = 1.0;
};

struct Drawing {
  std::vector<Entity> entities;
  std::vector<Block> blocks;
  // The LAYER table's names in its order; may be empty.
  std::vector<std::wstring> layers;
  View view;

  // What the Layers collection holds: the table's layers; without a table,
  // layer 0 and the layers the entities name, as a CAD makes them.
  std::vector<std::wstring> LayerNames() const;
  // The block of that name in any letter case, or none.
  const Block* FindBlock(const std::wstring& name) const;
  // What EffectiveName answers for a reference: the dynamic block's name
  // when the referenced block stands for one, else the reference's own.
  const std::wstring& EffectiveName(const Entity& reference) const;
};

// Names as the CAD compares them: ASCII letters in any case.
bool SameName(std::wstring_view a, std::wstring_view b);

// A closed lightweight rectangle from (minx, miny) to (maxx, maxy).
Entity Rectangle(const std::wstring& layer, double minx, double miny, double maxx, double maxy);

// A reference of the block on the layer.
Entity BlockReference(const std::wstring& block, const std::wstring& layer, Placement placement = {});

// The bounding box of every entity's coordinates and of every block
// reference; a unit box at the origin when there are none.
View Extents(const Drawing& drawing);

// The view of the window between two corners; nothing for a window
// without extent, which a CAD refuses.
std::optional<View> WindowView(double x1, double y1, double x2, double y2);

}  // namespace sim
