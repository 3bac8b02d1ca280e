#include "cad/Automation.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <sstream>
#include <type_traits>

#include "common/Unicode.h"

namespace {

std::string ErrorWhat(HResult code, const std::wstring& text) {
  std::ostringstream what;
  what << "automation error 0x" << std::hex << static_cast<uint32_t>(code) << ": " << ToUtf8(text);
  return what.str();
}

[[noreturn]] void ThrowTypeMismatch(std::wstring_view wanted, const Variant& value) {
  throw AutomationError(hresult::TypeMismatch, L"型が一致しません (" + std::wstring(wanted) + L" が必要ですが " +
                                                   Describe(value, kLongestErrorText) + L" でした)");
}

thread_local const ArrayUse* tArrayUse = nullptr;

// What an object that converts nothing itself answered, used so far.
Variant Used(Variant value, const ArrayUse& use) {
  if (value.Kind() != VariantKind::Array) return value;
  const VariantArray& array = value.AsArray();
  if (array.elements.size() <= use.most) return value;
  if (!use.cut) throw ArrayTooLargeError(array.elements.size(), use.most);
  const auto end = array.elements.begin() + static_cast<std::ptrdiff_t>(use.most);
  return Variant::ArrayOf(array.elementKind, array.lowerBound, std::vector<Variant>(array.elements.begin(), end));
}

const wchar_t* KindName(VariantKind kind) {
  switch (kind) {
    case VariantKind::Empty: return L"Empty";
    case VariantKind::Missing: return L"Missing";
    case VariantKind::Bool: return L"Bool";
    case VariantKind::Int16: return L"I2";
    case VariantKind::Int32: return L"I4";
    case VariantKind::Int64: return L"I8";
    case VariantKind::Double: return L"R8";
    case VariantKind::String: return L"String";
    case VariantKind::Object: return L"Object";
    case VariantKind::Array: return L"Array";
    case VariantKind::Variant: return L"Variant";
  }
  return L"?";
}

std::wstring FormatDouble(double value) {
  std::wostringstream out;
  out.precision(17);
  out << value;
  return out.str();
}

}  // namespace

namespace {

std::wstring Cut(std::wstring text) {
  if (text.size() > kLongestErrorText) text.resize(kLongestErrorText);
  return text;
}

}  // namespace

AutomationError::AutomationError(HResult code, std::wstring text)
    : TextError(ErrorWhat(code, Cut(text)), Cut(text)), FCode(code) {}

const ArrayUse* ArrayUseInForce() { return tArrayUse; }

ScopedArrayUse::ScopedArrayUse(const ArrayUse& use) : FPrevious(tArrayUse) { tArrayUse = &use; }

ScopedArrayUse::~ScopedArrayUse() { tArrayUse = FPrevious; }

AutomationError ArrayTooLargeError(size_t count, size_t most) {
  return AutomationError(hresult::TooLarge, L"配列の要素が多すぎます (" + std::to_wstring(count) + L" 個、使えるのは " +
                                                std::to_wstring(most) + L" 個まで)");
}

AutomationError UnknownMemberError(std::wstring_view memberName) {
  return AutomationError(hresult::UnknownName, L"メソッド '" + std::wstring(memberName) +
                                                   L"' はオートメーション オブジェクトでサポートしていません");
}

Variant Variant::ByRef(Variant referenced) { return Variant(std::make_shared<Variant>(std::move(referenced))); }

Variant Variant::ArrayOf(VariantKind elementKind, int32_t lowerBound, std::vector<Variant> elements) {
  return Variant(VariantArray{elementKind, lowerBound, std::move(elements)});
}

