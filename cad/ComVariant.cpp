#include "cad/ComVariant.h"

#include <cstdint>
#include <limits>
#include <string>

#include "cad/ComAutomation.h"
#include "cad/ComError.h"

namespace {

[[noreturn]] void ThrowMismatch(const std::wstring& what) {
  throw AutomationError(hresult::TypeMismatch, L"型が一致しません (" + what + L")");
}

std::wstring TypeName(VARTYPE type) { return L"VARIANT 型 " + std::to_wstring(type); }

// Automation's coercion of a number into a narrower integer element.
template <class Integer>
Integer NarrowInteger(const Variant& value) {
  const int64_t wide = value.ToInt64();
  if (wide < std::numeric_limits<Integer>::min() || wide > std::numeric_limits<Integer>::max())
    throw AutomationError(DISP_E_OVERFLOW, L"配列の要素 " + Describe(value) + L" が範囲を超えています");
  return static_cast<Integer>(wide);
}

// The object a Variant of kind Object holds, which may be none (Nothing).
DispatchPtr ObjectOf(const Variant& value) {
  static const Variant nothing{DispatchPtr()};
  return value.Deref() == nothing ? DispatchPtr() : value.AsObject();
}

IDispatch* ExportObject(const DispatchPtr& object, const DispatchExporter& exporter) {
  if (!object) return nullptr;
  if (const auto* com = dynamic_cast<const ComDispatchObject*>(object.get())) {
    com->Dispatch()->AddRef();
    return com->Dispatch();
  }
  if (exporter) return exporter(object).Detach();
  ThrowMismatch(L"COM オブジェクトではありません");
}

VARTYPE ElementType(VariantKind kind) {
  switch (kind) {
    case VariantKind::Bool: return VT_BOOL;
    case VariantKind::Int16: return VT_I2;
    case VariantKind::Int32: return VT_I4;
    case VariantKind::Int64: return VT_I8;
    case VariantKind::Double: return VT_R8;
    case VariantKind::String: return VT_BSTR;
    case VariantKind::Object: return VT_DISPATCH;
    case VariantKind::Variant: return VT_VARIANT;
    case VariantKind::Empty:
    case VariantKind::Missing:
    case VariantKind::Array: break;
  }
  ThrowMismatch(L"配列の要素の型が不正です");
}

template <class Element, class Convert>
void FillElements(SAFEARRAY* array, const VariantArray& source, Convert convert) {
  const ScopedSafeArrayAccess data(array);
  Element* elements = data.As<Element>();
  for (size_t i = 0; i < source.elements.size(); ++i) elements[i] = convert(source.elements[i].Deref());
}

UniqueSafeArray ToSafeArray(const VariantArray& source, const DispatchExporter& exporter) {
  const VARTYPE type = ElementType(source.elementKind);
  if (source.elements.size() > std::numeric_limits<int32_t>::max()) ThrowMismatch(L"配列が大きすぎます");
  UniqueSafeArray array(SafeArrayCreateVector(type, source.lowerBound, static_cast<ULONG>(source.elements.size())));
  if (!array.Get()) throw ComError(E_OUTOFMEMORY);
  // Elements are filled in place; what was stored before a failure is
  // freed with the array.
  switch (type) {
    case VT_BOOL:
      FillElements<VARIANT_BOOL>(array.Get(), source, [](const Variant& v) -> VARIANT_BOOL {
        return v.ToBool() ? VARIANT_TRUE : VARIANT_FALSE;
      });
      break;
    case VT_I2: FillElements<SHORT>(array.Get(), source, NarrowInteger<SHORT>); break;
    case VT_I4: FillElements<LONG>(array.Get(), source, NarrowInteger<LONG>); break;
    case VT_I8: FillElements<LONGLONG>(array.Get(), source, [](const Variant& v) { return v.ToInt64(); }); break;
    case VT_R8: FillElements<DOUBLE>(array.Get(), source, [](const Variant& v) { return v.ToDouble(); }); break;
    case VT_BSTR:
      FillElements<BSTR>(array.Get(), source, [](const Variant& v) { return AllocateBstr(v.AsString()).Release(); });
      break;
    case VT_DISPATCH:
      FillElements<IDispatch*>(array.Get(), source, [&](const Variant& v) {
        if (v.Kind() != VariantKind::Object) ThrowMismatch(L"オブジェクトが必要ですが " + Describe(v) + L" でした");
        return ExportObject(ObjectOf(v), exporter);
      });
      break;
    default:
      FillElements<VARIANT>(array.Get(), source, [&](const Variant& v) { return ToComVariant(v, exporter).Release(); });
      break;
  }
  return array;
}

Variant ObjectVariant(IDispatch* dispatch) {
  if (!dispatch) return Variant(DispatchPtr());
  return Variant(DispatchPtr(std::make_shared<ComDispatchObject>(ComPtr<IDispatch>::Share(dispatch))));
}

template <class Element, class Convert>
std::vector<Variant> ReadElements(SAFEARRAY* array, size_t count, Convert convert) {
  const ScopedSafeArrayAccess data(array);
  const Element* elements = data.As<Element>();
  std::vector<Variant> values;
  values.reserve(count);
  for (size_t i = 0; i < count; ++i) values.push_back(convert(elements[i]));
  return values;
}

struct ElementFormat {
  VariantKind kind;
  UINT size;
};

ElementFormat ElementFormatOf(VARTYPE type) {
  switch (type) {
    case VT_BOOL: return {VariantKind::Bool, sizeof(VARIANT_BOOL)};
    case VT_I2: return {VariantKind::Int16, sizeof(SHORT)};
    case VT_I4: return {VariantKind::Int32, sizeof(LONG)};
    case VT_I8: return {VariantKind::Int64, sizeof(LONGLONG)};
    case VT_R8: return {VariantKind::Double, sizeof(DOUBLE)};
    case VT_BSTR: return {VariantKind::String, sizeof(BSTR)};
    case VT_DISPATCH: return {VariantKind::Object, sizeof(IDispatch*)};
    case VT_VARIANT: return {VariantKind::Variant, sizeof(VARIANT)};
    default: ThrowMismatch(L"配列の要素が " + TypeName(type) + L" です");
  }
}

Variant FromSafeArray(SAFEARRAY* array, VARTYPE type) {
  if (!array) ThrowMismatch(L"配列がありません");
  if (SafeArrayGetDim(array) != 1) ThrowMismatch(L"2 次元以上の配列は扱えません");
  const ElementFormat format = ElementFormatOf(type);
  // The element size guards against a VARIANT whose type lies about its array.
  if (SafeArrayGetElemsize(array) != format.size) ThrowMismatch(L"配列の要素の大きさが型と合いません");
  const SAFEARRAYBOUND bound = array->rgsabound[0];
  const int64_t upperBound = int64_t{bound.lLbound} + bound.cElements - 1;
  if (upperBound > std::numeric_limits<int32_t>::max()) ThrowMismatch(L"配列の添字が範囲を超えています");
  // A caller that uses only so many elements: the rest is never converted.
  size_t count = bound.cElements;
  if (const ArrayUse* use = ArrayUseInForce(); use && count > use->most) {
    if (!use->cut) throw ArrayTooLargeError(count, use->most);
    count = use->most;
  }

  VariantArray result{format.kind, bound.lLbound, {}};
  switch (type) {
    case VT_BOOL:
      result.elements =
          ReadElements<VARIANT_BOOL>(array, count, [](VARIANT_BOOL v) { return Variant(v != VARIANT_FALSE); });
      break;
    case VT_I2: result.elements = ReadElements<SHORT>(array, count, [](SHORT v) { return Variant(int16_t{v}); }); break;
    case VT_I4:
      result.elements = ReadElements<LONG>(array, count, [](LONG v) { return Variant(static_cast<int32_t>(v)); });
      break;
    case VT_I8:
      result.elements = ReadElements<LONGLONG>(array, count, [](LONGLONG v) { return Variant(int64_t{v}); });
      break;
    case VT_R8: result.elements = ReadElements<DOUBLE>(array, count, [](DOUBLE v) { return Variant(v); }); break;
    case VT_BSTR:
      result.elements =
          ReadElements<BSTR>(array, count, [](BSTR v) { return Variant(std::wstring(v ? v : L"", SysStringLen(v))); });
      break;
    case VT_DISPATCH: result.elements = ReadElements<IDispatch*>(array, count, ObjectVariant); break;
    default:
      result.elements = ReadElements<VARIANT>(array, count, [](const VARIANT& v) { return FromComVariant(v); });
      break;
  }
  return Variant(std::move(result));
}

// Some SDKs declare the sources of VariantCopyInd and VariantChangeType
// non-const; neither writes to them.
Variant FromComReference(const VARIANT& value) {
  if (value.vt == (VT_BYREF | VT_VARIANT)) {
    if (!value.pvarVal) ThrowMismatch(L"参照先がありません");
    return Variant::ByRef(FromComVariant(*value.pvarVal));
  }
  ScopedVariant copy;
  const HRESULT copied = VariantCopyInd(copy.Put(), const_cast<VARIANT*>(&value));
  if (copied == DISP_E_BADVARTYPE) ThrowMismatch(TypeName(value.vt) + L" は扱えません");
  ThrowIfFailed(copied);
  return FromComVariant(copy.Get());
}

}  // namespace

