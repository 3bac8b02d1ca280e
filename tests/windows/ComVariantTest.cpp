#include <gtest/gtest.h>

#include <string>

#include "TestDispatch.h"
#include "cad/ComAutomation.h"
#include "cad/ComVariant.h"

using namespace std::string_literals;

namespace {

std::wstring BstrText(BSTR text) { return std::wstring(text, SysStringLen(text)); }

LONG LowerBound(SAFEARRAY* array) {
  LONG bound = 0;
  EXPECT_EQ(SafeArrayGetLBound(array, 1, &bound), S_OK);
  return bound;
}

LONG UpperBound(SAFEARRAY* array) {
  LONG bound = 0;
  EXPECT_EQ(SafeArrayGetUBound(array, 1, &bound), S_OK);
  return bound;
}

template <class Element>
Element ElementAt(SAFEARRAY* array, LONG index) {
  Element element{};
  EXPECT_EQ(SafeArrayGetElement(array, &index, &element), S_OK);
  return element;
}

void ExpectRoundTrip(const Variant& value) {
  const ScopedVariant com = ToComVariant(value);
  EXPECT_EQ(FromComVariant(com.Get()), value) << "expected " << testing::PrintToString(Describe(value));
}

ScopedVariant ComValue(VARTYPE type, auto assign) {
  ScopedVariant value;
  VARIANT& raw = *value.Put();
  raw.vt = type;
  assign(raw);
  return value;
}

HResult MismatchCode(const VARIANT& value) {
  try {
    FromComVariant(value);
  } catch (const AutomationError& error) {
    EXPECT_FALSE(error.Text().empty());
    return error.Code();
  }
  return hresult::Ok;
}

// A portable object with no COM identity of its own.
class PlainObject : public DispatchObject {
 public:
  Variant Invoke(std::wstring_view, CallKind, std::span<const Variant>) override { return {}; }
};

}  // namespace

