// The real page.exe against simcad.exe, each in its own process, driven
// the way a user drives them: buttons pressed with posted clicks, texts
// read back with WM_GETTEXT, the CAD's journal and view read through COM.
// Every test runs page.exe from a program folder of its own.
#include <gtest/gtest.h>
#include <windows.h>
// TOOLTIPS_CLASSW; needs windows.h first.
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "Eventually.h"
#include "PageProcess.h"
#include "SimCadProcess.h"
#include "TestFiles.h"
#include "WindowShot.h"
#include "common/Unicode.h"
#include "ui/ControlIds.h"

namespace {

constexpr wchar_t kBricscad[] = L"BricscadApp.AcadApplication";
constexpr wchar_t kSecondCad[] = L"PageTest.SecondCad";
constexpr wchar_t kZoomWindow[] = L"Application.ZoomWindow";
constexpr wchar_t kDefaultCaption[] = L"PAGE [BricsCAD]";

struct Frame {
  double minx, miny, maxx, maxy;
  double CentreX() const { return (minx + maxx) / 2; }
  double CentreY() const { return (miny + maxy) / 2; }
};

// The sample drawing's page (1-based): three rows of four 420 x 297 sheets,
// rows counted from the bottom, or from the top with the upper-left option.
Frame SamplePage(int page, bool upperLeft = false) {
  const int row = (page - 1) / 4, column = (page - 1) % 4;
  const double miny = upperLeft ? 800.0 - 400.0 * row : 400.0 * row;
  const double minx = 500.0 * column;
  return Frame{minx, miny, minx + 420.0, miny + 297.0};
}

std::wstring ReadSetting(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  wchar_t value[2048]{};
  GetPrivateProfileStringW(section, key, L"<missing>", value, 2048, file.c_str());
  return value;
}

void WriteSetting(const std::wstring& file, const wchar_t* section, const wchar_t* key, const std::wstring& value) {
  ASSERT_TRUE(WritePrivateProfileStringW(section, key, value.c_str(), file.c_str()));
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// Top-level windows are enumerated from the top of the z-order down.
bool IsAbove(HWND upper, HWND lower) {
  struct Order {
    HWND upper, lower;
    int seen = 0;
    bool upperFirst = false;
  } order{upper, lower};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& o = *reinterpret_cast<Order*>(data);
        if (window == o.upper && o.seen == 0) o.upperFirst = true;
        if (window == o.upper || window == o.lower) ++o.seen;
        return o.seen < 2;
      },
      reinterpret_cast<LPARAM>(&order));
  return order.seen == 2 && order.upperFirst;
}

// Wine takes the screen's pixels per inch from this value when a process starts.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(DWORD dpi) {
    DWORD size = sizeof(DWORD), value = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS)
      FPrevious = value;
    Set(dpi);
  }
  ScopedLogPixels(const ScopedLogPixels&) = delete;
  ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
  ~ScopedLogPixels() {
    if (FPrevious)
      Set(*FPrevious);
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels");
  }

 private:
  static void Set(DWORD dpi) { RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi); }
  static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
  std::optional<DWORD> FPrevious;
};

std::filesystem::path ScreenshotFolder() {
  std::filesystem::path folder(PAGE_SCREENSHOT_FOLDER);
  std::filesystem::create_directories(folder);
  return folder;
}

class PageEndToEndTest : public testing::Test {
 protected:
  void TearDown() override {
    FPage.reset();
    FApplications.clear();
    FCads.clear();
  }

  DispatchObject& StartCad(const std::wstring& progId,
                           const std::vector<std::wstring>& drawings = {SampleDrawingPath()}) {
    FCads.push_back(std::make_unique<SimCadProcess>(std::vector<std::wstring>{progId}, drawings));
    FApplications.push_back(AttachSimCad(progId));
    SimCall(*FApplications.back(), L"SimClearJournal");
    return *FApplications.back();
  }
  DispatchObject& Cad() { return *FApplications.at(0); }
  // Opens the page menu from the status field; the menu window, or null.
  HWND OpenPageMenuFromStatus(const PagerWindow& pager) {
    SetForegroundWindow(pager.Handle());
    if (!Eventually([&] { return GetForegroundWindow() == pager.Handle(); })) return nullptr;
    pager.PostStatusContextMenu();
    return FPage->WaitForWindow(L"#32768");
  }

  const PagerWindow& StartPage() {
    FPage = std::make_unique<PageProcess>(FFolder.Program());
    return FPage->Pager();
  }
  const PagerWindow& Pager() const { return FPage->Pager(); }

  // The status after a click: polled until it reads the text, then the view
  // until it lies on the frame.
  void ExpectPage(const std::wstring& status, const Frame& frame, DispatchObject& cad) {
    ASSERT_TRUE(Pager().WaitForStatus(status)) << "status stayed " << testing::PrintToString(Pager().Status())
                                               << ", expected " << testing::PrintToString(status);
    std::vector<double> view;
    const bool reached = Eventually([&] {
      view = SimView(cad);
      return view.size() == 4 && view[0] == frame.CentreX() && view[1] == frame.CentreY() &&
             view[2] == frame.maxy - frame.miny && view[3] == frame.maxx - frame.minx;
    });
    EXPECT_TRUE(reached) << "the CAD view is " << testing::PrintToString(view) << ", not on the frame at " << frame.minx
                         << "," << frame.miny;
  }
  void ExpectPage(const std::wstring& status, const Frame& frame) { ExpectPage(status, frame, Cad()); }

  size_t CallsOf(DispatchObject& cad, const std::wstring& prefix) {
    size_t count = 0;
    for (const std::wstring& call : SimJournal(cad)) count += call.starts_with(prefix);
    return count;
  }

