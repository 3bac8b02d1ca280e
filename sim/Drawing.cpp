#include "sim/Drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/Geometry.h"

namespace sim {

namespace {

// Values per vertex in what Coordinates reports.
size_t Stride(const Entity& entity) { return entity.type == L"LWPOLYLINE" ? 2 : 3; }

}  // namespace

std::vector<std::wstring> Drawing::LayerNames() const {
  if (!layers.empty()) return layers;
  std::vector<std::wstring> names{L"0"};
  for (const Entity& entity : entities)
    if (std::none_of(names.begin(), names.end(),
                     [&](const std::wstring& name) { return SameName(name, entity.layer); }))
      names.push_back(entity.layer);
  return names;
}

const Block* Drawing::FindBlock(const std::wstring& name) const {
  for (const Block& block : blocks)
    if (SameName(block.name, name)) return &block;
  return nullptr;
}

const std::wstring& Drawing::EffectiveName(const Entity& reference) const {
  const Block* block = FindBlock(reference.blockName);
  return block && !block->dynamicBlock.empty() ? block->dynamicBlock : reference.blockName;
}

Entity Rectangle(const std::wstring& layer, double minx, double miny, double maxx, double maxy) {
  return Entity{L"LWPOLYLINE", layer, {minx, miny, maxx, miny, maxx, maxy, minx, maxy}, true};
}

Entity BlockReference(const std::wstring& block, const std::wstring& layer, Placement placement) {
  Entity entity{L"INSERT", layer, {}, false};
  entity.blockName = block;
  entity.placement = placement;
  return entity;
}

View Extents(const Drawing& drawing) {
  double minx = std::numeric_limits<double>::infinity();
  double miny = minx;
  double maxx = -minx;
  double maxy = -minx;
  for (const Entity& entity : drawing.entities) {
    if (entity.IsBlockReference()) {
      if (const std::optional<Box> box = BoundingBox(drawing, entity)) {
        minx = std::min(minx, box->minx);
        maxx = std::max(maxx, box->maxx);
        miny = std::min(miny, box->miny);
        maxy = std::max(maxy, box->maxy);
      }
      continue;
    }
    const size_t stride = Stride(entity);
    for (size_t i = 0; i + 1 < entity.coordinates.size(); i += stride) {
      minx = std::min(minx, entity.coordinates[i]);
      maxx = std::max(maxx, entity.coordinates[i]);
      miny = std::min(miny, entity.coordinates[i + 1]);
      maxy = std::max(maxy, entity.coordinates[i + 1]);
    }
  }
  if (minx > maxx) return View{};
  // A drawing of one point or one straight line still needs a visible view.
  const double width = maxx - minx;
  const double height = maxy - miny;
  const double side = std::max(width, height) > 0.0 ? std::max(width, height) : 1.0;
  return View{(minx + maxx) / 2, (miny + maxy) / 2, height > 0.0 ? height : side, width > 0.0 ? width : side};
}

std::optional<View> WindowView(double x1, double y1, double x2, double y2) {
  const double width = std::abs(x2 - x1);
  const double height = std::abs(y2 - y1);
  if (!std::isfinite(width) || !std::isfinite(height) || (width <= 0.0 && height <= 0.0)) return std::nullopt;
  return View{(x1 + x2) / 2, (y1 + y2) / 2, height, width};
}

}  // namespace sim
