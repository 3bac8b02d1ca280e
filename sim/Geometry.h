// Where an entity's geometry lies in the drawing: the outlines and texts
// the viewer draws and the bounding box GetBoundingBox reports, block
// references followed through their placement into nested blocks.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "sim/Drawing.h"

namespace sim {

struct Box {
  double minx, miny, maxx, maxy;
};

// One outline in drawing coordinates: x,y pairs, and whether it closes.
using OutlineSink = std::function<void(const std::vector<double>& points, bool closed)>;

// Calls the sink for each outline of the entity: a polyline, a line, a
// circle or an arc, a text's insertion point, and for a block reference
// every outline of its block as placed.
void ForEachOutline(const Drawing& drawing, const Entity& entity, const OutlineSink& sink);

// One text in drawing coordinates.
using LabelSink = std::function<void(const Label& label)>;

// Calls the sink for each text the entity shows: a TEXT's, a block
// reference's attributes, and the texts of its block as placed.
void ForEachLabel(const Drawing& drawing, const Entity& entity, const LabelSink& sink);

// The axis-aligned box around the entity's outlines; nothing when it has
// none (a reference to an empty or unknown block).
std::optional<Box> BoundingBox(const Drawing& drawing, const Entity& entity);

}  // namespace sim
