#include "pages/BlockFrames.h"

#include <array>

#include "cad/TargetCad.h"

namespace {

struct Corner {
  double x, y;
};

Corner CornerOf(const Variant& point) {
  const VariantArray& values = point.AsArray();
  return {values.At(0).ToDouble(), values.At(1).ToDouble()};
}

// GetBoundingBox answers through its two out parameters.
std::optional<TsvWaku> BlockFrame(DispatchObject& reference) {
  const std::array<Variant, 2> corners{Variant::ByRef(Variant()), Variant::ByRef(Variant())};
  CallMethod(reference, L"GetBoundingBox", corners);
  const Corner min = CornerOf(corners[0]);
  const Corner max = CornerOf(corners[1]);
  return WakuFromBoundingBox(min.x, min.y, max.x, max.y);
}

}  // namespace

bool GatherBlockFrames(DispatchObject& selection, const std::wstring& pattern, TWakuList& frames,
                       EntityProgress& progress) {
  const std::array<Variant, 5> selectArguments{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                               Variant::ByRef(BlockFilterType()),
                                               Variant::ByRef(BlockFilterData(pattern))};
  CallMethod(selection, L"Clear");
  CallMethod(selection, L"Select", selectArguments);
  const int32_t count = GetValue(selection, L"Count").ToInt32();
  for (int32_t i = 0; i < count; ++i) {
    const std::array<Variant, 1> index{Variant(i)};
    const DispatchPtr reference = CallMethod(selection, L"Item", index).AsObject();
    if (const auto waku = BlockFrame(*reference)) frames.push_back(*waku);
    progress.Read();
  }
  CallMethod(selection, L"Clear");
  return count > 0;
}
