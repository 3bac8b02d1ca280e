#include <gtest/gtest.h>

#include <array>

#include "TestDispatch.h"
#include "cad/WindowsCad.h"

namespace {

// {6E9C58A2-4B0C-4E7A-9D0B-2F1C8A3E5D71}
constexpr CLSID kTestClass = {0x6e9c58a2, 0x4b0c, 0x4e7a, {0x9d, 0x0b, 0x2f, 0x1c, 0x8a, 0x3e, 0x5d, 0x71}};
constexpr wchar_t kTestProgId[] = L"PageTest.RegisteredCad";
constexpr wchar_t kTestClassText[] = L"{6E9C58A2-4B0C-4E7A-9D0B-2F1C8A3E5D71}";

// The ProgID in the machine's classes, where Wine looks it up, for the
// fixture's lifetime.
class RegisteredProgId {
 public:
  RegisteredProgId() {
    const std::wstring key = std::wstring(L"Software\\Classes\\") + kTestProgId + L"\\CLSID";
    FRegistered = RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, kTestClassText,
                                  sizeof(kTestClassText)) == ERROR_SUCCESS;
  }
  RegisteredProgId(const RegisteredProgId&) = delete;
  RegisteredProgId& operator=(const RegisteredProgId&) = delete;
  ~RegisteredProgId() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + kTestProgId).c_str());
  }
  bool Registered() const { return FRegistered; }

 private:
  bool FRegistered = false;
};

// An object in the running object table while this lives.
class ActiveObject {
 public:
  explicit ActiveObject(IUnknown* object) {
    EXPECT_EQ(RegisterActiveObject(object, kTestClass, ACTIVEOBJECT_STRONG, &FCookie), S_OK);
  }
  ActiveObject(const ActiveObject&) = delete;
  ActiveObject& operator=(const ActiveObject&) = delete;
  ~ActiveObject() { RevokeActiveObject(FCookie, nullptr); }

 private:
  DWORD FCookie = 0;
};

AutomationError ErrorOf(auto call) {
  try {
    call();
  } catch (const AutomationError& error) {
    return error;
  }
  ADD_FAILURE() << "no error was raised";
  return AutomationError(hresult::Ok, L"");
}

}  // namespace

TEST(ComObjectTableTest, AnUnregisteredProgIdFailsWithTheSystemsText) {
  ComObjectTable objects;
  const AutomationError running = ErrorOf([&] { objects.IsActive(L"PageTest.NotRegistered"); });
  EXPECT_LT(running.Code(), 0) << "a failure code";
  EXPECT_FALSE(running.Text().empty());
  const AutomationError attach = ErrorOf([&] { objects.GetActive(L"PageTest.NotRegistered"); });
  EXPECT_EQ(attach.Code(), running.Code());
}

TEST(ComObjectTableTest, ARegisteredClassIsActiveOnlyWhileAnInstanceRuns) {
  const RegisteredProgId progId;
  ASSERT_TRUE(progId.Registered());
  ComObjectTable objects;
  EXPECT_FALSE(objects.IsActive(kTestProgId));
  EXPECT_EQ(ErrorOf([&] { objects.GetActive(kTestProgId); }).Code(), hresult::Unavailable);

  TestDispatch cad;
  {
    const ActiveObject running(&cad);
    EXPECT_TRUE(objects.IsActive(kTestProgId));
    const DispatchPtr application = objects.GetActive(kTestProgId);
    const std::array<Variant, 1> argument{Variant(L"ok")};
    EXPECT_EQ(CallMethod(*application, L"Echo", argument), Variant(L"ok"));
  }
  EXPECT_FALSE(objects.IsActive(kTestProgId));
  EXPECT_EQ(cad.RefCount(), 1u) << "the running check and the attach gave back their references";
}

TEST(Win32WindowControlTest, RestoresAMinimizedWindowAndBringsItForward) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"ターゲット CAD", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320,
                                      200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  const int64_t handle = reinterpret_cast<intptr_t>(window);
  Win32WindowControl windows;

  ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(windows.IsIconic(handle));
  windows.OpenIcon(handle);
  EXPECT_FALSE(windows.IsIconic(handle));
  windows.SetForegroundWindow(handle);
  EXPECT_EQ(GetForegroundWindow(), window);
  DestroyWindow(window);
}