ScopedVariant ToComVariant(const Variant& value, const DispatchExporter& exporter) {
  if (value.IsByRef()) return ScopedVariant::ReferenceTo(ToComVariant(value.Deref(), exporter));
  ScopedVariant result;
  VARIANT& out = *result.Put();
  switch (value.Kind()) {
    case VariantKind::Empty: break;
    case VariantKind::Missing:
      out.vt = VT_ERROR;
      out.scode = DISP_E_PARAMNOTFOUND;
      break;
    case VariantKind::Bool:
      out.vt = VT_BOOL;
      out.boolVal = value.ToBool() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VariantKind::Int16:
      out.vt = VT_I2;
      out.iVal = static_cast<SHORT>(value.ToInt64());
      break;
    case VariantKind::Int32:
      out.vt = VT_I4;
      out.lVal = value.ToInt32();
      break;
    case VariantKind::Int64:
      out.vt = VT_I8;
      out.llVal = value.ToInt64();
      break;
    case VariantKind::Double:
      out.vt = VT_R8;
      out.dblVal = value.ToDouble();
      break;
    case VariantKind::String:
      out.bstrVal = AllocateBstr(value.AsString()).Release();
      out.vt = VT_BSTR;
      break;
    case VariantKind::Object:
      out.pdispVal = ExportObject(ObjectOf(value), exporter);
      out.vt = VT_DISPATCH;
      break;
    case VariantKind::Array:
    case VariantKind::Variant: {
      const VariantArray& array = value.AsArray();
      out.parray = ToSafeArray(array, exporter).Release();
      out.vt = VT_ARRAY | ElementType(array.elementKind);
      break;
    }
  }
  return result;
}

