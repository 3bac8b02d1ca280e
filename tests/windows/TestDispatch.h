// A small in-process automation object for the client's tests. Its members
// record how they were called:
//   Echo         returns its first argument
//   Fail         raises a server exception with a description
//   FailDeferred the same, through a deferred fill-in
//   Reject       fails with RPC_E_CALL_REJECTED and no exception
//   Self         returns this object
//   Reference    returns VT_BYREF|VT_I4 42
// The test owns the object; its count is only observed, never frees it.
#pragma once

#include <oaidl.h>

#include <string>
#include <vector>

#include "cad/ComScoped.h"

class TestDispatch : public IDispatch {
 public:
  struct Argument {
    VARTYPE type;         // as passed
    ScopedVariant value;  // a deep copy, references read through
  };
  struct Call {
    std::wstring member;
    WORD flags = 0;
    LCID lookupLocale = 0;
    LCID invokeLocale = 0;
    std::vector<Argument> arguments;  // natural order, first argument first
  };

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefCount; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) override;

  ULONG RefCount() const { return FRefCount; }
  const std::vector<Call>& Calls() const { return FCalls; }
  // The recorded arguments hold references of their own.
  void ForgetCalls() { FCalls.clear(); }

 private:
  ULONG FRefCount = 1;
  LCID FLookupLocale = 0;
  LONG FReferenced = 42;
  std::vector<Call> FCalls;
};

// The descriptions the failing members give.
inline constexpr wchar_t kFailDescription[] = L"図面が開いていません";
inline constexpr wchar_t kDeferredDescription[] = L"後から埋めた説明";
inline constexpr HRESULT kFailCode = static_cast<HRESULT>(0x80040201);
