#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cad/CallWatch.h"
#include "cad/MessageFilter.h"

namespace {

// Counts how many TMessageFilter objects were destroyed.
class ObservedFilter : public TMessageFilter {
 public:
  static ObservedFilter* Create() { return new ObservedFilter(); }
  static inline int Destroyed = 0;

 protected:
  ~ObservedFilter() override { ++Destroyed; }
};

// A filter that was there before the pager's; the test owns it.
class EarlierFilter : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefCount; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override { return 0; }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return 0; }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return 0; }

  ULONG RefCount() const { return FRefCount; }

 private:
  ULONG FRefCount = 1;
};

// The thread's current filter, left in place.
ComPtr<IMessageFilter> CurrentFilter() {
  ComPtr<IMessageFilter> current;
  CoRegisterMessageFilter(nullptr, current.Put());
  ComPtr<IMessageFilter> none;
  CoRegisterMessageFilter(current.Get(), none.Put());
  return current;
}

void InstallFilter(IMessageFilter* filter) {
  ComPtr<IMessageFilter> previous;
  ASSERT_EQ(CoRegisterMessageFilter(filter, previous.Put()), S_OK);
}

class MessageFilterTest : public testing::Test {
 protected:
  void SetUp() override {
    ObservedFilter::Destroyed = 0;
    InstallFilter(nullptr);
  }
  void TearDown() override { InstallFilter(nullptr); }
};

}  // namespace

TEST_F(MessageFilterTest, AcceptsIncomingCallsRetriesOnlyRetryLaterAndLeavesMessagesWaiting) {
  TMessageFilter* filter = ObservedFilter::Create();
  filter->AddRef();
  for (DWORD callType : {CALLTYPE_TOPLEVEL, CALLTYPE_NESTED, CALLTYPE_ASYNC})
    EXPECT_EQ(filter->HandleInComingCall(callType, nullptr, 0, nullptr), 0u);
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 1000u);
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 60000, SERVERCALL_RETRYLATER), 1000u) << "no time limit";
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED), 0xFFFFFFFFu);
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_ISHANDLED), 0xFFFFFFFFu);
  for (DWORD pending : {PENDINGTYPE_TOPLEVEL, PENDINGTYPE_NESTED})
    EXPECT_EQ(filter->MessagePending(nullptr, 0, pending), 1u);
  EXPECT_EQ(filter->Release(), 0u);
  EXPECT_EQ(ObservedFilter::Destroyed, 1);
}

TEST_F(MessageFilterTest, OffersOnlyIUnknownAndIMessageFilter) {
  TMessageFilter* filter = ObservedFilter::Create();
  void* asFilter = nullptr;
  ASSERT_EQ(filter->QueryInterface(IID_IMessageFilter, &asFilter), S_OK);
  EXPECT_EQ(asFilter, static_cast<IMessageFilter*>(filter));
  void* asUnknown = nullptr;
  EXPECT_EQ(filter->QueryInterface(IID_IUnknown, &asUnknown), S_OK);
  void* asDispatch = &asFilter;
  EXPECT_EQ(filter->QueryInterface(IID_IDispatch, &asDispatch), E_NOINTERFACE);
  EXPECT_EQ(asDispatch, nullptr);
  EXPECT_EQ(filter->Release(), 1u);
  EXPECT_EQ(ObservedFilter::Destroyed, 0);
  EXPECT_EQ(filter->Release(), 0u);
  EXPECT_EQ(ObservedFilter::Destroyed, 1);
}

TEST_F(MessageFilterTest, RevokingPutsTheEarlierFilterBackAndDestroysThePagersFilter) {
  EarlierFilter earlier;
  InstallFilter(&earlier);

  TMessageFilter* filter = ObservedFilter::Create();
  {
    const ScopedMessageFilter registration(filter);
    EXPECT_EQ(CurrentFilter().Get(), static_cast<IMessageFilter*>(filter));
  }

  EXPECT_EQ(ObservedFilter::Destroyed, 1) << "the registration held the only reference";
  EXPECT_EQ(CurrentFilter().Get(), &earlier);
  InstallFilter(nullptr);
  EXPECT_EQ(earlier.RefCount(), 1u) << "the pager's filter gave back its reference to the earlier one";
}

// The pager's registration, as the pager holds it: the global names the
// filter only while it is registered.
TEST_F(MessageFilterTest, ThePagersRegistrationNamesItsFilterAndLeavesNoneAtItsEnd) {
  {
    const MessageFilterRegistration registration;
    ASSERT_NE(MessageFilter, nullptr);
    EXPECT_EQ(CurrentFilter().Get(), static_cast<IMessageFilter*>(MessageFilter));
  }
  EXPECT_EQ(MessageFilter, nullptr);
  EXPECT_EQ(CurrentFilter().Get(), nullptr);
}

namespace {

struct SilentWaitView : WaitView {
  int shown = 0;
  void ShowWaiting(bool waiting) override { shown += waiting; }
};

}  // namespace

// The filter asks the pager's watch: a close request waiting in the queue
// leaves the call alone for two seconds, then cancels it, and a refused
// call is no longer retried.
TEST_F(MessageFilterTest, WithThePagersWatchACloseRequestCancelsALongCallAndItsRetries) {
  HWND pager = CreateWindowExW(0, L"STATIC", L"pager", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(pager, nullptr);
  SilentWaitView view;
  TMessageFilter* filter = ObservedFilter::Create();
  filter->AddRef();
  {
    CallWatch watch(pager, view);
    PagerCallWatch = &watch;
    watch.CallStarted();
    PostMessageW(pager, WM_CLOSE, 0, 0);
    EXPECT_EQ(filter->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL), DWORD{PENDINGMSG_WAITNOPROCESS});
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 1000u);
    std::this_thread::sleep_for(kPatience + std::chrono::milliseconds(100));
    EXPECT_EQ(filter->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL), DWORD{PENDINGMSG_CANCELCALL});
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 0xFFFFFFFFu);
    watch.CallEnded();
    const WaitOutcome outcome = watch.TakeOutcome();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.closeRequested);
    EXPECT_EQ(view.shown, 1);
    PagerCallWatch = nullptr;
  }
  filter->Release();
  MSG message{};
  while (PeekMessageW(&message, pager, 0, 0, PM_REMOVE)) {
  }
  DestroyWindow(pager);
}