TEST(ComVariantTest, ScalarsBecomeTheirAutomationTypesAndComeBack) {
  struct Case {
    Variant value;
    VARTYPE type;
  };
  const Case cases[] = {
      {Variant(), VT_EMPTY},
      {Variant::Missing(), VT_ERROR},
      {Variant(true), VT_BOOL},
      {Variant(false), VT_BOOL},
      {Variant(int16_t{-8}), VT_I2},
      {Variant(int32_t{5}), VT_I4},
      {Variant(int64_t{0x123456789A}), VT_I8},
      {Variant(-420.125), VT_R8},
      {Variant(L"KESTRA"), VT_BSTR},
  };
  for (const Case& c : cases) {
    const ScopedVariant com = ToComVariant(c.value);
    EXPECT_EQ(com.Get().vt, c.type) << Describe(c.value);
    EXPECT_EQ(FromComVariant(com.Get()), c.value) << Describe(c.value);
  }
  EXPECT_EQ(ToComVariant(Variant::Missing()).Get().scode, DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(ToComVariant(Variant(true)).Get().boolVal, VARIANT_TRUE);
  EXPECT_EQ(ToComVariant(Variant(int16_t{-8})).Get().iVal, -8);
  EXPECT_EQ(ToComVariant(Variant(int64_t{0x123456789A})).Get().llVal, 0x123456789A);
  EXPECT_EQ(ToComVariant(Variant(-420.125)).Get().dblVal, -420.125);
}

TEST(ComVariantTest, StringsKeepJapaneseSurrogatePairsAndEmbeddedNul) {
  const std::wstring text = L"取得 ターゲット CAD 𠮷\0枠"s;
  const ScopedVariant com = ToComVariant(Variant(text));
  ASSERT_EQ(com.Get().vt, VT_BSTR);
  EXPECT_EQ(SysStringLen(com.Get().bstrVal), text.size());
  EXPECT_EQ(BstrText(com.Get().bstrVal), text);
  EXPECT_EQ(FromComVariant(com.Get()).AsString(), text);
  // A null BSTR is automation's empty string.
  EXPECT_EQ(FromComVariant(ComValue(VT_BSTR, [](VARIANT& v) { v.bstrVal = nullptr; }).Get()).AsString(), L"");
}

TEST(ComVariantTest, ArraysKeepTheirElementTypeAndLowerBound) {
  const Variant points = Variant::ArrayOf(VariantKind::Double, 0, {Variant(420.0), Variant(-297.5)});
  const ScopedVariant com = ToComVariant(points);
  ASSERT_EQ(com.Get().vt, VT_ARRAY | VT_R8);
  SAFEARRAY* array = com.Get().parray;
  EXPECT_EQ(SafeArrayGetDim(array), 1u);
  EXPECT_EQ(LowerBound(array), 0);
  EXPECT_EQ(UpperBound(array), 1);
  EXPECT_EQ(ElementAt<double>(array, 1), -297.5);
  EXPECT_EQ(FromComVariant(com.Get()), points);

  const Variant filterType = Variant::ArrayOf(VariantKind::Int16, 1, {Variant(int16_t{8}), Variant(int16_t{0})});
  const ScopedVariant shorts = ToComVariant(filterType);
  ASSERT_EQ(shorts.Get().vt, VT_ARRAY | VT_I2);
  EXPECT_EQ(LowerBound(shorts.Get().parray), 1);
  EXPECT_EQ(UpperBound(shorts.Get().parray), 2);
  EXPECT_EQ(ElementAt<SHORT>(shorts.Get().parray, 1), 8);
  EXPECT_EQ(FromComVariant(shorts.Get()), filterType);

  const Variant names = Variant::ArrayOf(VariantKind::String, -2, {Variant(L"枠"), Variant(L"*POLYLINE")});
  const ScopedVariant strings = ToComVariant(names);
  ASSERT_EQ(strings.Get().vt, VT_ARRAY | VT_BSTR);
  EXPECT_EQ(LowerBound(strings.Get().parray), -2);
  EXPECT_EQ(FromComVariant(strings.Get()), names);

  ExpectRoundTrip(Variant::ArrayOf(VariantKind::Int32, 0, {Variant(int32_t{-1}), Variant(int32_t{70000})}));
  ExpectRoundTrip(Variant::ArrayOf(VariantKind::Int64, 5, {Variant(int64_t{1} << 40)}));
  ExpectRoundTrip(Variant::ArrayOf(VariantKind::Bool, 0, {Variant(true), Variant(false)}));
  ExpectRoundTrip(Variant::ArrayOf(VariantKind::Double, 0, {}));
}

TEST(ComVariantTest, VariantArraysNestArraysAndMissingMarkers) {
  const Variant nested = Variant::ArrayOf(
      VariantKind::Variant, 0,
      {Variant(L"KESTRA"), Variant::ArrayOf(VariantKind::Double, 0, {Variant(1.0), Variant(2.0), Variant(3.0)}),
       Variant::Missing(), Variant(int16_t{8})});
  const ScopedVariant com = ToComVariant(nested);
  ASSERT_EQ(com.Get().vt, VT_ARRAY | VT_VARIANT);
  const VARIANT inner = ElementAt<VARIANT>(com.Get().parray, 1);
  EXPECT_EQ(inner.vt, VT_ARRAY | VT_R8);
  EXPECT_EQ(UpperBound(inner.parray), 2);
  VARIANT copy = inner;
  VariantClear(&copy);  // SafeArrayGetElement handed over a copy
  EXPECT_EQ(FromComVariant(com.Get()), nested);
}

TEST(ComVariantTest, ByReferenceVariantPointsAtAReferentThatLivesWithIt) {
  const Variant corner = Variant::ByRef(Variant::ArrayOf(VariantKind::Double, 0, {Variant(0.0), Variant(297.0)}));
  ScopedVariant original = ToComVariant(corner);
  const ScopedVariant moved = std::move(original);
  ASSERT_EQ(moved.Get().vt, VT_BYREF | VT_VARIANT);
  ASSERT_NE(moved.Get().pvarVal, nullptr);
  EXPECT_EQ(moved.Get().pvarVal->vt, VT_ARRAY | VT_R8);
  EXPECT_EQ(ElementAt<double>(moved.Get().pvarVal->parray, 1), 297.0);

  const Variant back = FromComVariant(moved.Get());
  EXPECT_TRUE(back.IsByRef());
  EXPECT_EQ(back, corner);
}

TEST(ComVariantTest, ReleasingAReferenceHandsOverTheReferencedValue) {
  ScopedVariant reference = ToComVariant(Variant::ByRef(Variant(L"ZOOM")));
  VARIANT released = reference.Release();
  const ScopedVariant owner = ScopedVariant::Adopt(released);
  ASSERT_EQ(owner.Get().vt, VT_BSTR);
  EXPECT_EQ(BstrText(owner.Get().bstrVal), L"ZOOM");
  EXPECT_EQ(reference.Get().vt, VT_EMPTY);
}

TEST(ComVariantTest, ObjectsKeepTheirIdentityAndReferences) {
  TestDispatch object;
  {
    const ScopedVariant incoming = ComValue(VT_DISPATCH, [&](VARIANT& v) {
      object.AddRef();
      v.pdispVal = &object;
    });
    const Variant wrapped = FromComVariant(incoming.Get());
    ASSERT_EQ(wrapped.Kind(), VariantKind::Object);
    EXPECT_EQ(ToComVariant(wrapped).Get().pdispVal, &object);

    const Variant list = Variant::ArrayOf(VariantKind::Object, 0, {wrapped, Variant(DispatchPtr())});
    const ScopedVariant comList = ToComVariant(list);
    ASSERT_EQ(comList.Get().vt, VT_ARRAY | VT_DISPATCH);
    EXPECT_EQ(ElementAt<IDispatch*>(comList.Get().parray, 0), &object);
    object.Release();  // the reference SafeArrayGetElement added
    EXPECT_EQ(FromComVariant(comList.Get()).AsArray().elements.size(), 2u);
  }
  EXPECT_EQ(object.RefCount(), 1u) << "every reference taken was given back";

  const ScopedVariant nothing = ToComVariant(Variant(DispatchPtr()));
  EXPECT_EQ(nothing.Get().vt, VT_DISPATCH);
  EXPECT_EQ(nothing.Get().pdispVal, nullptr);
  EXPECT_EQ(FromComVariant(nothing.Get()), Variant(DispatchPtr()));
}

TEST(ComVariantTest, PortableObjectsNeedAnExporter) {
  const Variant plain(DispatchPtr(std::make_shared<PlainObject>()));
  try {
    ToComVariant(plain);
    FAIL() << "a portable object has no IDispatch of its own";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Code(), hresult::TypeMismatch);
  }

  TestDispatch exported;
  const ScopedVariant com =
      ToComVariant(plain, [&](const DispatchPtr&) { return ComPtr<IDispatch>::Share(&exported); });
  EXPECT_EQ(com.Get().pdispVal, &exported);
}