  void ShowViewAt(double x, double y) {
    SimCall(Cad(), L"SimSetViewCentre", {Variant(x), Variant(y)});
    SimCall(Cad(), L"SimClearJournal");
  }

  // Presses the CAD button and returns the dialog once it shows.
  HWND OpenTargetDialog() {
    Pager().Click(kPagerButton4);
    return FPage->WaitForWindow(kTargetCadWindowClass);
  }

  PageProgramFolder FFolder;
  std::vector<std::unique_ptr<SimCadProcess>> FCads;
  std::vector<DispatchPtr> FApplications;
  std::unique_ptr<PageProcess> FPage;
};

TEST_F(PageEndToEndTest, FirstRunOpensCentredTopmostToolWindowWithTheDefaults) {
  ASSERT_FALSE(std::filesystem::exists(FFolder.SettingsFile()));
  const PagerWindow& pager = StartPage();
  const RECT rect = WindowRect(pager.Handle());
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
  EXPECT_EQ(pager.Caption(), kDefaultCaption);
  EXPECT_EQ(pager.Layer(), L"KESTRA");
  EXPECT_FALSE(pager.UpperLeftChecked());
  EXPECT_EQ(pager.Status(), L"");
  EXPECT_TRUE(HasExStyle(pager.Handle(), WS_EX_TOPMOST));
  EXPECT_TRUE(HasExStyle(pager.Handle(), WS_EX_TOOLWINDOW));
}

TEST_F(PageEndToEndTest, GetNextAndPreviousPageTheCadViewAndWrapAround) {
  DispatchObject& cad = StartCad(kBricscad);
  const PagerWindow& pager = StartPage();

  // The drawing opens with its view centre in no page.
  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"12")) << testing::PrintToString(pager.Status());
  ASSERT_TRUE(Eventually([&] { return CallsOf(cad, L"Document.GetVariable(\"VIEWCTR\")") == 1; }));

  pager.Click(kPagerButton3);
  ExpectPage(L"1 / 12", SamplePage(1));
  EXPECT_EQ(CallsOf(cad, kZoomWindow), 1u) << "Get with the view in no page must not zoom";
  pager.Click(kPagerButton2);
  ExpectPage(L"12 / 12", SamplePage(12));
  pager.Click(kPagerButton3);
  ExpectPage(L"1 / 12", SamplePage(1));
  pager.Click(kPagerButton3);
  ExpectPage(L"2 / 12", SamplePage(2));

  // A view panned by hand is where the next command starts from.
  ShowViewAt(SamplePage(7).CentreX(), SamplePage(7).CentreY());
  pager.Click(kPagerButton1);
  ExpectPage(L"7 / 12", SamplePage(7));
  pager.Click(kPagerButton3);
  ExpectPage(L"8 / 12", SamplePage(8));
  pager.Click(kPagerButton2);
  pager.Click(kPagerButton2);
  ExpectPage(L"6 / 12", SamplePage(6));
  EXPECT_EQ(CallsOf(cad, kZoomWindow), 4u);

  // The CAD was brought forward for each zoom; the pager floats above it still.
  const auto cadWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(GetValue(cad, L"HWND").ToInt64()));
  EXPECT_TRUE(HasExStyle(pager.Handle(), WS_EX_TOPMOST));
  EXPECT_TRUE(IsAbove(pager.Handle(), cadWindow)) << "the CAD window covers the pager";
}

TEST_F(PageEndToEndTest, TheUpperLeftCheckBoxRenumbersThePages) {
  StartCad(kBricscad);
  const PagerWindow& pager = StartPage();
  ShowViewAt(SamplePage(2).CentreX(), SamplePage(2).CentreY());
  pager.Click(kPagerButton1);
  ExpectPage(L"2 / 12", SamplePage(2));

  pager.Click(kPagerCheckBox1);
  ExpectPage(L"10 / 12", SamplePage(10, true));
  EXPECT_TRUE(pager.UpperLeftChecked());
  pager.Click(kPagerButton3);
  ExpectPage(L"11 / 12", SamplePage(11, true));

  pager.Click(kPagerCheckBox1);
  ExpectPage(L"3 / 12", SamplePage(3));
  EXPECT_FALSE(pager.UpperLeftChecked());
}

