// A selection set filter as Select receives it: FilterType and FilterData,
// checked as strictly as a real server checks them.
#pragma once

#include <string>
#include <vector>

#include "cad/Automation.h"
#include "sim/Drawing.h"

namespace sim {

class SelectionFilter {
 public:
  // Both arguments missing: no filter. Throws AutomationError E_INVALIDARG
  // unless FilterType is an array of 16-bit integers and FilterData an
  // array of as many variants, each a pattern for group code 0 (type), 2 (block name) or 8
  // (layer).
  SelectionFilter(const Variant& filterType, const Variant& filterData);

  bool Matches(const Entity& entity) const;

 private:
  struct Condition {
    int16_t code;
    std::wstring pattern;
  };
  std::vector<Condition> FConditions;
};

}  // namespace sim