VariantKind Variant::Kind() const {
  return std::visit(
      [](const auto& held) {
        using Held = std::decay_t<decltype(held)>;
        if constexpr (std::is_same_v<Held, std::monostate>)
          return VariantKind::Empty;
        else if constexpr (std::is_same_v<Held, MissingTag>)
          return VariantKind::Missing;
        else if constexpr (std::is_same_v<Held, bool>)
          return VariantKind::Bool;
        else if constexpr (std::is_same_v<Held, int16_t>)
          return VariantKind::Int16;
        else if constexpr (std::is_same_v<Held, int32_t>)
          return VariantKind::Int32;
        else if constexpr (std::is_same_v<Held, int64_t>)
          return VariantKind::Int64;
        else if constexpr (std::is_same_v<Held, double>)
          return VariantKind::Double;
        else if constexpr (std::is_same_v<Held, std::wstring>)
          return VariantKind::String;
        else if constexpr (std::is_same_v<Held, DispatchPtr>)
          return VariantKind::Object;
        else if constexpr (std::is_same_v<Held, VariantArray>)
          return VariantKind::Array;
        else {
          // A new alternative must be given its kind above. Deref() never
          // ends on a reference, so this one is not met.
          static_assert(std::is_same_v<Held, std::shared_ptr<Variant>>);
          return VariantKind::Variant;
        }
      },
      Deref().FValue);
}

const Variant& Variant::Deref() const {
  const Variant* value = this;
  while (const auto* referenced = std::get_if<std::shared_ptr<Variant>>(&value->FValue)) value = referenced->get();
  return *value;
}

void Variant::Store(Variant value) const {
  const auto* referenced = std::get_if<std::shared_ptr<Variant>>(&FValue);
  if (!referenced) ThrowTypeMismatch(L"参照渡しの引数", *this);
  Variant* target = referenced->get();
  while (const auto* next = std::get_if<std::shared_ptr<Variant>>(&target->FValue)) target = next->get();
  target->FValue = std::move(value.FValue);
}

const Variant& VariantArray::At(int32_t index) const {
  const int64_t offset = int64_t{index} - lowerBound;
  if (offset < 0 || offset >= static_cast<int64_t>(elements.size()))
    throw AutomationError(hresult::BadIndex, L"配列の添字 " + std::to_wstring(index) + L" が範囲外です");
  return elements[static_cast<size_t>(offset)];
}

bool Variant::ToBool() const {
  const Variant& value = Deref();
  if (const auto* b = std::get_if<bool>(&value.FValue)) return *b;
  if (const auto* d = std::get_if<double>(&value.FValue)) return *d != 0.0;
  return value.ToInt64() != 0;
}

int64_t Variant::ToInt64() const {
  const Variant& value = Deref();
  if (const auto* b = std::get_if<bool>(&value.FValue)) return *b ? -1 : 0;  // VARIANT_TRUE is -1
  if (const auto* i = std::get_if<int16_t>(&value.FValue)) return *i;
  if (const auto* i = std::get_if<int32_t>(&value.FValue)) return *i;
  if (const auto* i = std::get_if<int64_t>(&value.FValue)) return *i;
  if (const auto* d = std::get_if<double>(&value.FValue)) {
    // Rounded as automation rounds, to even; out of range is a mismatch.
    const double rounded = std::nearbyint(*d);
    if (std::isfinite(rounded) && rounded >= -9.2233720368547758e18 && rounded < 9.2233720368547758e18)
      return static_cast<int64_t>(rounded);
  }
  ThrowTypeMismatch(L"整数", *this);
}

int32_t Variant::ToInt32() const {
  const int64_t wide = ToInt64();
  if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max())
    ThrowTypeMismatch(L"32 ビット整数", *this);
  return static_cast<int32_t>(wide);
}

double Variant::ToDouble() const {
  const Variant& value = Deref();
  if (const auto* d = std::get_if<double>(&value.FValue)) return *d;
  if (std::holds_alternative<std::monostate>(value.FValue) || std::holds_alternative<MissingTag>(value.FValue) ||
      std::holds_alternative<std::wstring>(value.FValue) || std::holds_alternative<DispatchPtr>(value.FValue) ||
      std::holds_alternative<VariantArray>(value.FValue))
    ThrowTypeMismatch(L"数値", *this);
  return static_cast<double>(value.ToInt64());
}

