// The pager's COM message filter: retries calls a busy CAD refuses with
// retry-later once a second, and leaves window messages waiting during a
// call; the pager's call watch, when there is one, decides after a long wait.
#pragma once

#include <objbase.h>

#include <atomic>

#include "cad/ComScoped.h"

class TMessageFilter : public IMessageFilter {
 public:
  // Owned by reference counting alone: the count is 0 here, the
  // registration takes the only reference and revocation releases it.
  static TMessageFilter* Create() { return new TMessageFilter(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD dwCallType, HTASK htaskCaller, DWORD dwTickCount,
                                             LPINTERFACEINFO lpInterfaceInfo) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK htaskCallee, DWORD dwTickCount, DWORD dwRejectType) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK htaskCallee, DWORD dwTickCount, DWORD dwPendingType) override;

 protected:
  TMessageFilter() = default;
  TMessageFilter(const TMessageFilter&) = delete;
  TMessageFilter& operator=(const TMessageFilter&) = delete;
  virtual ~TMessageFilter() = default;

 private:
  std::atomic<ULONG> FRefCount{0};
};

// The one instance, named while the pager's registration lives.
extern TMessageFilter* MessageFilter;

// The pager's filter for the pager's lifetime: created with a count of 0,
// the registration takes its only reference, and the end puts the
// previous filter back, which destroys it.
class MessageFilterRegistration {
 public:
  MessageFilterRegistration() : FFilter(MessageFilter = TMessageFilter::Create()) {}
  MessageFilterRegistration(const MessageFilterRegistration&) = delete;
  MessageFilterRegistration& operator=(const MessageFilterRegistration&) = delete;
  ~MessageFilterRegistration() { MessageFilter = nullptr; }

 private:
  ScopedMessageFilter FFilter;
};
