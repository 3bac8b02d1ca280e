#include "TestDispatch.h"

#include <array>
#include <iterator>

namespace {

enum Member : DISPID { Echo = 1, Fail, FailDeferred, Reject, Self, Reference };

constexpr std::array<const wchar_t*, 6> kNames{L"Echo", L"Fail", L"FailDeferred", L"Reject", L"Self", L"Reference"};

HRESULT STDMETHODCALLTYPE FillDeferred(EXCEPINFO* exception) {
  exception->bstrDescription = SysAllocString(kDeferredDescription);
  exception->scode = kFailCode;
  return S_OK;
}

}  // namespace

HRESULT TestDispatch::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT TestDispatch::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT TestDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) {
  FLookupLocale = locale;
  if (count != 1) return E_INVALIDARG;
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (CompareStringOrdinal(names[0], -1, kNames[i], -1, TRUE) == CSTR_EQUAL) {
      ids[0] = static_cast<DISPID>(i + 1);
      return S_OK;
    }
  }
  ids[0] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT TestDispatch::Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                             EXCEPINFO* exception, UINT*) {
  if (id < Echo || id > Reference) return DISP_E_MEMBERNOTFOUND;
  Call call{kNames[id - 1], flags, FLookupLocale, locale, {}};
  for (UINT i = parameters->cArgs; i-- > 0;) {
    Argument argument{parameters->rgvarg[i].vt, {}};
    if (FAILED(VariantCopyInd(argument.value.Put(), &parameters->rgvarg[i]))) return E_UNEXPECTED;
    call.arguments.push_back(std::move(argument));
  }
  FCalls.push_back(std::move(call));

  switch (id) {
    case Echo:
      if (parameters->cArgs > 0) return VariantCopyInd(result, &parameters->rgvarg[parameters->cArgs - 1]);
      return S_OK;
    case Fail:
      exception->scode = kFailCode;
      exception->bstrSource = SysAllocString(L"TestDispatch");
      exception->bstrDescription = SysAllocString(kFailDescription);
      return DISP_E_EXCEPTION;
    case FailDeferred: exception->pfnDeferredFillIn = FillDeferred; return DISP_E_EXCEPTION;
    case Reject: return RPC_E_CALL_REJECTED;
    case Self:
      AddRef();
      result->vt = VT_DISPATCH;
      result->pdispVal = this;
      return S_OK;
    default:
      result->vt = VT_BYREF | VT_I4;
      result->plVal = &FReferenced;
      return S_OK;
  }
}