TEST(ComVariantTest, OtherNumericTypesWidenToTheNextSignedKind) {
  EXPECT_EQ(FromComVariant(ComValue(VT_UI1, [](VARIANT& v) { v.bVal = 200; }).Get()), Variant(int16_t{200}));
  EXPECT_EQ(FromComVariant(ComValue(VT_I1, [](VARIANT& v) { v.cVal = -5; }).Get()), Variant(int16_t{-5}));
  EXPECT_EQ(FromComVariant(ComValue(VT_UI2, [](VARIANT& v) { v.uiVal = 60000; }).Get()), Variant(int32_t{60000}));
  EXPECT_EQ(FromComVariant(ComValue(VT_INT, [](VARIANT& v) { v.intVal = -7; }).Get()), Variant(int32_t{-7}));
  EXPECT_EQ(FromComVariant(ComValue(VT_UI4, [](VARIANT& v) { v.ulVal = 4000000000u; }).Get()),
            Variant(int64_t{4000000000}));
  EXPECT_EQ(FromComVariant(ComValue(VT_UINT, [](VARIANT& v) { v.uintVal = 4000000001u; }).Get()),
            Variant(int64_t{4000000001}));
  EXPECT_EQ(FromComVariant(ComValue(VT_R4, [](VARIANT& v) { v.fltVal = 1.5f; }).Get()), Variant(1.5));
  EXPECT_EQ(FromComVariant(ComValue(VT_DATE, [](VARIANT& v) { v.date = 45000.25; }).Get()), Variant(45000.25));
  EXPECT_EQ(FromComVariant(ComValue(VT_CY, [](VARIANT& v) { v.cyVal.int64 = 123456; }).Get()), Variant(12.3456));
  EXPECT_EQ(FromComVariant(ComValue(VT_NULL, [](VARIANT&) {}).Get()), Variant());
  EXPECT_EQ(MismatchCode(ComValue(VT_UI8, [](VARIANT& v) { v.ullVal = ~0ull; }).Get()), DISP_E_OVERFLOW);
}

