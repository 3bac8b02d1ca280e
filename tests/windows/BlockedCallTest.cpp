// What COM does with the client's message filter while a call waits for a
// server that neither answers nor looks at its messages (simcad.exe
// sleeping in a member).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "SimCadProcess.h"
#include "cad/ComAutomation.h"

namespace {

constexpr wchar_t kProgId[] = L"PageTest.SimCadBlocked";
constexpr HResult kCallCancelled = static_cast<HResult>(0x80010002);  // RPC_E_CALL_CANCELED

class RecordingFilter : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
      *object = static_cast<IMessageFilter*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override { return 0; }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    ++asked;
    MSG message{};
    if (PeekMessageW(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && message.wParam == VK_ESCAPE)
      sawKey = true;
    return answer;
  }

  int asked = 0;
  DWORD answer = PENDINGMSG_WAITNOPROCESS;
  bool sawKey = false;
};

LRESULT CALLBACK PlainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePlainWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = PlainWindow;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"PageBlockedCallTest";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, windowClass.lpszClassName, L"blocked", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

void PressEscape() {
  INPUT keys[2]{};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

// The pager's watch relies on this: while a call is blocked, a message
// posted to the thread makes COM ask the filter, which then sees the keys
// waiting in the queue; and a call the filter cancels fails as cancelled.
// (Under Wine 8 keys alone do not make COM ask, its tick count is always 0,
// and a cancelled call still waits for the server's answer.)
TEST(BlockedCallTest, APostedMessageMakesComAskTheFilterWhichSeesTheKeysAndCanCancel) {
  SimCadProcess simCad({kProgId});
  const DispatchPtr application = AttachSimCad(kProgId);
  HWND window = CreatePlainWindow();
  SetForegroundWindow(window);
  RecordingFilter filter;
  IMessageFilter* previous = nullptr;
  ASSERT_EQ(CoRegisterMessageFilter(&filter, &previous), S_OK);

  for (const DWORD answer : {DWORD{PENDINGMSG_WAITNOPROCESS}, DWORD{PENDINGMSG_CANCELCALL}}) {
    SimCall(*application, L"SimStallOn", {Variant(L"HWND"), Variant(int32_t{1}), Variant(int32_t{3000})});
    filter.asked = 0;
    filter.answer = answer;
    filter.sawKey = false;
    std::thread poster([window] {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      PressEscape();
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      PostMessageW(window, WM_APP, 0, 0);
    });
    HResult code = hresult::Ok;
    try {
      GetValue(*application, L"HWND");
    } catch (const AutomationError& error) {
      code = error.Code();
    }
    poster.join();
    EXPECT_GT(filter.asked, 0) << "the filter was never asked during the blocked call";
    EXPECT_TRUE(filter.sawKey) << "the key pressed during the call was not in the queue";
    EXPECT_EQ(code, answer == PENDINGMSG_CANCELCALL ? kCallCancelled : hresult::Ok);
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  CoRegisterMessageFilter(previous, nullptr);
  DestroyWindow(window);
}

}  // namespace