TEST_F(PageEndToEndTest, TheTargetDialogFloatsAboveThePagerAndOkSwitchesTheCad) {
  DispatchObject& first = StartCad(kBricscad);
  DispatchObject& second = StartCad(kSecondCad);
  // UTF-8 with a byte-order mark, so that the Japanese name survives.
  WriteFileBytes(FFolder.TargetListFile(),
                 "\xEF\xBB\xBF"
                 "BricsCAD\tBricscadApp.AcadApplication\r\n"
                 "\xE7\xAC\xAC\xE4\xBA\x8C CAD\tPageTest.SecondCad\r\n");
  const PagerWindow& pager = StartPage();

  HWND dialog = OpenTargetDialog();
  ASSERT_NE(dialog, nullptr) << "no target CAD dialog";
  EXPECT_TRUE(HasExStyle(dialog, WS_EX_TOPMOST));
  EXPECT_FALSE(HasExStyle(pager.Handle(), WS_EX_TOPMOST)) << "the pager stays topmost under the dialog";
  EXPECT_TRUE(IsAbove(dialog, pager.Handle()));
  HWND name = GetDlgItem(dialog, kTargetEdit1), progId = GetDlgItem(dialog, kTargetEdit2);
  EXPECT_EQ(RemoteTextOrEmpty(progId), kBricscad) << "the current target's row is preselected";

  // The next row, chosen with the keyboard as a user would.
  PostMessageW(GetDlgItem(dialog, kTargetListBox1), WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_TRUE(Eventually([&] { return RemoteText(progId) == kSecondCad; })) << RemoteTextOrEmpty(progId);
  EXPECT_EQ(RemoteTextOrEmpty(name), L"第二 CAD");
  PostClick(GetDlgItem(dialog, kTargetButton1));
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(dialog); }));

  EXPECT_TRUE(Eventually([&] { return pager.Caption() == L"PAGE [第二 CAD]"; })) << pager.Caption();
  EXPECT_TRUE(Eventually([&] { return HasExStyle(pager.Handle(), WS_EX_TOPMOST); }));
  EXPECT_FALSE(HasExStyle(dialog, WS_EX_TOPMOST));

  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"12"));
  EXPECT_TRUE(Eventually([&] { return CallsOf(second, L"Document.GetVariable") == 1; }));
  EXPECT_EQ(CallsOf(first, L"Application."), 0u) << "the old target was asked";
  EXPECT_EQ(CallsOf(first, L"Document."), 0u) << "the old target was asked";

  // The new target reaches the settings file at exit.
  ASSERT_TRUE(FPage->Close());
  EXPECT_EQ(ReadSetting(FFolder.SettingsFile(), L"Target", L"ProgId"), kSecondCad);
  EXPECT_EQ(ReadSetting(FFolder.SettingsFile(), L"Target", L"AppName"), L"第二 CAD");
}

TEST_F(PageEndToEndTest, CancellingTheTargetDialogKeepsCaptionAndCad) {
  DispatchObject& cad = StartCad(kBricscad);
  WriteFileBytes(FFolder.TargetListFile(), "Other\tPageTest.SecondCad\r\nBricsCAD\tBricscadApp.AcadApplication\r\n");
  const PagerWindow& pager = StartPage();

  HWND dialog = OpenTargetDialog();
  ASSERT_NE(dialog, nullptr) << "no target CAD dialog";
  EXPECT_FALSE(HasExStyle(pager.Handle(), WS_EX_TOPMOST));
  HWND progId = GetDlgItem(dialog, kTargetEdit2);
  PostMessageW(GetDlgItem(dialog, kTargetListBox1), WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_TRUE(Eventually([&] { return RemoteText(progId) == kSecondCad; })) << RemoteTextOrEmpty(progId);
  PostClick(GetDlgItem(dialog, kTargetButton2));
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(dialog); }));

  EXPECT_TRUE(Eventually([&] { return HasExStyle(pager.Handle(), WS_EX_TOPMOST); }));
  EXPECT_EQ(pager.Caption(), kDefaultCaption);
  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"12"));
  EXPECT_TRUE(Eventually([&] { return CallsOf(cad, L"Document.GetVariable") == 1; }));
}

TEST_F(PageEndToEndTest, GetWithAnUnregisteredProgIdReportsItAndThePagerKeepsRunning) {
  WriteSetting(FFolder.SettingsFile(), L"Target", L"ProgId", L"Nobody.Application");
  WriteSetting(FFolder.SettingsFile(), L"Target", L"AppName", L"Nobody");
  const PagerWindow& pager = StartPage();
  EXPECT_EQ(pager.Caption(), L"PAGE [Nobody]");

  // Twice: the pager answers the next click as it did the first.
  for (int attempt = 0; attempt < 2; ++attempt) {
    pager.Click(kPagerButton1);
    HWND box = FPage->WaitForWindow(L"#32770", L"PAGE");
    ASSERT_NE(box, nullptr) << "no message box titled PAGE";
    EXPECT_NE(RemoteTextOrEmpty(GetDlgItem(box, 0xFFFF)), L"") << "the message box says nothing";
    PostClick(GetDlgItem(box, IDOK));
    ASSERT_TRUE(Eventually([&] { return !IsWindow(box); }));
    EXPECT_TRUE(FPage->Running());
  }
  EXPECT_EQ(pager.Status(), L"");
  EXPECT_EQ(pager.Caption(), L"PAGE [Nobody]");
  ASSERT_TRUE(FPage->Close());
  EXPECT_EQ(FPage->ExitCode(), 0u);
}

TEST_F(PageEndToEndTest, ClosingSavesTheSettingsAndTheNextStartRestoresThemOnScreen) {
  const RECT first = WindowRect(StartPage().Handle());
  ASSERT_TRUE(FPage->Close());
  const std::wstring file = FFolder.SettingsFile();
  EXPECT_EQ(ReadSetting(file, L"Form", L"Left"), std::to_wstring(first.left));
  EXPECT_EQ(ReadSetting(file, L"Form", L"Top"), std::to_wstring(first.top));
  EXPECT_EQ(ReadSetting(file, L"Waku", L"Layer"), L"KESTRA");
  EXPECT_EQ(ReadSetting(file, L"Target", L"ProgId"), kBricscad);
  EXPECT_EQ(ReadSetting(file, L"Target", L"AppName"), L"BricsCAD");

  WriteSetting(file, L"Form", L"Left", L"99999");
  WriteSetting(file, L"Form", L"Top", L"-20");
  WriteSetting(file, L"Waku", L"Layer", L"枠 A");
  const PagerWindow& pager = StartPage();
  const RECT second = WindowRect(pager.Handle());
  EXPECT_EQ(second.right, GetSystemMetrics(SM_CXSCREEN)) << "the right edge should touch the screen's";
  EXPECT_EQ(second.top, 0);
  EXPECT_EQ(pager.Layer(), L"枠 A");
  ASSERT_TRUE(FPage->Close());
  EXPECT_EQ(ReadSetting(file, L"Form", L"Left"), std::to_wstring(second.left));
  EXPECT_EQ(ReadSetting(file, L"Waku", L"Layer"), L"枠 A");
}

