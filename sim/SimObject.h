// The base of the simulated CAD's automation objects: members looked up
// by name as strict servers do, every call journalled and checked against
// the faults set, and the readers of the arguments they take.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/SimCadState.h"

namespace sim {

inline constexpr HResult kDisconnected = static_cast<HResult>(0x80010108);  // RPC_E_DISCONNECTED

struct Member {
  std::wstring_view name;
  bool property;  // found only with the property-get flag; a method only without it
  size_t required = 0;
  size_t optional = 0;
  bool writable = false;  // a property that can also be assigned
};

[[noreturn]] void InvalidArgument(std::wstring_view member, const std::wstring& why);
const std::wstring& StringArgument(std::wstring_view member, const Variant& value);
int32_t IntegerArgument(std::wstring_view member, const Variant& value);
bool BoolArgument(std::wstring_view member, const Variant& value);

struct Point {
  double x, y;
};

// A point is an array of two or three doubles (VT_ARRAY|VT_R8), by value
// or through a reference, or of two only when planar; a variant array of
// doubles is not one.
Point PointArgument(std::wstring_view member, const Variant& value, bool planar = false);

// The arguments as they came in: an out parameter filled later must not
// change what the journal shows.
std::vector<Variant> Snapshot(std::span<const Variant> arguments);

class SimObject : public DispatchObject {
 public:
  SimObject(std::weak_ptr<SimCad::State> state, std::wstring_view objectName)
      : FState(std::move(state)), FObjectName(objectName) {}

  Variant Invoke(std::wstring_view member, CallKind kind, std::span<const Variant> arguments) final {
    const std::shared_ptr<SimCad::State> state = FState.lock();
    if (!state) throw AutomationError(kDisconnected, L"the simulated CAD is no longer running");
    state->journal.push_back(JournalEntry{std::wstring(FObjectName), std::wstring(member), Snapshot(arguments)});

    const Member& found = Find(member);
    if (kind == CallKind::PropertyPut) {
      if (!found.writable) throw AutomationError(hresult::MemberNotFound, std::wstring(found.name) + L" is read-only");
      if (arguments.size() != 1)
        throw AutomationError(hresult::BadParamCount, std::wstring(found.name) + L" is assigned one value");
      state->ApplyFaults(found.name);
      Put(*state, found.name, arguments[0]);
      return Variant();
    }
    if (found.property && kind == CallKind::Method)
      throw AutomationError(hresult::MemberNotFound, std::wstring(found.name) + L" is a property, not a method");
    // Strict, as some servers are: a method is not found with the property-get flag.
    if (!found.property && kind == CallKind::MethodOrGet)
      throw AutomationError(hresult::MemberNotFound, std::wstring(found.name) + L" is a method, not a property");
    CheckArgumentCount(found, arguments);
    std::optional<Variant> answer = state->ApplyFaults(found.name);
    Variant result = Call(*state, found.name, arguments);
    return answer ? std::move(*answer) : result;
  }

  bool Knows(std::wstring_view name) const {
    return std::any_of(Members().begin(), Members().end(),
                       [name](const Member& member) { return SameName(member.name, name); });
  }

 protected:
  virtual std::span<const Member> Members() const = 0;
  // member is the name as the object spells it.
  virtual Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) = 0;
  // Assigns a writable property; only objects with one override it.
  virtual void Put(SimCad::State&, std::wstring_view member, const Variant&) {
    throw AutomationError(hresult::MemberNotFound, std::wstring(member) + L" is read-only");
  }

  const std::weak_ptr<SimCad::State>& WeakState() const { return FState; }

 private:
  // Names are looked up without regard to letter case, as type
  // information does it.
  const Member& Find(std::wstring_view name) const {
    for (const Member& member : Members())
      if (SameName(member.name, name)) return member;
    throw UnknownMemberError(name);
  }

  static void CheckArgumentCount(const Member& member, std::span<const Variant> arguments) {
    if (arguments.size() < member.required || arguments.size() > member.required + member.optional)
      throw AutomationError(hresult::BadParamCount, std::wstring(member.name) + L" takes " +
                                                        std::to_wstring(member.required) + L" to " +
                                                        std::to_wstring(member.required + member.optional) +
                                                        L" arguments, got " + std::to_wstring(arguments.size()));
    for (size_t i = 0; i < member.required; ++i)
      if (arguments[i].Kind() == VariantKind::Missing)
        throw AutomationError(hresult::ParamNotFound,
                              std::wstring(member.name) + L": argument " + std::to_wstring(i + 1) + L" is required");
  }

  std::weak_ptr<SimCad::State> FState;
  std::wstring_view FObjectName;
};

}  // namespace sim