TEST(ComVariantTest, ReferencesOfOtherTypesAreReadThrough) {
  LONG count = 12;
  const Variant number = FromComVariant(ComValue(VT_BYREF | VT_I4, [&](VARIANT& v) { v.plVal = &count; }).Get());
  EXPECT_FALSE(number.IsByRef());
  EXPECT_EQ(number, Variant(int32_t{12}));

  const UniqueBstr text = AllocateBstr(L"図面");
  BSTR raw = text.Get();
  const Variant string = FromComVariant(ComValue(VT_BYREF | VT_BSTR, [&](VARIANT& v) { v.pbstrVal = &raw; }).Get());
  EXPECT_EQ(string, Variant(L"図面"));
}

TEST(ComVariantTest, WhatHasNoPortableFormIsATypeMismatch) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 0}};
  UniqueSafeArray matrix(SafeArrayCreate(VT_R8, 2, bounds));
  EXPECT_EQ(MismatchCode(ComValue(VT_ARRAY | VT_R8, [&](VARIANT& v) { v.parray = matrix.Release(); }).Get()),
            hresult::TypeMismatch);

  UniqueSafeArray bytes(SafeArrayCreateVector(VT_UI1, 0, 4));
  EXPECT_EQ(MismatchCode(ComValue(VT_ARRAY | VT_UI1, [&](VARIANT& v) { v.parray = bytes.Release(); }).Get()),
            hresult::TypeMismatch);

  // A type that claims doubles over an array of shorts must not be read as doubles.
  UniqueSafeArray shorts(SafeArrayCreateVector(VT_I2, 0, 4));
  EXPECT_EQ(MismatchCode(ComValue(VT_ARRAY | VT_R8, [&](VARIANT& v) { v.parray = shorts.Release(); }).Get()),
            hresult::TypeMismatch);

  EXPECT_EQ(MismatchCode(ComValue(VT_ERROR, [](VARIANT& v) { v.scode = E_FAIL; }).Get()), E_FAIL);
  EXPECT_EQ(MismatchCode(ComValue(VT_RECORD, [](VARIANT&) {}).Get()), hresult::TypeMismatch);
}

TEST(ComVariantTest, ArrayElementsThatDoNotFitTheElementTypeAreRejected) {
  const auto codeOf = [](const Variant& array) -> HResult {
    try {
      ToComVariant(array);
    } catch (const AutomationError& error) {
      return error.Code();
    }
    return hresult::Ok;
  };
  EXPECT_EQ(codeOf(Variant::ArrayOf(VariantKind::Int16, 0, {Variant(int32_t{40000})})), DISP_E_OVERFLOW);
  EXPECT_EQ(codeOf(Variant::ArrayOf(VariantKind::Double, 0, {Variant(1.0), Variant(L"x")})), hresult::TypeMismatch);
  EXPECT_EQ(codeOf(Variant::ArrayOf(VariantKind::String, 0, {Variant(2.0)})), hresult::TypeMismatch);
  EXPECT_EQ(codeOf(Variant::ArrayOf(VariantKind::Empty, 0, {})), hresult::TypeMismatch);
}

// A CAD's array of any size: only what the caller can use is converted.
TEST(ComVariantTest, AnArrayLargerThanItsUseIsRefusedOrCutBeforeItIsConverted) {
  const ScopedVariant huge = ComValue(VT_ARRAY | VT_R8, [](VARIANT& raw) {
    raw.parray = SafeArrayCreateVector(VT_R8, 0, 1'000'000);
    ASSERT_NE(raw.parray, nullptr);
  });
  {
    const ScopedArrayUse frame(ArrayUse{16, false});
    EXPECT_EQ(MismatchCode(huge.Get()), hresult::TooLarge);
  }
  const ScopedArrayUse attributes(ArrayUse{256, true});
  const Variant cut = FromComVariant(huge.Get());
  EXPECT_EQ(cut.AsArray().elements.size(), 256u);
  EXPECT_EQ(cut.AsArray().lowerBound, 0);
}