// The block drawing opens with its view centre in the third sheet of its
// bottom row of block and polyline frames.
constexpr wchar_t kBlockPattern[] = L"図枠*,SHEET-[AB],FRAME-A#";
constexpr Frame kMirroredSheet{1000, 0, 1420, 297}, kLastSheet{1500, 0, 1920, 297};

class PageBlocksTest : public PageEndToEndTest, public testing::WithParamInterface<const wchar_t*> {};

TEST_P(PageBlocksTest, WithABlockPatternSheetsFramedByBlocksArePaged) {
  DispatchObject& cad = StartCad(GetParam(), {BlockDrawingPath()});
  WriteSetting(FFolder.SettingsFile(), L"Target", L"ProgId", GetParam());
  WriteSetting(FFolder.SettingsFile(), L"Waku", L"Blocks", kBlockPattern);
  const PagerWindow& pager = StartPage();
  pager.Click(kPagerButton1);
  ExpectPage(L"4 / 6", kMirroredSheet);
  EXPECT_EQ(CallsOf(cad, L"Entity.GetBoundingBox(&Empty, &Empty)"), 6u);
  pager.Click(kPagerButton3);
  ExpectPage(L"5 / 6", kLastSheet);
  ASSERT_TRUE(FPage->Close());
  EXPECT_EQ(ReadSetting(FFolder.SettingsFile(), L"Waku", L"Blocks"), kBlockPattern) << "kept, not written";
}

INSTANTIATE_TEST_SUITE_P(ZoomKinds, PageBlocksTest, testing::Values(kBricscad, L"AutoCAD.Application"));

TEST_F(PageEndToEndTest, WithoutABlockPatternGetMakesTodaysCallsAndFindsOnlyPolylines) {
  DispatchObject& cad = StartCad(kBricscad, {BlockDrawingPath()});
  const PagerWindow& pager = StartPage();
  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"2")) << testing::PrintToString(pager.Status());
  const std::vector<std::wstring> expected = PolylineGetJournal(2);
  ASSERT_TRUE(Eventually([&] { return SimJournal(cad).size() >= expected.size(); }));
  EXPECT_EQ(SimJournal(cad), expected);
}

// Wheel messages, keys and clicks, as the user gives them.

void PostWheel(HWND window, int delta) {
  PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), 0);
}

// A combination held by this process for the test's length.
class HeldHotKey {
 public:
  HeldHotKey(UINT modifiers, UINT key) : FHeld(RegisterHotKey(nullptr, 1, modifiers, key) != FALSE) {}
  HeldHotKey(const HeldHotKey&) = delete;
  HeldHotKey& operator=(const HeldHotKey&) = delete;
  ~HeldHotKey() {
    if (FHeld) UnregisterHotKey(nullptr, 1);
  }
  bool Held() const { return FHeld; }

 private:
  bool FHeld;
};

class PageDpiTest : public PageEndToEndTest, public testing::WithParamInterface<int> {};

// The widest line of the tooltip holding the pager's seven hints, shown or
// not; -1 when there is none.
int PagerTooltipMaxWidth(DWORD processId) {
  struct Search {
    DWORD processId;
    int width = -1;
  } search{processId};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64]{};
        GetClassNameW(window, name, 64);
        DWORD_PTR tools = 0;
        if (owner != s.processId || lstrcmpW(name, TOOLTIPS_CLASSW) != 0 ||
            !SendMessageTimeoutW(window, TTM_GETTOOLCOUNT, 0, 0, SMTO_NORMAL, 5000, &tools) || tools != 7)
          return TRUE;
        DWORD_PTR width = 0;
        if (SendMessageTimeoutW(window, TTM_GETMAXTIPWIDTH, 0, 0, SMTO_NORMAL, 5000, &width))
          s.width = static_cast<int>(width);
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.width;
}

// Also leaves pictures of the pager and the dialog for people to look at.
TEST_P(PageDpiTest, ThePagerClientAreaScalesWithTheScreen) {
  const int dpi = GetParam();
  const ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
  WriteFileBytes(FFolder.TargetListFile(), "BricsCAD\tBricscadApp.AcadApplication\r\nAutoCAD\tAutoCAD.Application\r\n");
  const PagerWindow& pager = StartPage();
  const SIZE client = ClientSize(pager.Handle());
  EXPECT_NEAR(client.cx, MulDiv(139, dpi, 96), 1);
  EXPECT_NEAR(client.cy, MulDiv(84, dpi, 96), 1);
  EXPECT_EQ(PagerTooltipMaxWidth(FPage->Id()), MulDiv(480, dpi, 96)) << "the tooltip's widest line";

  ParkPointer();
  const std::filesystem::path folder = ScreenshotFolder();
  const std::wstring suffix = L"-" + std::to_wstring(dpi) + L".png";
  EXPECT_NO_THROW(SaveWindowShot(pager.Handle(), (folder / (L"pager" + suffix)).wstring()));
  // The empty page menu: the item that says so, a separator, 設定... and
  // 印刷..., a separator and 一覧をコピー, 20 + 9 + 20 + 20 + 9 + 20 pixels
  // high at 96 dpi; Wine draws the menu's 3-pixel frame inside its client
  // area.
  HWND menu = OpenPageMenuFromStatus(pager);
  ASSERT_NE(menu, nullptr) << "no page menu";
  EXPECT_NEAR(ClientSize(menu).cy, 4 * MulDiv(20, dpi, 96) + 2 * MulDiv(9, dpi, 96) + 6, 3);
  EXPECT_NO_THROW(SaveWindowShot(menu, (folder / (L"page-menu-empty" + suffix)).wstring()));
  PressKeys({VK_ESCAPE});
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(menu); }));
  ParkPointer();
  HWND dialog = OpenTargetDialog();
  ASSERT_NE(dialog, nullptr);
  const SIZE dialogClient = ClientSize(dialog);
  EXPECT_NEAR(dialogClient.cx, MulDiv(315, dpi, 96), 1);
  EXPECT_NEAR(dialogClient.cy, MulDiv(307, dpi, 96), 1);
  ParkPointer();
  EXPECT_NO_THROW(SaveWindowShot(dialog, (folder / (L"dialog" + suffix)).wstring()));
  PostClick(GetDlgItem(dialog, kTargetButton2));
  EXPECT_TRUE(Eventually([&] { return HasExStyle(pager.Handle(), WS_EX_TOPMOST); }));
}

