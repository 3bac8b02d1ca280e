// The way out of a CAD that stops answering, end to end: the real page.exe
// against simcad.exe sleeping outside any member or in one, given up with
// real keys (SendInput) from whichever window is in front, or closed by
// another program.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "Eventually.h"
#include "PageProcess.h"
#include "SimCadProcess.h"
#include "ui/ControlIds.h"
#include "win/Handles.h"

namespace {

constexpr wchar_t kBricscad[] = L"BricscadApp.AcadApplication";
constexpr wchar_t kWaiting[] = L"待機中";
constexpr wchar_t kZoomWindow[] = L"Application.ZoomWindow";
// Under Wine a cancelled call still waits for the CAD to answer; long
// enough that a loaded machine sees the keys before it does.
constexpr int32_t kLongStall = 12000;

// In front, and active in its own thread, so that the keys go to it.
bool BringToFront(HWND window) {
  SetForegroundWindow(window);
  return Eventually([&] {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    return GetForegroundWindow() == window && GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
           thread.hwndActive == window;
  });
}

// The test thread's windows take the input that reaches them.
void ReadInputFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  MSG message{};
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

class WaitEndToEndTest : public testing::Test {
 protected:
  void TearDown() override {
    FPage.reset();
    FCad.reset();
    FCadProcess.reset();
  }

  // The sample drawing's page 2 shown, the journal cleared.
  const PagerWindow& StartOnPageTwo() {
    FCadProcess = std::make_unique<SimCadProcess>(std::vector<std::wstring>{kBricscad},
                                                  std::vector<std::wstring>{SampleDrawingPath()});
    FCad = AttachSimCad(kBricscad);
    FPage = std::make_unique<PageProcess>(FFolder.Program());
    SimCall(*FCad, L"SimSetViewCentre", {Variant(710.0), Variant(148.5)});
    Pager().Click(kPagerButton1);
    EXPECT_TRUE(Pager().WaitForStatus(L"2 / 12")) << testing::PrintToString(Pager().Status());
    // The status comes before the zoom, and the zoom brings the CAD to the
    // front first: both done before the test moves on, so that the CAD
    // does not take the keys meant for another window and the Get's last
    // call does not land in the journal the test reads.
    EXPECT_TRUE(Eventually([&] { return ZoomsSoFar() == 1 && SimQuery(*FCad, L"SimIsForeground"); }));
    SimCall(*FCad, L"SimClearJournal");
    return Pager();
  }
  const PagerWindow& Pager() const { return FPage->Pager(); }

  // A step whose view-centre read the CAD sleeps through, 待機中 shown.
  void StepIntoAStall() {
    SimCall(*FCad, L"SimStallOn", {Variant(L"GetVariable"), Variant(int32_t{1}), Variant(kLongStall)});
    EXPECT_TRUE(BringToFront(Pager().Handle()));
    Pager().Click(kPagerButton3);
    ASSERT_TRUE(Pager().WaitForStatus(kWaiting)) << testing::PrintToString(Pager().Status());
  }

  // The step was given up: once the CAD answers, the status is back and no
  // zoom followed.
  void ExpectTheStepGivenUp() {
    EXPECT_TRUE(Pager().WaitForStatus(L"2 / 12")) << testing::PrintToString(Pager().Status());
    EXPECT_EQ(ZoomsSoFar(), 0u) << "the given-up step went on to zoom";
  }

  size_t ZoomsSoFar() {
    size_t count = 0;
    for (const std::wstring& call : SimJournal(*FCad)) count += call.starts_with(kZoomWindow);
    return count;
  }

  bool PageEnds() {
    return Eventually([&] { return !FPage->Running(); });
  }
  std::wstring SavedProgId() const {
    wchar_t value[256]{};
    GetPrivateProfileStringW(L"Target", L"ProgId", L"<missing>", value, 256, FFolder.SettingsFile().c_str());
    return value;
  }

  PageProgramFolder FFolder;
  std::unique_ptr<SimCadProcess> FCadProcess;
  DispatchPtr FCad;
  std::unique_ptr<PageProcess> FPage;
};

}  // namespace

