// DispatchObject over a COM IDispatch: members looked up by name in the
// user's locale, then invoked; failures become AutomationError.
#pragma once

#include <oaidl.h>

#include "cad/Automation.h"
#include "cad/ComPtr.h"

class ComDispatchObject : public DispatchObject {
 public:
  explicit ComDispatchObject(ComPtr<IDispatch> dispatch);

  Variant Invoke(std::wstring_view member, CallKind kind, std::span<const Variant> arguments) override;

  IDispatch* Dispatch() const noexcept { return FDispatch.Get(); }

 private:
  ComPtr<IDispatch> FDispatch;
};

// Takes the object's dispatch interface. Throws AutomationError when it offers none.
DispatchPtr WrapDispatch(IUnknown* object);
