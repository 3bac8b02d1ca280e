// The portable face of late-bound automation: a variant value, an object
// whose members are invoked by name, and the error such a call raises.
// On Windows ComAutomation maps these onto IDispatch and VARIANT; in tests
// the simulated CAD implements DispatchObject directly.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/TextError.h"

using HResult = int32_t;

// The result codes the pager and the simulated CAD produce or look for.
namespace hresult {
inline constexpr HResult Ok = 0;
inline constexpr HResult Fail = static_cast<HResult>(0x80004005);
inline constexpr HResult InvalidArg = static_cast<HResult>(0x80070057);
inline constexpr HResult NoInterface = static_cast<HResult>(0x80004002);
inline constexpr HResult MemberNotFound = static_cast<HResult>(0x80020003);
inline constexpr HResult ParamNotFound = static_cast<HResult>(0x80020004);
inline constexpr HResult TypeMismatch = static_cast<HResult>(0x80020005);
inline constexpr HResult UnknownName = static_cast<HResult>(0x80020006);
inline constexpr HResult BadIndex = static_cast<HResult>(0x8002000B);
inline constexpr HResult BadParamCount = static_cast<HResult>(0x8002000E);
inline constexpr HResult CallRejected = static_cast<HResult>(0x80010001);
inline constexpr HResult CallCancelled = static_cast<HResult>(0x80010002);  // RPC_E_CALL_CANCELED
inline constexpr HResult RetryLater = static_cast<HResult>(0x8001010A);
inline constexpr HResult Unavailable = static_cast<HResult>(0x800401E3);         // MK_E_UNAVAILABLE
inline constexpr HResult InvalidClassString = static_cast<HResult>(0x800401F3);  // CO_E_CLASSSTRING
inline constexpr HResult Disconnected = static_cast<HResult>(0x80010108);        // RPC_E_DISCONNECTED
inline constexpr HResult ServerUnavailable = static_cast<HResult>(0x800706BA);   // RPC_S_SERVER_UNAVAILABLE
inline constexpr HResult RemoteCallFailed = static_cast<HResult>(0x800706BE);    // RPC_S_CALL_FAILED
inline constexpr HResult NotConnected = static_cast<HResult>(0x800401FD);        // CO_E_OBJNOTCONNECTED
inline constexpr HResult TooLarge = static_cast<HResult>(0x8000000B);            // E_BOUNDS

// The server that made the object is gone: the CAD closed or crashed.
constexpr bool ServerGone(HResult code) {
  return code == Disconnected || code == ServerUnavailable || code == RemoteCallFailed || code == NotConnected;
}

// The call never got its answer: a busy CAD refused it, the user gave it
// up, or the server is gone. Anything else is the object's own answer.
constexpr bool CallUnanswered(HResult code) {
  return code == CallRejected || code == RetryLater || code == CallCancelled || ServerGone(code);
}
}  // namespace hresult

// The longest error text the pager builds from a CAD's answer: a server's
// description or a value it gave can be of any length. Longer texts are
// cut there.
inline constexpr size_t kLongestErrorText = 200;

class AutomationError : public TextError {
 public:
  AutomationError(HResult code, std::wstring text);

  HResult Code() const noexcept { return FCode; }
  // The member whose call failed; empty when the error names none.
  const std::wstring& Member() const noexcept { return FMember; }
  void SetMember(std::wstring_view member) { FMember = member; }

 private:
  HResult FCode;
  std::wstring FMember;
};

// Runs read, naming the member in an AutomationError it throws that names
// none yet, so that a failure while reading a member's result is told as
// that member's.
template <typename Read>
auto NamingMember(std::wstring_view member, Read read) -> decltype(read()) {
  try {
    return read();
  } catch (AutomationError& error) {
    if (error.Member().empty()) error.SetMember(member);
    throw;
  }
}

// The error a server gives for a member name it does not know.
AutomationError UnknownMemberError(std::wstring_view memberName);

class DispatchObject;
using DispatchPtr = std::shared_ptr<DispatchObject>;

// The kind of value a Variant or an array element holds. Array elements
// of kind Variant are themselves variants (VT_VARIANT elements).
enum class VariantKind { Empty, Missing, Bool, Int16, Int32, Int64, Double, String, Object, Array, Variant };

class Variant;

struct VariantArray {
  VariantKind elementKind = VariantKind::Variant;
  int32_t lowerBound = 0;
  std::vector<Variant> elements;

  int32_t UpperBound() const;
  // The element at an index within the bounds; throws a bad index outside.
  const Variant& At(int32_t index) const;
};

class Variant {
 public:
  struct MissingTag {
    bool operator==(const MissingTag&) const = default;
  };

