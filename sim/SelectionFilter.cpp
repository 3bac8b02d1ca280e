#include "sim/SelectionFilter.h"

#include "cad/Wildcard.h"

namespace sim {

namespace {

[[noreturn]] void InvalidFilter(const std::wstring& why) {
  throw AutomationError(hresult::InvalidArg, L"Select: invalid filter: " + why);
}

bool IsOmitted(const Variant& value) {
  return value.Kind() == VariantKind::Missing || value.Kind() == VariantKind::Empty;
}

}  // namespace

SelectionFilter::SelectionFilter(const Variant& filterType, const Variant& filterData) {
  if (IsOmitted(filterType) && IsOmitted(filterData)) return;
  if (filterType.Kind() != VariantKind::Array || filterData.Kind() != VariantKind::Array)
    InvalidFilter(L"FilterType and FilterData must both be arrays, got " + Describe(filterType) + L" and " +
                  Describe(filterData));
  const VariantArray& types = filterType.AsArray();
  const VariantArray& data = filterData.AsArray();
  if (types.elementKind != VariantKind::Int16)
    InvalidFilter(L"FilterType must hold 16-bit integers: " + Describe(filterType));
  if (data.elementKind != VariantKind::Variant)
    InvalidFilter(L"FilterData must hold variants: " + Describe(filterData));
  if (types.elements.size() != data.elements.size()) InvalidFilter(L"FilterType and FilterData differ in length");

  for (size_t i = 0; i < types.elements.size(); ++i) {
    const auto code = static_cast<int16_t>(types.elements[i].ToInt32());
    if (code != 0 && code != 2 && code != 8)
      InvalidFilter(L"group code " + std::to_wstring(code) + L" is not simulated");
    if (data.elements[i].Kind() != VariantKind::String)
      InvalidFilter(L"the pattern for group code " + std::to_wstring(code) + L" must be a string: " +
                    Describe(data.elements[i]));
    FConditions.push_back(Condition{code, data.elements[i].AsString()});
  }
}

bool SelectionFilter::Matches(const Entity& entity) const {
  for (const Condition& condition : FConditions) {
    // A block name belongs to block references alone.
    if (condition.code == 2 && !entity.IsBlockReference()) return false;
    const std::wstring& value = condition.code == 0   ? entity.type
                                : condition.code == 2 ? entity.blockName
                                                      : entity.layer;
    if (!WildcardMatch(condition.pattern, value)) return false;
  }
  return true;
}

}  // namespace sim