const std::wstring& Variant::AsString() const {
  const Variant& value = Deref();
  if (const auto* s = std::get_if<std::wstring>(&value.FValue)) return *s;
  ThrowTypeMismatch(L"文字列", *this);
}

const DispatchPtr& Variant::AsObject() const {
  const Variant& value = Deref();
  if (const auto* o = std::get_if<DispatchPtr>(&value.FValue); o && *o) return *o;
  ThrowTypeMismatch(L"オブジェクト", *this);
}

const VariantArray& Variant::AsArray() const {
  const Variant& value = Deref();
  if (const auto* a = std::get_if<VariantArray>(&value.FValue)) return *a;
  ThrowTypeMismatch(L"配列", *this);
}

bool operator==(const VariantArray& a, const VariantArray& b) {
  return a.elementKind == b.elementKind && a.lowerBound == b.lowerBound && a.elements == b.elements;
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.IsByRef() != b.IsByRef()) return false;
  if (a.IsByRef()) return a.Deref() == b.Deref();
  return a.FValue == b.FValue;
}

std::wstring Describe(const Variant& value, size_t most) {
  std::wstring prefix = value.IsByRef() ? L"&" : L"";
  const Variant& v = value.Deref();
  switch (v.Kind()) {
    case VariantKind::Empty: return prefix + L"Empty";
    case VariantKind::Missing: return prefix + L"Missing";
    case VariantKind::Bool: return prefix + (v.ToBool() ? L"True" : L"False");
    case VariantKind::Int16:
    case VariantKind::Int32:
    case VariantKind::Int64: return prefix + KindName(v.Kind()) + L" " + std::to_wstring(v.ToInt64());
    case VariantKind::Double: return prefix + FormatDouble(v.ToDouble());
    case VariantKind::String: return (prefix + L"\"" + v.AsString().substr(0, most) + L"\"").substr(0, most);
    case VariantKind::Object: return prefix + L"Object";
    case VariantKind::Array:
    case VariantKind::Variant: {
      const VariantArray& array = v.AsArray();
      std::wstring text = prefix + L"[" + KindName(array.elementKind) + L" " + std::to_wstring(array.lowerBound) +
                          L".." + std::to_wstring(array.UpperBound()) + L":";
      for (size_t i = 0; i < array.elements.size() && text.size() < most; ++i)
        text += (i ? L", " : L" ") + Describe(array.elements[i], most);
      return (text + L"]").substr(0, most);
    }
  }
  return prefix + L"?";
}

Variant CallMethod(DispatchObject& object, std::wstring_view member, std::span<const Variant> arguments) {
  return NamingMember(member, [&] { return object.Invoke(member, CallKind::Method, arguments); });
}

Variant CallMethod(DispatchObject& object, std::wstring_view member, std::span<const Variant> arguments, ArrayUse use) {
  const ScopedArrayUse scope(use);
  return NamingMember(member, [&] { return Used(object.Invoke(member, CallKind::Method, arguments), use); });
}

Variant GetValue(DispatchObject& object, std::wstring_view member) {
  return NamingMember(member, [&] { return object.Invoke(member, CallKind::MethodOrGet, {}); });
}

Variant GetValue(DispatchObject& object, std::wstring_view member, ArrayUse use) {
  const ScopedArrayUse scope(use);
  return NamingMember(member, [&] { return Used(object.Invoke(member, CallKind::MethodOrGet, {}), use); });
}

void SetValue(DispatchObject& object, std::wstring_view member, const Variant& value) {
  NamingMember(member, [&] { return object.Invoke(member, CallKind::PropertyPut, std::span(&value, 1)); });
}

DispatchPtr GetObjectValue(DispatchObject& object, std::wstring_view member) {
  return NamingMember(member, [&] { return GetValue(object, member).AsObject(); });
}
