// The owners of the COM resources the automation client handles: BSTR and
// SAFEARRAY as UniqueResource; VARIANT, the array's data lock and the
// thread's apartment as scopes, since they keep more than a handle.
#pragma once

#include <ole2.h>

#include <memory>
#include <string>
#include <string_view>

#include "common/UniqueResource.h"

namespace handle_traits {

struct Bstr : NullWhenNone<BSTR> {
  static void Close(Handle handle) noexcept { SysFreeString(handle); }
};

struct SafeArray : NullWhenNone<SAFEARRAY*> {
  static bool Close(Handle handle) noexcept { return SUCCEEDED(SafeArrayDestroy(handle)); }
};

}  // namespace handle_traits

using UniqueBstr = UniqueResource<handle_traits::Bstr>;
using UniqueSafeArray = UniqueResource<handle_traits::SafeArray>;

// Keeps every character, embedded NULs included. Throws on allocation failure.
UniqueBstr AllocateBstr(std::wstring_view text);

class ScopedVariant {
 public:
  ScopedVariant() noexcept { VariantInit(&FValue); }
  ScopedVariant(ScopedVariant&& other) noexcept;
  ScopedVariant& operator=(ScopedVariant&& other) noexcept;
  ~ScopedVariant() { VariantClear(&FValue); }

  // Takes over a VARIANT the caller owns and leaves it empty.
  static ScopedVariant Adopt(VARIANT& owned) noexcept;
  // VT_BYREF|VT_VARIANT pointing at a VARIANT this object owns, so that
  // the reference stays valid for as long as this object lives.
  static ScopedVariant ReferenceTo(ScopedVariant referenced);

  const VARIANT& Get() const noexcept { return FValue; }
  // For out-parameters: clears the current contents first.
  VARIANT* Put() noexcept;
  // Hands the contents to the caller; a reference this object owns is
  // resolved, so the caller receives the referenced value itself.
  [[nodiscard]] VARIANT Release() noexcept;

 private:
  VARIANT FValue;
  std::unique_ptr<ScopedVariant> FReferenced;
};

// The array's elements, locked for direct access while this object lives.
class ScopedSafeArrayAccess {
 public:
  explicit ScopedSafeArrayAccess(SAFEARRAY* array);  // throws AutomationError
  ScopedSafeArrayAccess(const ScopedSafeArrayAccess&) = delete;
  ScopedSafeArrayAccess& operator=(const ScopedSafeArrayAccess&) = delete;
  ~ScopedSafeArrayAccess() { SafeArrayUnaccessData(FArray); }

  template <class T>
  T* As() const noexcept {
    return static_cast<T*>(FData);
  }

 private:
  SAFEARRAY* FArray;
  void* FData = nullptr;
};

// The calling thread as a single-threaded apartment for this object's life.
class ScopedApartment {
 public:
  ScopedApartment();  // throws AutomationError
  ScopedApartment(const ScopedApartment&) = delete;
  ScopedApartment& operator=(const ScopedApartment&) = delete;
  ~ScopedApartment() { CoUninitialize(); }
};