Variant FromComVariant(const VARIANT& value) {
  if (value.vt & VT_BYREF) return FromComReference(value);
  if (value.vt & VT_ARRAY) return FromSafeArray(value.parray, value.vt & VT_TYPEMASK);
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL: return Variant();
    case VT_ERROR:
      if (value.scode == DISP_E_PARAMNOTFOUND) return Variant::Missing();
      throw AutomationError(value.scode, L"エラー値を受け取りました: " + SystemMessage(value.scode));
    case VT_BOOL: return Variant(value.boolVal != VARIANT_FALSE);
    case VT_I1: return Variant(int16_t{value.cVal});
    case VT_UI1: return Variant(int16_t{value.bVal});
    case VT_I2: return Variant(int16_t{value.iVal});
    case VT_UI2: return Variant(int32_t{value.uiVal});
    case VT_I4: return Variant(static_cast<int32_t>(value.lVal));
    case VT_INT: return Variant(static_cast<int32_t>(value.intVal));
    case VT_UI4: return Variant(int64_t{value.ulVal});
    case VT_UINT: return Variant(int64_t{value.uintVal});
    case VT_I8: return Variant(int64_t{value.llVal});
    case VT_UI8:
      if (value.ullVal > static_cast<ULONGLONG>(std::numeric_limits<int64_t>::max()))
        throw AutomationError(DISP_E_OVERFLOW,
                              L"符号なし 64 ビット整数 " + std::to_wstring(value.ullVal) + L" が範囲を超えています");
      return Variant(static_cast<int64_t>(value.ullVal));
    case VT_R4: return Variant(double{value.fltVal});
    case VT_R8: return Variant(value.dblVal);
    case VT_DATE: return Variant(value.date);
    case VT_CY:
    case VT_DECIMAL: {
      ScopedVariant asDouble;
      ThrowIfFailed(VariantChangeType(asDouble.Put(), const_cast<VARIANT*>(&value), 0, VT_R8));
      return Variant(asDouble.Get().dblVal);
    }
    case VT_BSTR: return Variant(std::wstring(value.bstrVal ? value.bstrVal : L"", SysStringLen(value.bstrVal)));
    case VT_DISPATCH: return ObjectVariant(value.pdispVal);
    case VT_UNKNOWN:
      if (!value.punkVal) return Variant(DispatchPtr());
      return Variant(WrapDispatch(value.punkVal));
    default: ThrowMismatch(TypeName(value.vt) + L" は扱えません");
  }
}