INSTANTIATE_TEST_SUITE_P(Screens, PageDpiTest, testing::Values(96, 144));

// Paging without the buttons: the wheel, the page menu, hot keys.

TEST_F(PageEndToEndTest, WheelNotchesStepThePagesLikeTheButtons) {
  DispatchObject& cad = StartCad(kBricscad);
  const PagerWindow& pager = StartPage();
  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"12")) << testing::PrintToString(pager.Status());

  PostWheel(pager.Handle(), -WHEEL_DELTA);
  ExpectPage(L"1 / 12", SamplePage(1));
  PostWheel(pager.Handle(), WHEEL_DELTA);
  ExpectPage(L"12 / 12", SamplePage(12));
  // Over the status field, and half notches over a button.
  PostWheel(pager.Control(kPagerEdit2), -WHEEL_DELTA);
  ExpectPage(L"1 / 12", SamplePage(1));
  PostWheel(pager.Control(kPagerButton2), -WHEEL_DELTA / 2);
  PostWheel(pager.Control(kPagerButton2), -WHEEL_DELTA / 2);
  ExpectPage(L"2 / 12", SamplePage(2));
  EXPECT_EQ(CallsOf(cad, kZoomWindow), 4u);
}

TEST_F(PageEndToEndTest, ChoosingAPageFromTheMenuZoomsToIt) {
  DispatchObject& cad = StartCad(kBricscad);
  const PagerWindow& pager = StartPage();
  // Before any Get, from the keyboard: the one item that says there are no pages.
  SetForegroundWindow(pager.Handle());
  ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == pager.Handle(); }));
  PressKeys({VK_SHIFT, VK_F10});
  HWND empty = FPage->WaitForWindow(L"#32768");
  ASSERT_NE(empty, nullptr) << "Shift+F10 opened no page menu";
  // Its item chooses nothing.
  PressKeys({VK_DOWN});
  PressKeys({VK_RETURN});
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(empty); })) << "the menu stays open";
  EXPECT_TRUE(SimJournal(cad).empty()) << "the empty menu asked the CAD";

  ShowViewAt(SamplePage(2).CentreX(), SamplePage(2).CentreY());
  pager.Click(kPagerButton1);
  ExpectPage(L"2 / 12", SamplePage(2));
  const size_t viewCentreReads = CallsOf(cad, L"Document.GetVariable");

  HWND menu = OpenPageMenuFromStatus(pager);
  ASSERT_NE(menu, nullptr) << "no page menu";
  EXPECT_NO_THROW(SaveWindowShot(menu, (ScreenshotFolder() / L"page-menu.png").wstring()));
  // Page 7: below the drawing's name, seven items down.
  for (int i = 0; i < 8; ++i) PressKeys({VK_DOWN});
  PressKeys({VK_RETURN});
  ExpectPage(L"7 / 12", SamplePage(7));
  EXPECT_EQ(CallsOf(cad, L"Document.GetVariable"), viewCentreReads) << "the menu read the view centre";
}

TEST_F(PageEndToEndTest, AHotKeyInTheSettingsStepsThePageWhileTheCadHasTheFocus) {
  WriteSetting(FFolder.SettingsFile(), L"Keys", L"Next", L"Ctrl+Alt+PageDown");
  DispatchObject& cad = StartCad(kBricscad);
  const PagerWindow& pager = StartPage();
  EXPECT_FALSE(HeldHotKey(MOD_CONTROL | MOD_ALT, VK_NEXT).Held()) << "page.exe does not hold its hot key";
  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"12")) << testing::PrintToString(pager.Status());

  const auto cadWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(GetValue(cad, L"HWND").ToInt64()));
  SetForegroundWindow(cadWindow);
  ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == cadWindow; }));
  PressKeys({VK_CONTROL, VK_MENU, VK_NEXT});
  ExpectPage(L"1 / 12", SamplePage(1));
  PressKeys({VK_CONTROL, VK_MENU, VK_NEXT});
  ExpectPage(L"2 / 12", SamplePage(2));
}

