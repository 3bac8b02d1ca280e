#include "sim/server/DispatchServer.h"

#include <algorithm>
#include <atomic>
#include <exception>

#include "cad/ComScoped.h"
#include "cad/ComVariant.h"
#include "common/AsciiCase.h"
#include "common/Unicode.h"

namespace {

constexpr HRESULT kDisconnected = static_cast<HRESULT>(0x80010108);  // RPC_E_DISCONNECTED

// A busy server's refusal reaches the client as the call's own result, as
// when the server's message filter turns the call away.
bool IsRefusal(HResult code) { return HRESULT_FACILITY(code) == FACILITY_RPC; }

HRESULT ServerException(EXCEPINFO* exception, HRESULT code, const std::wstring& text) noexcept {
  if (!exception || IsRefusal(code)) return code;
  try {
    UniqueBstr source = AllocateBstr(L"simcad");
    UniqueBstr description = AllocateBstr(text);
    *exception = EXCEPINFO{};
    exception->scode = code;
    exception->bstrSource = source.Release();
    exception->bstrDescription = description.Release();
    return DISP_E_EXCEPTION;
  } catch (...) {
    return code;
  }
}

class DispatchAdapter final : public IDispatch {
 public:
  DispatchAdapter(std::shared_ptr<DispatchServer> server, DispatchPtr object)
      : FServer(std::move(server)), FObject(std::move(object)) {}
  DispatchAdapter(const DispatchAdapter&) = delete;
  DispatchAdapter& operator=(const DispatchAdapter&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = --FRefCount;
    if (count == 0) delete this;
    return count;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0) return E_INVALIDARG;
    if (FServer->IsShut()) return kDisconnected;
    try {
      // Later names would be named arguments, which no member takes.
      std::fill(ids, ids + count, DISPID_UNKNOWN);
      const std::wstring_view member(names[0] ? names[0] : L"");
      if (!FServer->Knows(*FObject, member)) return DISP_E_UNKNOWNNAME;
      ids[0] = FServer->IdOf(member);
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (FServer->IsShut()) return kDisconnected;
    const std::wstring* member = FServer->NameOf(id);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    if (flags & DISPATCH_PROPERTYPUTREF) return DISP_E_MEMBERNOTFOUND;
    // A property put comes with its value named DISPID_PROPERTYPUT, and only that.
    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    if (put && (!parameters || parameters->cArgs != 1 || parameters->cNamedArgs != 1 ||
                !parameters->rgdispidNamedArgs || parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
      return DISP_E_PARAMNOTOPTIONAL;
    if (!put && parameters && parameters->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
    if (parameters && parameters->cArgs > 0 && !parameters->rgvarg) return E_INVALIDARG;
    if (result) VariantInit(result);

    const HRESULT outcome = Call(*member, flags, parameters, result, exception, argumentError);
    FServer->AfterCall();
    return outcome;
  }

 private:
  HRESULT Call(const std::wstring& member, WORD flags, const DISPPARAMS* parameters, VARIANT* result,
               EXCEPINFO* exception, UINT* argumentError) {
    try {
      // COM passes the last argument first.
      const UINT count = parameters ? parameters->cArgs : 0;
      std::vector<Variant> arguments;
      arguments.reserve(count);
      for (UINT i = 0; i < count; ++i) {
        const UINT position = count - 1 - i;
        try {
          arguments.push_back(FromComVariant(parameters->rgvarg[position]));
        } catch (const AutomationError&) {
          if (argumentError) *argumentError = position;
          return DISP_E_TYPEMISMATCH;
        }
      }
      const CallKind kind = (flags & DISPATCH_PROPERTYPUT)   ? CallKind::PropertyPut
                            : (flags & DISPATCH_PROPERTYGET) ? CallKind::MethodOrGet
                                                             : CallKind::Method;
      const Variant value = FObject->Invoke(member, kind, arguments);
      const std::shared_ptr<DispatchServer> server = FServer;
      const DispatchExporter exporter = [server](const DispatchPtr& object) { return server->Export(object); };
      // Converted before anything is handed over, so that a failure leaves
      // the caller's variants as they were.
      ScopedVariant converted = ToComVariant(value, exporter);
      std::vector<ScopedVariant> outValues;
      for (UINT i = 0; i < count; ++i)
        if (arguments[i].IsByRef()) outValues.push_back(ToComVariant(arguments[i].Deref(), exporter));
      auto out = outValues.begin();
      for (UINT i = 0; i < count; ++i) {
        if (!arguments[i].IsByRef()) continue;
        VARIANT* referenced = parameters->rgvarg[count - 1 - i].pvarVal;
        VariantClear(referenced);
        *referenced = (out++)->Release();
      }
      if (result) *result = converted.Release();
      return S_OK;
    } catch (const AutomationError& error) {
      return ServerException(exception, error.Code(), error.Text());
    } catch (const std::exception& error) {
      return ServerException(exception, E_FAIL, FromUtf8Lenient(error.what()));
    } catch (...) {
      return E_UNEXPECTED;
    }
  }

  std::atomic<ULONG> FRefCount{1};
  std::shared_ptr<DispatchServer> FServer;
  DispatchPtr FObject;
};

}  // namespace

std::shared_ptr<DispatchServer> DispatchServer::Create(MemberCheck knowsMember, CallObserver afterCall) {
  return std::shared_ptr<DispatchServer>(new DispatchServer(std::move(knowsMember), std::move(afterCall)));
}

DispatchServer::DispatchServer(MemberCheck knowsMember, CallObserver afterCall)
    : FKnowsMember(std::move(knowsMember)), FAfterCall(std::move(afterCall)) {}

ComPtr<IDispatch> DispatchServer::Export(DispatchPtr object) {
  return ComPtr<IDispatch>::Attach(new DispatchAdapter(shared_from_this(), std::move(object)));
}

DISPID DispatchServer::IdOf(std::wstring_view member) {
  const auto [entry, added] = FIds.try_emplace(UpperAscii(member), static_cast<DISPID>(FNames.size() + 1));
  if (added) FNames.emplace_back(member);
  return entry->second;
}

const std::wstring* DispatchServer::NameOf(DISPID id) const {
  if (id < 1 || static_cast<size_t>(id) > FNames.size()) return nullptr;
  return &FNames[static_cast<size_t>(id) - 1];
}
