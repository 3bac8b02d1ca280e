// Exposes DispatchObjects as real IDispatch objects, so that a client in
// another process calls them through COM by member name. One adapter
// serves every object: names get stable DISPIDs, arguments and results
// go through the VARIANT conversion, and AutomationError becomes the
// server exception a late-bound client expects.
#pragma once

#include <oaidl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cad/Automation.h"
#include "cad/ComPtr.h"

class DispatchServer : public std::enable_shared_from_this<DispatchServer> {
 public:
  // Whether the object has the member; other names fail at lookup with
  // DISP_E_UNKNOWNNAME.
  using MemberCheck = std::function<bool(const DispatchObject& object, std::wstring_view member)>;
  // Runs after every invocation, whether it succeeded or not.
  using CallObserver = std::function<void()>;

  static std::shared_ptr<DispatchServer> Create(MemberCheck knowsMember, CallObserver afterCall);

  ComPtr<IDispatch> Export(DispatchPtr object);

  // From now on every call fails as with a server that has gone, so that
  // objects the COM runtime still holds never reach a destroyed model.
  void Shut() noexcept { FShut = true; }
  bool IsShut() const noexcept { return FShut; }

  // The same DISPID for a name in any letter case, for the process's life.
  DISPID IdOf(std::wstring_view member);
  // The name as first looked up; nothing for an id never handed out.
  const std::wstring* NameOf(DISPID id) const;

  bool Knows(const DispatchObject& object, std::wstring_view member) const { return FKnowsMember(object, member); }
  void AfterCall() const {
    if (FAfterCall) FAfterCall();
  }

 private:
  DispatchServer(MemberCheck knowsMember, CallObserver afterCall);

  MemberCheck FKnowsMember;
  CallObserver FAfterCall;
  std::map<std::wstring, DISPID> FIds;  // keyed by the upper-cased name
  std::vector<std::wstring> FNames;     // indexed by DISPID - 1
  bool FShut = false;
};
