#include "cad/ComAutomation.h"

#include <algorithm>
#include <vector>

#include "cad/CallWatch.h"
#include "cad/ComError.h"
#include "cad/ComScoped.h"
#include "cad/ComVariant.h"

namespace {

// The exception a server reports through DISP_E_EXCEPTION.
class ScopedExcepInfo {
 public:
  ScopedExcepInfo() = default;
  ScopedExcepInfo(const ScopedExcepInfo&) = delete;
  ScopedExcepInfo& operator=(const ScopedExcepInfo&) = delete;
  ~ScopedExcepInfo() {
    SysFreeString(FInfo.bstrSource);
    SysFreeString(FInfo.bstrDescription);
    SysFreeString(FInfo.bstrHelpFile);
  }

  EXCEPINFO* Put() noexcept { return &FInfo; }

  // The server's description when it gives one, the system's text otherwise.
  AutomationError ToError() {
    if (FInfo.pfnDeferredFillIn) {
      FInfo.pfnDeferredFillIn(&FInfo);
      FInfo.pfnDeferredFillIn = nullptr;
    }
    HRESULT code = DISP_E_EXCEPTION;
    if (FAILED(FInfo.scode))
      code = FInfo.scode;
    else if (FInfo.wCode != 0)
      code = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, FInfo.wCode);
    // Only what the error text can hold is copied out of a description of
    // any length.
    const size_t length = std::min<size_t>(SysStringLen(FInfo.bstrDescription), kLongestErrorText);
    if (length > 0) return AutomationError(code, std::wstring(FInfo.bstrDescription, length));
    return ComError(code);
  }

 private:
  EXCEPINFO FInfo{};
};

}  // namespace

ComDispatchObject::ComDispatchObject(ComPtr<IDispatch> dispatch) : FDispatch(std::move(dispatch)) {
  if (!FDispatch) throw ComError(E_POINTER);
}

Variant ComDispatchObject::Invoke(std::wstring_view member, CallKind kind, std::span<const Variant> arguments) {
  std::wstring name(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  const WatchedCall watched;
  const HRESULT found = FDispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  watched.ThrowIfCancelled();
  if (found == DISP_E_UNKNOWNNAME) throw UnknownMemberError(member);
  ThrowIfFailed(found);

  // COM takes the arguments last first. The owners keep every string, array
  // and referenced VARIANT alive for the call; the callee sees shallow copies.
  std::vector<ScopedVariant> owners;
  owners.reserve(arguments.size());
  for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument)
    owners.push_back(ToComVariant(*argument));
  std::vector<VARIANT> values;
  values.reserve(owners.size());
  for (const ScopedVariant& owner : owners) values.push_back(owner.Get());
  DISPPARAMS parameters{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
  // A property put names its value argument, as IDispatch requires.
  DISPID putId = DISPID_PROPERTYPUT;
  if (kind == CallKind::PropertyPut) {
    parameters.rgdispidNamedArgs = &putId;
    parameters.cNamedArgs = 1;
  }

  const WORD flags = kind == CallKind::Method        ? DISPATCH_METHOD
                     : kind == CallKind::PropertyPut ? DISPATCH_PROPERTYPUT
                                                     : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  ScopedVariant result;
  ScopedExcepInfo exception;
  UINT argumentError = 0;
  const HRESULT invoked =
      FDispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                        kind == CallKind::PropertyPut ? nullptr : result.Put(), exception.Put(), &argumentError);
  watched.ThrowIfCancelled();
  if (invoked == DISP_E_EXCEPTION) throw exception.ToError();
  ThrowIfFailed(invoked);

  // What the server left in by-reference arguments goes back to the
  // caller's variants, as out parameters do.
  for (size_t i = 0; i < arguments.size(); ++i) {
    const Variant& argument = arguments[arguments.size() - 1 - i];
    if (argument.IsByRef()) argument.Store(FromComVariant(*owners[i].Get().pvarVal));
  }

  Variant value = FromComVariant(result.Get());
  if (value.IsByRef()) return value.Deref();
  return value;
}

DispatchPtr WrapDispatch(IUnknown* object) {
  if (!object) throw ComError(E_POINTER);
  ComPtr<IDispatch> dispatch;
  ThrowIfFailed(object->QueryInterface(IID_IDispatch, dispatch.PutVoid()));
  return std::make_shared<ComDispatchObject>(std::move(dispatch));
}
