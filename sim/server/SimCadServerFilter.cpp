#include "sim/server/SimCadServerFilter.h"

HRESULT STDMETHODCALLTYPE SimCadServerFilter::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
    *object = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

DWORD STDMETHODCALLTYPE SimCadServerFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  ++FConsulted;
  if (FRefusals <= 0) return SERVERCALL_ISHANDLED;
  --FRefusals;
  return FAnswer;
}
