// simcad.exe's message filter: a busy CAD turns incoming calls away with
// the answer a test asks for, for as many calls as it asks.
#pragma once

#include <objbase.h>

#include <atomic>

class SimCadServerFilter : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefCount; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                             LPINTERFACEINFO interfaceInfo) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

  // The next count incoming calls get the answer (SERVERCALL_REJECTED or
  // SERVERCALL_RETRYLATER).
  void Refuse(int count, DWORD answer) {
    FRefusals = count;
    FAnswer = answer;
  }
  int Consulted() const noexcept { return FConsulted; }

 private:
  std::atomic<ULONG> FRefCount{1};  // owned by main, which outlives the registration
  int FRefusals = 0;
  DWORD FAnswer = SERVERCALL_ISHANDLED;
  int FConsulted = 0;
};
