#include "sim/SimObject.h"

#include <cmath>

namespace sim {

[[noreturn]] void InvalidArgument(std::wstring_view member, const std::wstring& why) {
  throw AutomationError(hresult::InvalidArg, std::wstring(member) + L": " + why);
}

const std::wstring& StringArgument(std::wstring_view member, const Variant& value) {
  if (value.Kind() != VariantKind::String)
    throw AutomationError(hresult::TypeMismatch,
                          std::wstring(member) + L": a string is expected, got " + Describe(value));
  return value.AsString();
}

bool BoolArgument(std::wstring_view member, const Variant& value) {
  if (value.Kind() != VariantKind::Bool)
    throw AutomationError(hresult::TypeMismatch,
                          std::wstring(member) + L": a Boolean is expected, got " + Describe(value));
  return value.ToBool();
}

int32_t IntegerArgument(std::wstring_view member, const Variant& value) {
  switch (value.Kind()) {
    case VariantKind::Bool:
    case VariantKind::Int16:
    case VariantKind::Int32:
    case VariantKind::Int64:
    case VariantKind::Double: return value.ToInt32();
    default:
      throw AutomationError(hresult::TypeMismatch,
                            std::wstring(member) + L": an integer is expected, got " + Describe(value));
  }
}

Point PointArgument(std::wstring_view member, const Variant& value, bool planar) {
  if (value.Kind() != VariantKind::Array) InvalidArgument(member, L"a point array is expected, got " + Describe(value));
  const VariantArray& array = value.AsArray();
  if (array.elementKind != VariantKind::Double || (array.elements.size() != 2 && array.elements.size() != 3) ||
      (planar && array.elements.size() != 2))
    InvalidArgument(member, std::wstring(planar ? L"a point is an array of two doubles, got "
                                                : L"a point is an array of two or three doubles, got ") +
                                Describe(value));
  const Point point{array.elements[0].ToDouble(), array.elements[1].ToDouble()};
  if (!std::isfinite(point.x) || !std::isfinite(point.y)) InvalidArgument(member, L"the point is not finite");
  return point;
}

std::vector<Variant> Snapshot(std::span<const Variant> arguments) {
  std::vector<Variant> copies;
  copies.reserve(arguments.size());
  for (const Variant& argument : arguments)
    copies.push_back(argument.IsByRef() ? Variant::ByRef(argument.Deref()) : argument);
  return copies;
}

}  // namespace sim