TEST_F(PageEndToEndTest, AHotKeyAnotherProgramHoldsIsReportedAndThePagerGoesOn) {
  const HeldHotKey held(MOD_CONTROL | MOD_ALT, VK_NEXT);
  ASSERT_TRUE(held.Held());
  WriteSetting(FFolder.SettingsFile(), L"Keys", L"Next", L"Ctrl+Alt+PageDown");
  WriteSetting(FFolder.SettingsFile(), L"Keys", L"Previous", L"Ctrl+Alt+PageUp");
  StartCad(kBricscad);
  const PagerWindow& pager = StartPage();

  HWND box = FPage->WaitForWindow(L"#32770", L"PAGE");
  ASSERT_NE(box, nullptr) << "the held hot key was not reported";
  EXPECT_EQ(RemoteTextOrEmpty(GetDlgItem(box, 0xFFFF)),
            L"ホットキー 'Ctrl+Alt+PageDown' を登録できません。ほかのプログラムが使っています.");
  PostClick(GetDlgItem(box, IDOK));
  ASSERT_TRUE(Eventually([&] { return !IsWindow(box); }));

  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"12"));
  PressKeys({VK_CONTROL, VK_MENU, VK_PRIOR});
  ExpectPage(L"1 / 12", SamplePage(1));
  EXPECT_EQ(FindProcessWindow(FPage->Id(), L"#32770", L"PAGE"), nullptr) << "reported more than once";
}

TEST_F(PageEndToEndTest, WithoutAKeysSectionNoHotKeyIsTaken) {
  StartPage();
  for (const UINT key : {VK_NEXT, VK_PRIOR, VK_HOME})
    EXPECT_TRUE(HeldHotKey(MOD_CONTROL | MOD_ALT, key).Held()) << "page.exe holds Ctrl+Alt+" << key;
}

// Sheets known by their title blocks.

void EmptyClipboard(HWND owner) {
  ASSERT_TRUE(OpenClipboard(owner));
  ::EmptyClipboard();
  CloseClipboard();
}

// The clipboard's Unicode text; empty when it holds none.
std::wstring ClipboardText() {
  if (!OpenClipboard(nullptr)) return {};
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Presses Ctrl+C in the pager and returns what it put on the clipboard.
std::wstring CopyWithCtrlC(const PagerWindow& pager) {
  EmptyClipboard(pager.Handle());
  SetForegroundWindow(pager.Handle());
  if (!Eventually([&] { return GetForegroundWindow() == pager.Handle(); })) return L"<the pager is not in front>";
  PressKeys({VK_CONTROL, 'C'});
  Eventually([&] { return !ClipboardText().empty(); });
  return ClipboardText();
}

void WriteNameSettings(const std::wstring& file, const std::vector<std::pair<const wchar_t*, std::wstring>>& keys) {
  for (const auto& [key, value] : keys) WriteSetting(file, L"Waku", key, value);
}

// A drawing framed by attributed title blocks, some of them dynamic
// references: every sheet is a page, the menu shows the names and its last
// item copies the list.
TEST_F(PageEndToEndTest, DynamicAttributedTitleBlocksArePagedWithTheirNamesInTheMenuAndTheList) {
  WriteNameSettings(FFolder.SettingsFile(), {{L"Blocks", L"図枠*,FRAME-A#"}, {L"Names", L"図番,図名,dwg-no"}});
  DispatchObject& cad = StartCad(kBricscad, {TitlesDrawingPath()});
  const PagerWindow& pager = StartPage();
  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"10 / 11")) << testing::PrintToString(pager.Status());
  EXPECT_GT(CallsOf(cad, L"Entity.EffectiveName"), 0u);

  EmptyClipboard(pager.Handle());
  ParkPointer();
  HWND menu = OpenPageMenuFromStatus(pager);
  ASSERT_NE(menu, nullptr) << "no page menu";
  EXPECT_NO_THROW(SaveWindowShot(menu, (ScreenshotFolder() / L"page-menu-names.png").wstring()));
  // Up from the top wraps to the last item, 一覧をコピー.
  PressKeys({VK_UP});
  PressKeys({VK_RETURN});
  ASSERT_TRUE(Eventually([&] { return !ClipboardText().empty(); })) << "nothing was copied";
  const std::wstring list = ClipboardText();
  EXPECT_TRUE(
      list.starts_with(L"ページ\t図番\t図名\tdwg-no\t左\t下\t右\t上\r\n1\t\t\t\t-8000\t234.25\t-7580\t531.25\r\n"))
      << ToUtf8(list);
  EXPECT_NE(list.find(L"\r\n4\ta-15\t10階平面図\t\t-7549.5\t1234.25\t-7339.5\t1531.25\r\n"), std::wstring::npos)
      << ToUtf8(list);
  EXPECT_TRUE(list.ends_with(L"\r\n11\tA-35\t\t\t-6648.5\t1684.75\t-6438.5\t1981.75\r\n")) << ToUtf8(list);
}

// Ctrl+C in the pager copies the list of the last Get, in name order.
TEST_F(PageEndToEndTest, CtrlCCopiesThePagesInNameOrder) {
  WriteNameSettings(FFolder.SettingsFile(), {{L"Blocks", L"図枠*"}, {L"Names", L"図番,図名"}, {L"Order", L"Names"}});
  DispatchObject& cad = StartCad(kBricscad, {TestDataPath("titles-own.dxf")});
  const PagerWindow& pager = StartPage();
  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"2 / 4")) << testing::PrintToString(pager.Status());
  // The status shows before the zoom.
  ASSERT_TRUE(Eventually([&] { return CallsOf(cad, kZoomWindow) == 1; }));
  const size_t calls = SimJournal(cad).size();

  EXPECT_EQ(CopyWithCtrlC(pager),
            L"ページ\t図番\t図名\t左\t下\t右\t上\r\n"
            L"1\tS-1\t配置図 (案)\t0\t400\t420\t697\r\n"
            L"2\tS-2\t二階平面図\t500\t0\t920\t297\r\n"
            L"3\tS-3\t\t1000\t0\t1420\t297\r\n"
            L"4\tS-10\t一階平面図\t0\t0\t420\t297\r\n");
  EXPECT_EQ(SimJournal(cad).size(), calls) << "copying asked the CAD";
}

