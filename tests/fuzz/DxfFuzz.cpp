// Feeds arbitrary bytes to the DXF reader: it must either give a drawing
// that keeps the model's invariants or throw DxfError.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/Dxf.h"

namespace {

bool Finite(double value) { return std::isfinite(value); }

bool KeepsInvariants(const sim::Drawing& drawing) {
  const sim::View& view = drawing.view;
  if (!Finite(view.centreX) || !Finite(view.centreY) || !(view.height > 0.0) || !(view.width > 0.0)) return false;
  for (const sim::Entity& entity : drawing.entities) {
    const size_t stride = entity.type == L"LWPOLYLINE" ? 2 : entity.type == L"POLYLINE" ? 3 : 0;
    if (stride == 0 ? !entity.coordinates.empty() : entity.coordinates.size() % stride != 0) return false;
    for (const double value : entity.coordinates)
      if (!Finite(value)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const sim::Drawing drawing = sim::ReadDxf(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!KeepsInvariants(drawing)) std::abort();
  } catch (const sim::DxfError&) {
    // A clear refusal is a correct answer to bad input.
  }
  return 0;
}