// Attaching is watched too: the CAD busy outside any member blocks Get in
// its first calls, which are not member calls.
TEST_F(WaitEndToEndTest, GetWaitingInItsFirstCallsShowsTheWaitAndEscGivesTheStatusBack) {
  const PagerWindow& pager = StartOnPageTwo();
  SimCall(*FCad, L"SimBusyFor", {Variant(kLongStall)});
  ASSERT_TRUE(BringToFront(pager.Handle()));
  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(kWaiting)) << testing::PrintToString(pager.Status());
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(pager.WaitForStatus(L"2 / 12")) << testing::PrintToString(pager.Status());
  EXPECT_EQ(SimJournal(*FCad), std::vector<std::wstring>()) << "the given-up Get went on to read the drawing";
}

// A close sent by another program arrives inside the call's wait.
TEST_F(WaitEndToEndTest, AClosedSentDuringACallEndsThePagerCleanlyWithTheSettingsWritten) {
  StartOnPageTwo();
  StepIntoAStall();
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(Pager().Handle(), WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &answer);
  ASSERT_TRUE(PageEnds());
  EXPECT_EQ(FPage->ExitCode(), 0u);
  EXPECT_EQ(SavedProgId(), kBricscad);
  EXPECT_EQ(ZoomsSoFar(), 0u);
}

TEST_F(WaitEndToEndTest, TheSessionEndingDuringACallWritesTheSettings) {
  StartOnPageTwo();
  StepIntoAStall();
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(Pager().Handle(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer);
  EXPECT_EQ(answer, TRUE);
  EXPECT_EQ(SavedProgId(), kBricscad) << "page.ini was not written";
  EXPECT_TRUE(FPage->Running());
}

// Every key waiting is looked at, not only the first of its kind.
TEST_F(WaitEndToEndTest, EscHeldWithShiftGivesTheCallUp) {
  StartOnPageTwo();
  StepIntoAStall();
  PressKeys({VK_SHIFT, VK_ESCAPE});
  ExpectTheStepGivenUp();
}

TEST_F(WaitEndToEndTest, AltF4OnThePagerGivesTheCallUpAndCloses) {
  StartOnPageTwo();
  StepIntoAStall();
  PressKeys({VK_MENU, VK_F4});
  ASSERT_TRUE(PageEnds());
  EXPECT_EQ(FPage->ExitCode(), 0u);
  EXPECT_EQ(ZoomsSoFar(), 0u);
}

// While it waits, Esc is the pager's whichever window is in front: here
// one of the test's own. (Wine makes a hot key of a key only when the
// thread in front reads its input, so the window keeps reading; Windows
// does at once.)
TEST_F(WaitEndToEndTest, EscWithAnotherWindowInFrontGivesTheCallUp) {
  StartOnPageTwo();
  StepIntoAStall();
  const UniqueWindow other(CreateWindowExW(0, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE, 300, 300, 200, 100,
                                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(other.Get());
  ASSERT_TRUE(BringToFront(other.Get()));
  PressKeys({VK_ESCAPE});
  ReadInputFor(std::chrono::seconds(2));
  ExpectTheStepGivenUp();
}

// A hot key pressed while the page menu is open runs nothing, then or later.
TEST_F(WaitEndToEndTest, AHotKeyPressedWhileThePageMenuIsOpenIsIgnored) {
  ASSERT_TRUE(WritePrivateProfileStringW(L"Keys", L"Get", L"Ctrl+Alt+Home", FFolder.SettingsFile().c_str()));
  const PagerWindow& pager = StartOnPageTwo();
  ASSERT_TRUE(BringToFront(pager.Handle()));
  pager.PostStatusContextMenu();
  ASSERT_NE(FPage->WaitForWindow(L"#32768"), nullptr);
  PressKeys({VK_CONTROL, VK_MENU, VK_HOME});
  EXPECT_FALSE(Eventually([&] { return !SimJournal(*FCad).empty(); }, std::chrono::seconds(3)))
      << "the hot key ran a command under the open menu";
  PressKeys({VK_ESCAPE});
  EXPECT_FALSE(Eventually([&] { return !SimJournal(*FCad).empty(); }, std::chrono::seconds(3)))
      << "the hot key was kept and ran once the menu closed";
}