// Polyline frames named by separate title blocks; an Order the pager does
// not know is reported once and the pages keep their reading order.
TEST_F(PageEndToEndTest, PolylineFramesTakeTheirNamesFromSeparateTitleBlocks) {
  WriteNameSettings(FFolder.SettingsFile(),
                    {{L"TitleBlocks", L"表題欄"}, {L"Names", L"Dwg-No,title"}, {L"Order", L"Name"}});
  DispatchObject& cad = StartCad(kBricscad, {TestDataPath("drawings/titles/titles-1-01.dxf")});
  const PagerWindow& pager = StartPage();
  HWND box = FPage->WaitForWindow(L"#32770", L"PAGE");
  ASSERT_NE(box, nullptr) << "the unknown Order was not reported";
  EXPECT_NE(RemoteTextOrEmpty(GetDlgItem(box, 0xFFFF)).find(L"'Name'"), std::wstring::npos);
  PostClick(GetDlgItem(box, IDOK));
  ASSERT_TRUE(Eventually([&] { return !IsWindow(box); }));

  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"2 / 4")) << testing::PrintToString(pager.Status());
  // The zoom that follows the status brings the CAD to the front.
  ASSERT_TRUE(Eventually([&] { return CallsOf(cad, kZoomWindow) == 1; }));
  EXPECT_EQ(CopyWithCtrlC(pager),
            L"ページ\tDwg-No\ttitle\t左\t下\t右\t上\r\n"
            L"1\tA-102\t平面図 (参考)\t-5000\t787.249\t-4406\t1207.249\r\n"
            L"2\tA-29\t配置図 (案)\t-4356\t787.25\t-3762\t1207.25\r\n"
            L"3\tA-91\tSECTION\t-3712\t777.25\t-3118\t1197.25\r\n"
            L"4\t\t\t-3068\t787.25\t-2474\t1207.25\r\n");
  EXPECT_EQ(FindProcessWindow(FPage->Id(), L"#32770", L"PAGE"), nullptr) << "reported more than once";
}

// A CAD that stops answering: simcad.exe sleeps in a member.

constexpr wchar_t kWaiting[] = L"待機中";
// Under Wine a cancelled call still waits for the CAD to answer.
constexpr int32_t kLongStall = 8000;

class PageWaitTest : public PageEndToEndTest {
 protected:
  // Page 2 shown, then a step whose view-centre read the CAD sleeps through.
  const PagerWindow& StepIntoAStall(int32_t milliseconds) {
    StartCad(kBricscad);
    const PagerWindow& pager = StartPage();
    ShowViewAt(SamplePage(2).CentreX(), SamplePage(2).CentreY());
    pager.Click(kPagerButton1);
    ExpectPage(L"2 / 12", SamplePage(2));
    SimCall(Cad(), L"SimStallOn", {Variant(L"GetVariable"), Variant(int32_t{1}), Variant(milliseconds)});
    SetForegroundWindow(pager.Handle());
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == pager.Handle(); }));
    pager.Click(kPagerButton3);
    EXPECT_TRUE(pager.WaitForStatus(kWaiting)) << testing::PrintToString(pager.Status());
    return pager;
  }
};

TEST_F(PageWaitTest, EscCancelsAStepTheCadDoesNotAnswerAndTheStatusStaysAsItWas) {
  const PagerWindow& pager = StepIntoAStall(kLongStall);
  ParkPointer();
  EXPECT_NO_THROW(SaveWindowShot(pager.Handle(), (ScreenshotFolder() / L"pager-waiting.png").wstring()));
  const auto pressed = std::chrono::steady_clock::now();
  PressKeys({VK_ESCAPE});
  ASSERT_TRUE(pager.WaitForStatus(L"2 / 12")) << testing::PrintToString(pager.Status());
  std::printf(
      "the status came back %lld ms after Esc, the CAD sleeping %d ms\n",
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - pressed).count()),
      kLongStall);
  EXPECT_EQ(CallsOf(Cad(), kZoomWindow), 1u) << "the cancelled step went on to zoom";
  EXPECT_EQ(SimJournal(Cad()).back(), L"Document.GetVariable(\"VIEWCTR\")");

  // The next step works as ever.
  pager.Click(kPagerButton3);
  ExpectPage(L"3 / 12", SamplePage(3));
}

TEST_F(PageWaitTest, AClosedPagerCancelsTheWaitingCallAndClosesSavingTheSettings) {
  StepIntoAStall(kLongStall);
  ASSERT_TRUE(FPage->Close()) << "the pager did not close";
  EXPECT_EQ(FPage->ExitCode(), 0u);
  EXPECT_EQ(ReadSetting(FFolder.SettingsFile(), L"Target", L"ProgId"), kBricscad);
  EXPECT_EQ(CallsOf(Cad(), kZoomWindow), 1u);
}

TEST_F(PageWaitTest, ClicksMadeDuringALongWaitAreNotReplayed) {
  const PagerWindow& pager = StepIntoAStall(4000);
  for (int click = 0; click < 3; ++click) ClickAt(pager.Control(kPagerButton3));
  ParkPointer();
  ExpectPage(L"3 / 12", SamplePage(3));
  // Replayed, the clicks would step on from page 3 at once.
  EXPECT_FALSE(Eventually([&] { return CallsOf(Cad(), kZoomWindow) > 2; }, std::chrono::seconds(3)))
      << "the clicks made during the wait were replayed";
  EXPECT_EQ(pager.Status(), L"3 / 12");
  pager.Click(kPagerButton3);
  ExpectPage(L"4 / 12", SamplePage(4));
  EXPECT_EQ(CallsOf(Cad(), kZoomWindow), 3u);
}

