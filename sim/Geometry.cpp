#include "sim/Geometry.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Nesting deeper than this, or a block that contains itself, is not
// followed; the budget of entities visited keeps a file of blocks nested
// many times over from hanging the viewer.
constexpr int kMaxNesting = 16;
constexpr size_t kEntityBudget = 1'000'000;

// x' = a x + b y + c, y' = d x + e y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;

  double X(double x, double y) const { return a * x + b * y + c; }
  double Y(double x, double y) const { return d * x + e * y + f; }

  // This after inner: first inner, then this.
  Affine After(const Affine& inner) const {
    return {a * inner.a + b * inner.d, a * inner.b + b * inner.e, a * inner.c + b * inner.f + c,
            d * inner.a + e * inner.d, d * inner.b + e * inner.e, d * inner.c + e * inner.f + f};
  }
};

Affine PlacementOf(const Placement& placement, const Block& block) {
  constexpr double kDegree = 3.14159265358979323846 / 180.0;
  // Quarter turns exactly, so that a rotated frame keeps exact corners.
  const double turns = placement.rotation / 90.0;
  double cosine = std::cos(placement.rotation * kDegree);
  double sine = std::sin(placement.rotation * kDegree);
  if (turns == std::floor(turns)) {
    static constexpr double kCos[] = {1, 0, -1, 0};
    static constexpr double kSin[] = {0, 1, 0, -1};
    const double quarterTurns = std::fmod(turns, 4.0);
    const auto quarter = static_cast<size_t>(quarterTurns < 0 ? quarterTurns + 4 : quarterTurns);
    cosine = kCos[quarter];
    sine = kSin[quarter];
  }
  const double sx = placement.xScale, sy = placement.yScale;
  const Affine rotateScale{cosine * sx, -sine * sy, 0, sine * sx, cosine * sy, 0};
  Affine result = rotateScale;
  result.c = placement.x - rotateScale.X(block.baseX, block.baseY);
  result.f = placement.y - rotateScale.Y(block.baseX, block.baseY);
  return result;
}

// Walks an entity with what it nests, giving its outlines to one sink and
// its texts to the other; either may be empty.
class OutlineWalker {
 public:
  OutlineWalker(const Drawing& drawing, const OutlineSink& outlines, const LabelSink& labels)
      : FDrawing(drawing), FSink(outlines), FLabels(labels) {}

  void Walk(const Entity& entity, const Affine& transform) {
    if (FBudget == 0) return;
    --FBudget;
    if (FLabels) {
      if (!entity.label.text.empty()) EmitLabel(entity.label, transform);
      for (const Attribute& attribute : entity.attributes) EmitLabel(attribute.label, transform);
    }
    if (entity.IsBlockReference()) {
      const Block* block = FDrawing.FindBlock(entity.blockName);
      if (!block || std::find(FOpen.begin(), FOpen.end(), block) != FOpen.end() || FOpen.size() >= kMaxNesting) return;
      FOpen.push_back(block);
      const Affine inner = transform.After(PlacementOf(entity.placement, *block));
      for (const Entity& member : block->entities) Walk(member, inner);
      FOpen.pop_back();
      return;
    }
    if (!FSink) return;
    if (entity.IsPolyline()) {
      Emit(entity.coordinates, entity.type == L"LWPOLYLINE" ? 2 : 3, entity.closed, transform);
    } else if (!entity.sketch.empty()) {
      Emit(entity.sketch, 2, false, transform);
    }
  }

 private:
  void Emit(const std::vector<double>& values, size_t stride, bool closed, const Affine& transform) {
    FPoints.clear();
    for (size_t i = 0; i + 1 < values.size(); i += stride) {
      FPoints.push_back(transform.X(values[i], values[i + 1]));
      FPoints.push_back(transform.Y(values[i], values[i + 1]));
    }
    if (!FPoints.empty()) FSink(FPoints, closed);
  }

  // The baseline's direction and the text's height go through the
  // transform like two short vectors from the insertion point.
  void EmitLabel(const Label& label, const Affine& transform) {
    constexpr double kDegree = 3.14159265358979323846 / 180.0;
    const double dx = std::cos(label.rotation * kDegree), dy = std::sin(label.rotation * kDegree);
    Label placed = label;
    placed.x = transform.X(label.x, label.y);
    placed.y = transform.Y(label.x, label.y);
    placed.rotation = std::atan2(transform.d * dx + transform.e * dy, transform.a * dx + transform.b * dy) / kDegree;
    placed.height = label.height * std::hypot(transform.b * dx - transform.a * dy, transform.e * dx - transform.d * dy);
    placed.mirrored = label.mirrored != (transform.a * transform.e - transform.b * transform.d < 0);
    FLabels(placed);
  }

  const Drawing& FDrawing;
  const OutlineSink& FSink;
  const LabelSink& FLabels;
  std::vector<const Block*> FOpen;
  std::vector<double> FPoints;
  size_t FBudget = kEntityBudget;
};

}  // namespace

void ForEachOutline(const Drawing& drawing, const Entity& entity, const OutlineSink& sink) {
  OutlineWalker(drawing, sink, {}).Walk(entity, Affine{});
}

void ForEachLabel(const Drawing& drawing, const Entity& entity, const LabelSink& sink) {
  OutlineWalker(drawing, {}, sink).Walk(entity, Affine{});
}

std::optional<Box> BoundingBox(const Drawing& drawing, const Entity& entity) {
  std::optional<Box> box;
  ForEachOutline(drawing, entity, [&box](const std::vector<double>& points, bool) {
    for (size_t i = 0; i + 1 < points.size(); i += 2) {
      const double x = points[i], y = points[i + 1];
      if (!box) box = Box{x, y, x, y};
      box->minx = std::min(box->minx, x);
      box->miny = std::min(box->miny, y);
      box->maxx = std::max(box->maxx, x);
      box->maxy = std::max(box->maxy, y);
    }
  });
  return box;
}

}  // namespace sim
