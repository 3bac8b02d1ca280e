#include "cad/ComScoped.h"

#include <utility>

#include "cad/ComError.h"

ScopedBstr::ScopedBstr(std::wstring_view text)
    : FValue(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
  if (!FValue) throw ComError(E_OUTOFMEMORY);
}

ScopedBstr::ScopedBstr(ScopedBstr&& other) noexcept : FValue(other.Release()) {}

ScopedBstr& ScopedBstr::operator=(ScopedBstr&& other) noexcept {
  if (this != &other) {
    SysFreeString(FValue);
    FValue = other.Release();
  }
  return *this;
}

BSTR* ScopedBstr::Put() noexcept {
  SysFreeString(std::exchange(FValue, nullptr));
  return &FValue;
}

BSTR ScopedBstr::Release() noexcept { return std::exchange(FValue, nullptr); }

ScopedVariant::ScopedVariant(ScopedVariant&& other) noexcept
    : FValue(other.FValue), FReferenced(std::move(other.FReferenced)) {
  VariantInit(&other.FValue);
}

ScopedVariant& ScopedVariant::operator=(ScopedVariant&& other) noexcept {
  if (this != &other) {
    VariantClear(&FValue);
    FValue = other.FValue;
    VariantInit(&other.FValue);
    FReferenced = std::move(other.FReferenced);
  }
  return *this;
}

ScopedVariant ScopedVariant::Adopt(VARIANT& owned) noexcept {
  ScopedVariant owner;
  owner.FValue = owned;
  VariantInit(&owned);
  return owner;
}

ScopedVariant ScopedVariant::ReferenceTo(ScopedVariant referenced) {
  ScopedVariant reference;
  reference.FReferenced = std::make_unique<ScopedVariant>(std::move(referenced));
  reference.FValue.vt = VT_BYREF | VT_VARIANT;
  reference.FValue.pvarVal = &reference.FReferenced->FValue;
  return reference;
}

VARIANT* ScopedVariant::Put() noexcept {
  VariantClear(&FValue);
  FReferenced.reset();
  return &FValue;
}

VARIANT ScopedVariant::Release() noexcept {
  if (FReferenced) {
    VariantInit(&FValue);
    const std::unique_ptr<ScopedVariant> referenced = std::move(FReferenced);
    return referenced->Release();
  }
  VARIANT value = FValue;
  VariantInit(&FValue);
  return value;
}

ScopedSafeArray::ScopedSafeArray(ScopedSafeArray&& other) noexcept : FValue(other.Release()) {}

ScopedSafeArray& ScopedSafeArray::operator=(ScopedSafeArray&& other) noexcept {
  if (this != &other) {
    SafeArrayDestroy(FValue);
    FValue = other.Release();
  }
  return *this;
}

SAFEARRAY* ScopedSafeArray::Release() noexcept { return std::exchange(FValue, nullptr); }

SafeArrayData::SafeArrayData(SAFEARRAY* array) : FArray(array) { ThrowIfFailed(SafeArrayAccessData(array, &FData)); }

ComApartment::ComApartment() { ThrowIfFailed(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