// Two drawings open in one CAD: the sample (active at start) and the
// block-framed one, whose two polyline frames are its pages here.
TEST_F(PageEndToEndTest, ThePagesFollowTheDrawingTheCadShows) {
  DispatchObject& cad = StartCad(kBricscad, {SampleDrawingPath(), BlockDrawingPath()});
  const PagerWindow& pager = StartPage();
  ShowViewAt(SamplePage(2).CentreX(), SamplePage(2).CentreY());
  pager.Click(kPagerButton1);
  ExpectPage(L"2 / 12", SamplePage(2));

  SimCall(cad, L"SimActivateDocument", {Variant(int32_t{1})});
  SimCall(cad, L"SimClearJournal");
  pager.Click(kPagerButton3);  // the other drawing has no pages yet: Get runs on it
  const std::wstring onOther = pager.WaitForStatusOtherThan(L"2 / 12");
  EXPECT_TRUE(onOther == L"2" || onOther.ends_with(L" / 2")) << testing::PrintToString(onOther);
  // A page's status comes before its zoom: the zoom done before the journal
  // is cleared.
  if (onOther != L"2") {
    EXPECT_TRUE(Eventually([&] { return CallsOf(cad, L"Application.ZoomWindow") == 1; }));
  }
  EXPECT_EQ(CallsOf(cad, L"SelectionSet.Select"), 1u);

  SimCall(cad, L"SimActivateDocument", {Variant(int32_t{0})});
  SimCall(cad, L"SimClearJournal");
  pager.Click(kPagerButton3);  // back on the sample: its kept pages, no selection
  ExpectPage(L"3 / 12", SamplePage(3));
  const std::vector<std::wstring> journal = SimJournal(cad);
  ASSERT_GE(journal.size(), 4u);
  EXPECT_EQ(std::vector<std::wstring>(journal.begin(), journal.begin() + 4),
            (std::vector<std::wstring>{L"Application.ActiveDocument()", L"Document.FullName()",
                                       L"Document.GetVariable(\"VIEWCTR\")", L"Application.HWND()"}));
  EXPECT_EQ(CallsOf(cad, L"SelectionSet."), 0u) << "the kept pages were selected again";

  HWND menu = OpenPageMenuFromStatus(pager);
  ASSERT_NE(menu, nullptr) << "no page menu";
  EXPECT_NO_THROW(SaveWindowShot(menu, (ScreenshotFolder() / L"page-menu-drawing.png").wstring()));
  PressKeys({VK_ESCAPE});
}

TEST_F(PageEndToEndTest, TheStatusTooltipTellsWhyGetFoundNoPage) {
  WriteSetting(FFolder.SettingsFile(), L"Waku", L"Layer", L"NOFRAMES");
  DispatchObject& cad = StartCad(kBricscad);
  const PagerWindow& pager = StartPage();
  pager.Click(kPagerButton1);
  ASSERT_TRUE(Eventually([&] { return CallsOf(cad, L"SelectionSet.Count") == 1; }));

  // Rested on the status: the pointer moved onto it, and moved a pixel now
  // and then until the tooltip shows, as a hand never quite rests.
  const RECT rect = WindowRect(pager.Control(kPagerEdit2));
  SetForegroundWindow(pager.Handle());
  ParkPointer();
  HWND tip = nullptr;
  int polls = 0;
  const bool shown = Eventually([&] {
    if (polls++ % 40 == 0) MovePointer((rect.left + rect.right) / 2 + polls / 40 % 2, (rect.top + rect.bottom) / 2);
    tip = FindProcessWindow(FPage->Id(), TOOLTIPS_CLASSW);
    return tip && RemoteTextOrEmpty(tip).find(L"NOFRAMES") != std::wstring::npos;
  });
  ASSERT_TRUE(shown) << "tooltip " << (tip ? testing::PrintToString(RemoteTextOrEmpty(tip)) : "not shown");
  EXPECT_EQ(RemoteTextOrEmpty(tip), L"ページ番号\n画層 NOFRAMES に枠が見つかりません\nダブルクリックで設定を開きます");
  RECT area = WindowRect(pager.Handle());
  const RECT tipRect = WindowRect(tip);
  UnionRect(&area, &area, &tipRect);
  InflateRect(&area, 8, 8);
  EXPECT_NO_THROW(SaveScreenShot(area, (ScreenshotFolder() / L"status-reason-tooltip.png").wstring()));
  ParkPointer();
}

TEST_F(PageEndToEndTest, ASecondStartFromTheSameFolderShowsTheFirstAndEnds) {
  const PagerWindow& pager = StartPage();
  PostMessageW(pager.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(Eventually([&] { return IsIconic(pager.Handle()) != FALSE; }));

  DWORD secondId = 0;
  const UniqueHandle second = StartPageProgram(FFolder.Program(), secondId);
  ASSERT_EQ(WaitForSingleObject(second.Get(), 20000), WAIT_OBJECT_0) << "the second page.exe keeps running";
  DWORD exitCode = 1;
  GetExitCodeProcess(second.Get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(Eventually([&] { return !IsIconic(pager.Handle()); })) << "the first pager stays minimized";
  EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == pager.Handle(); })) << "the first pager is not in front";
  EXPECT_FALSE(std::filesystem::exists(FFolder.SettingsFile())) << "the second start wrote page.ini";

  const PageProgramFolder otherFolder;
  PageProcess other(otherFolder.Program());
  EXPECT_TRUE(other.Running());
  EXPECT_TRUE(FPage->Running());
  EXPECT_TRUE(other.Close());
}

}  // namespace
