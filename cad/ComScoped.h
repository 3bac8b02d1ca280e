// RAII owners of the COM resources the automation client handles: BSTR,
// VARIANT, SAFEARRAY and its data lock, and the thread's COM apartment.
#pragma once

#include <ole2.h>

#include <memory>
#include <string>
#include <string_view>

class ScopedBstr {
 public:
  ScopedBstr() noexcept = default;
  // Keeps every character, embedded NULs included. Throws on allocation failure.
  explicit ScopedBstr(std::wstring_view text);
  ScopedBstr(ScopedBstr&& other) noexcept;
  ScopedBstr& operator=(ScopedBstr&& other) noexcept;
  ~ScopedBstr() { SysFreeString(FValue); }

  BSTR Get() const noexcept { return FValue; }
  BSTR* Put() noexcept;
  [[nodiscard]] BSTR Release() noexcept;
  // A null BSTR reads as the empty string, as automation defines it.
  std::wstring Text() const { return std::wstring(FValue ? FValue : L"", SysStringLen(FValue)); }

 private:
  BSTR FValue = nullptr;
};

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

class ScopedSafeArray {
 public:
  ScopedSafeArray() noexcept = default;
  explicit ScopedSafeArray(SAFEARRAY* owned) noexcept : FValue(owned) {}
  ScopedSafeArray(ScopedSafeArray&& other) noexcept;
  ScopedSafeArray& operator=(ScopedSafeArray&& other) noexcept;
  ~ScopedSafeArray() { SafeArrayDestroy(FValue); }

  SAFEARRAY* Get() const noexcept { return FValue; }
  [[nodiscard]] SAFEARRAY* Release() noexcept;

 private:
  SAFEARRAY* FValue = nullptr;
};

// The array's elements, locked for direct access while this object lives.
class SafeArrayData {
 public:
  explicit SafeArrayData(SAFEARRAY* array);  // throws AutomationError
  SafeArrayData(const SafeArrayData&) = delete;
  SafeArrayData& operator=(const SafeArrayData&) = delete;
  ~SafeArrayData() { SafeArrayUnaccessData(FArray); }

  template <class T>
  T* As() const noexcept {
    return static_cast<T*>(FData);
  }

 private:
  SAFEARRAY* FArray;
  void* FData = nullptr;
};

// The calling thread as a single-threaded apartment for this object's life.
class ComApartment {
 public:
  ComApartment();  // throws AutomationError
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() { CoUninitialize(); }
};
