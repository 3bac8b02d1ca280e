#include "cad/MessageFilter.h"

#include "cad/CallWatch.h"

TMessageFilter* MessageFilter = nullptr;

namespace {

constexpr DWORD kRetryAfterMilliseconds = 1000;
constexpr DWORD kCancelCall = 0xFFFFFFFF;

}  // namespace

HRESULT TMessageFilter::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
    *object = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TMessageFilter::AddRef() { return ++FRefCount; }

ULONG TMessageFilter::Release() {
  const ULONG count = --FRefCount;
  if (count == 0) delete this;
  return count;
}

DWORD TMessageFilter::HandleInComingCall(DWORD /*dwCallType*/, HTASK /*htaskCaller*/, DWORD /*dwTickCount*/,
                                         LPINTERFACEINFO /*lpInterfaceInfo*/) {
  return SERVERCALL_ISHANDLED;
}

// No time limit: a CAD that stays busy is retried for as long as it says
// so, unless the user gave up on it.
DWORD TMessageFilter::RetryRejectedCall(HTASK /*htaskCallee*/, DWORD /*dwTickCount*/, DWORD dwRejectType) {
  if (PagerCallWatch && !PagerCallWatch->MayRetry()) return kCancelCall;
  return dwRejectType == SERVERCALL_RETRYLATER ? kRetryAfterMilliseconds : kCancelCall;
}

// The watch times the call itself: COM's tick count is not kept by every
// implementation.
DWORD TMessageFilter::MessagePending(HTASK /*htaskCallee*/, DWORD /*dwTickCount*/, DWORD /*dwPendingType*/) {
  if (PagerCallWatch) return PagerCallWatch->MessagePending();
  return PENDINGMSG_WAITNOPROCESS;
}
