// Reads ASCII DXF drawings into the simulated CAD's model.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "sim/Drawing.h"

namespace sim {

class DxfError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws DxfError, with the line number where it can, for anything that is
// not a readable ASCII DXF (binary DXF included).
Drawing ReadDxf(std::string_view bytes);
Drawing ReadDxfFile(const std::string& path);

}  // namespace sim