  Variant() = default;
  Variant(bool value) : FValue(value) {}
  Variant(int16_t value) : FValue(value) {}
  Variant(int32_t value) : FValue(value) {}
  Variant(int64_t value) : FValue(value) {}
  Variant(double value) : FValue(value) {}
  Variant(std::wstring value) : FValue(std::move(value)) {}
  Variant(const wchar_t* value) : FValue(std::wstring(value)) {}
  Variant(DispatchPtr value) : FValue(std::move(value)) {}
  Variant(VariantArray value) : FValue(std::move(value)) {}

  // The marker for an omitted optional argument.
  static Variant Missing() { return Variant(MissingTag{}); }
  // A variant passed by reference (VT_BYREF|VT_VARIANT): the callee sees
  // the referenced value.
  static Variant ByRef(Variant referenced);
  static Variant ArrayOf(VariantKind elementKind, int32_t lowerBound, std::vector<Variant> elements);

  VariantKind Kind() const;
  bool IsByRef() const { return std::holds_alternative<std::shared_ptr<Variant>>(FValue); }
  // The value itself, seen through any by-reference indirection.
  const Variant& Deref() const;
  // Writes through a by-reference variant, as a callee fills an out
  // parameter: every copy of this reference sees the value. Throws a type
  // mismatch on a variant passed by value.
  void Store(Variant value) const;

  // Conversions, as a late-bound client coerces results: numbers and
  // Booleans convert into each other; anything else throws a type mismatch.
  bool ToBool() const;
  int32_t ToInt32() const;
  int64_t ToInt64() const;
  double ToDouble() const;
  // Strict accessors: throw a type mismatch unless the value is of that kind.
  const std::wstring& AsString() const;
  const DispatchPtr& AsObject() const;
  const VariantArray& AsArray() const;

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  explicit Variant(MissingTag tag) : FValue(tag) {}
  Variant(std::shared_ptr<Variant> referenced) : FValue(std::move(referenced)) {}

  std::variant<std::monostate, MissingTag, bool, int16_t, int32_t, int64_t, double, std::wstring, DispatchPtr,
               VariantArray, std::shared_ptr<Variant>>
      FValue;
};

bool operator==(const VariantArray& a, const VariantArray& b);

inline int32_t VariantArray::UpperBound() const { return lowerBound + static_cast<int32_t>(elements.size()) - 1; }

// A readable rendering for journals and test messages, such as
// [I2 0..1: 8, 0] or "KESTRA"; cut at most characters.
std::wstring Describe(const Variant& value, size_t most = std::wstring::npos);

enum class CallKind {
  Method,       // DISPATCH_METHOD
  MethodOrGet,  // DISPATCH_METHOD | DISPATCH_PROPERTYGET
  PropertyPut,  // DISPATCH_PROPERTYPUT: the one argument is the new value
};

// An automation object whose members are invoked by name.
class DispatchObject {
 public:
  virtual ~DispatchObject() = default;

  // Arguments are in their natural order, the first argument first.
  // Throws AutomationError on any failure.
  virtual Variant Invoke(std::wstring_view member, CallKind kind, std::span<const Variant> arguments) = 0;
};

// How much of an array a caller can use: a CAD's answer can grow without
// bound. A larger array is cut to its first most elements, or refused
// (hresult::TooLarge), before it is converted.
struct ArrayUse {
  size_t most;
  bool cut;
};

// The use of the call this thread makes, if it has one: the COM client
// converts the arrays of its answer only so far.
const ArrayUse* ArrayUseInForce();

// The use in force while it lives; the one before is put back after.
class ScopedArrayUse {
 public:
  explicit ScopedArrayUse(const ArrayUse& use);
  ScopedArrayUse(const ScopedArrayUse&) = delete;
  ScopedArrayUse& operator=(const ScopedArrayUse&) = delete;
  ~ScopedArrayUse();

 private:
  const ArrayUse* FPrevious;
};

// The error for an array of count elements where most can be used.
AutomationError ArrayTooLargeError(size_t count, size_t most);

// Shorthands for the calls the pager makes; an AutomationError they throw
// names the member. With an ArrayUse, the arrays of the answer are used so
// far.
Variant CallMethod(DispatchObject& object, std::wstring_view member, std::span<const Variant> arguments = {});
Variant CallMethod(DispatchObject& object, std::wstring_view member, std::span<const Variant> arguments, ArrayUse use);
Variant GetValue(DispatchObject& object, std::wstring_view member);
Variant GetValue(DispatchObject& object, std::wstring_view member, ArrayUse use);
DispatchPtr GetObjectValue(DispatchObject& object, std::wstring_view member);
void SetValue(DispatchObject& object, std::wstring_view member, const Variant& value);
