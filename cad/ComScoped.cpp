#include "cad/ComScoped.h"

#include <utility>

#include "cad/ComError.h"

UniqueBstr AllocateBstr(std::wstring_view text) {
  UniqueBstr owner(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  if (!owner) throw ComError(E_OUTOFMEMORY);
  return owner;
}

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

ScopedSafeArrayAccess::ScopedSafeArrayAccess(SAFEARRAY* array) : FArray(array) {
  ThrowIfFailed(SafeArrayAccessData(array, &FData));
}

ScopedApartment::ScopedApartment() { ThrowIfFailed(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
