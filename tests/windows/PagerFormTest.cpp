#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "PagerTestSupport.h"
#include "cad/MessageFilter.h"
#include "cad/TargetCad.h"
#include "pages/Pages.h"
#include "pages/Waku.h"
#include "settings/WinAnsiCodePage.h"
#include "settings/WinFileSystem.h"
#include "sim/SimCad.h"
#include "ui/ControlIds.h"
#include "ui/PagerForm.h"
#include "ui/TargetCADForm.h"
#include "win/Dpi.h"
#include "win/Win32Api.h"
#include "win/Win32Controls.h"

namespace {

// Three sheets in a row; the view starts on the first.
sim::Drawing ThreeSheets() {
  sim::Drawing drawing;
  for (int col = 0; col < 3; ++col)
    drawing.entities.push_back(sim::Rectangle(L"KESTRA", 500.0 * col, 0, 500.0 * col + 420, 297));
  drawing.view = {210, 148.5, 420, 297};
  return drawing;
}

// The simulated CAD's object table, noting the cursor when a command asks
// whether the CAD runs.
class CursorRecordingObjects : public sim::SimObjectTable {
 public:
  HCURSOR cursorAtRunningCheck = nullptr;
  bool IsActive(const std::wstring& progId) override {
    cursorAtRunningCheck = GetCursor();
    return SimObjectTable::IsActive(progId);
  }
};

class PagerFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Pages.Clear();
    cad.Load(ThreeSheets());
    objects.Run(kDefaultProgId, cad);
  }
  void TearDown() override {
    if (dialog.Handle()) DestroyWindow(dialog.Handle());
    if (pager.Handle()) DestroyWindow(pager.Handle());
    // The pager ends the program when it goes; the next test must not see that.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  void Create() {
    ASSERT_TRUE(pager.Create(GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(dialog.Create(GetModuleHandleW(nullptr), pager.Handle()));
    pager.SetTargetCadForm(dialog);
  }
  // As page.exe shows it.
  void Show() const { ShowWindow(pager.Handle(), SW_SHOWNORMAL); }
  HWND Item(int id) const { return GetDlgItem(pager.Handle(), id); }
  void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  std::wstring Status() const { return WindowText(Item(kPagerEdit2)); }
  static bool Topmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

  MemoryProfile settings;
  sim::SimCad cad;
  CursorRecordingObjects objects;
  sim::SimWindowControl windows{cad};
  WinFileSystem files;
  WinAnsiCodePage ansi;
  TargetListFile targetList{L"C:\\page-tests-no-such-folder\\TargetCAD_APIVersion.txt", files, ansi};
  TForm105 pager{settings, CadAccess{objects, windows}};
  TTargetCADForm dialog{targetList};
};

struct ExpectedControl {
  int id;
  const wchar_t* windowClass;
  RECT bounds;  // left, top, right, bottom at 96 dpi
  const wchar_t* text;
  const wchar_t* hint;
};

constexpr std::array<ExpectedControl, 7> kExpected{{
    {kPagerButton1, L"Button", {55, 28, 98, 53}, L"取得", L"枠ポリラインを取得"},
    {kPagerEdit1, L"Edit", {55, 4, 135, 26}, L"KESTRA", L"枠ポリラインの画層"},
    {kPagerCheckBox1, L"Button", {7, 5, 49, 22}, L"左上", L"左上から枠を検出"},
    {kPagerButton2, L"Button", {4, 56, 68, 81}, L"<", L"直前のページ"},
    {kPagerButton3, L"Button", {71, 56, 135, 81}, L">", L"次のページ"},
    {kPagerEdit2, L"Edit", {4, 32, 53, 56}, L"", L"ページ番号"},
    {kPagerButton4, L"Button", {101, 28, 135, 53}, L"CAD", L"ターゲットCADを変更"},
}};

HWND TooltipOf(HWND owner) {
  struct Search {
    HWND owner, found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) {
        auto& search = *reinterpret_cast<Search*>(data);
        wchar_t name[64]{};
        GetClassNameW(window, name, 64);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        if (lstrcmpW(name, TOOLTIPS_CLASSW) == 0 &&
            SendMessageW(window, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)) && tool.hwnd == search.owner)
          search.found = window;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring HintOf(HWND tooltip, HWND control) {
  wchar_t text[128]{};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST_F(PagerFormTest, IsTheDesignedTopmostToolWindow) {
  Create();
  HWND window = pager.Handle();
  EXPECT_EQ(WindowText(window), L"PAGE [BricsCAD]");
  EXPECT_FALSE(IsWindowVisible(window));
  const auto exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));

  const UINT dpi = DpiForWindow(window);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, ScaleForDpi(139, dpi));
  EXPECT_EQ(client.bottom, ScaleForDpi(84, dpi));

  HWND tooltip = TooltipOf(window);
  ASSERT_NE(tooltip, nullptr);
  for (const ExpectedControl& expected : kExpected) {
    SCOPED_TRACE(expected.id);
    HWND control = Item(expected.id);
    ASSERT_NE(control, nullptr);
    wchar_t name[32]{};
    GetClassNameW(control, name, 32);
    EXPECT_STREQ(name, expected.windowClass);
    EXPECT_EQ(WindowText(control), expected.text);
    EXPECT_EQ(HintOf(tooltip, control), expected.hint);
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.left, ScaleForDpi(expected.bounds.left, dpi));
    EXPECT_EQ(bounds.top, ScaleForDpi(expected.bounds.top, dpi));
    EXPECT_EQ(bounds.right - bounds.left, ScaleForDpi(expected.bounds.right - expected.bounds.left, dpi));
    EXPECT_EQ(bounds.bottom - bounds.top, ScaleForDpi(expected.bounds.bottom - expected.bounds.top, dpi));
  }
  EXPECT_FALSE(pager.UpperLeft());
  for (int edit : {kPagerEdit1, kPagerEdit2}) EXPECT_TRUE(GetWindowLongPtrW(Item(edit), GWL_STYLE) & ES_READONLY);
  const auto statusStyle = GetWindowLongPtrW(Item(kPagerEdit2), GWL_STYLE);
  EXPECT_TRUE(statusStyle & ES_CENTER);
  EXPECT_FALSE(statusStyle & WS_TABSTOP);
}

TEST_F(PagerFormTest, BothFieldsCloseTheInputMethodWhenTheyGetTheFocus) {
  Create();
  Show();
  for (int edit : {kPagerEdit1, kPagerEdit2})
    EXPECT_TRUE(FocusClosesTheInputMethod(Item(edit), Item(kPagerButton1))) << "field " << edit;
}

TEST_F(PagerFormTest, TabVisitsTheControlsInTheirOrderAndSkipsTheStatus) {
  Create();
  const int order[] = {kPagerButton1, kPagerEdit1,   kPagerCheckBox1, kPagerButton2,
                       kPagerButton3, kPagerButton4, kPagerButton1};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(pager.Handle(), Item(order[i]), FALSE)), order[i + 1])
        << "after " << order[i];
  }
}

TEST_F(PagerFormTest, SettingsAreReadAtCreationAndAllWrittenAtDestruction) {
  settings.values = {{L"Form/Left", L"-50"},
                     {L"Form/Top", L"40"},
                     {L"Waku/Layer", L"FRAME 2"},
                     {L"Target/ProgId", L"GCAD.Application"},
                     {L"Target/AppName", L"GstarCAD"}};
  Create();
  EXPECT_EQ(WindowText(pager.Handle()), L"PAGE [GstarCAD]");
  EXPECT_EQ(pager.LayerName(), L"FRAME 2");
  EXPECT_EQ(TargetProgId, L"GCAD.Application");
  EXPECT_EQ(pager.Origin(), (WindowOrigin{0, 40}));
  EXPECT_NE(MessageFilter, nullptr);

  SetWindowPos(pager.Handle(), nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  TargetAppName = L"Changed";
  settings.values.clear();
  DestroyWindow(pager.Handle());
  EXPECT_EQ(settings.values, (std::map<std::wstring, std::wstring>{{L"Form/Left", L"120"},
                                                                   {L"Form/Top", L"80"},
                                                                   {L"Waku/Layer", L"FRAME 2"},
                                                                   {L"Target/ProgId", L"GCAD.Application"},
                                                                   {L"Target/AppName", L"Changed"}}));
  EXPECT_EQ(MessageFilter, nullptr) << "the filter was not revoked";
}

TEST_F(PagerFormTest, ASettingsFileThatCannotBeWrittenAtCloseIsReportedAndTheFilterStays) {
  Create();
  settings.values.clear();
  settings.unwritableKey = L"Waku/Layer";
  std::wstring message;
  HICON icon = nullptr;
  ModalWatcher watcher(L"#32770", L"PAGE", [&](HWND box) {
    message = ChildTexts(box, L"Static");
    icon = MessageBoxIcon(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  DestroyWindow(pager.Handle());
  ASSERT_TRUE(watcher.Found()) << "no message box titled PAGE";
  EXPECT_TRUE(message.ends_with(L"C:\\page\\page.ini に書き込めません.")) << message;
  EXPECT_EQ(icon, LoadIconW(nullptr, IDI_HAND)) << "not the stop icon";
  std::vector<std::wstring> written;
  for (const auto& entry : settings.values) written.push_back(entry.first);
  EXPECT_EQ(written, (std::vector<std::wstring>{L"Form/Left", L"Form/Top"})) << "the keys after the layer were written";
  EXPECT_NE(MessageFilter, nullptr) << "the filter was revoked";
}

TEST_F(PagerFormTest, GetShowsTheWaitCursorWhileItRunsAndTheStatusAtOnce) {
  Create();
  Show();
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  SetCursor(arrow);
  Click(kPagerButton1);
  EXPECT_EQ(objects.cursorAtRunningCheck, LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(GetCursor(), arrow) << "the cursor before Get is not back";
  EXPECT_EQ(Status(), L"1 / 3");

  UpdateWindow(pager.Handle());
  pager.SetPageStatus(L"250");
  EXPECT_FALSE(GetUpdateRect(Item(kPagerEdit2), nullptr, FALSE)) << "the status waits for a paint message";
}

TEST_F(PagerFormTest, TheLayerHintNamesTheBlockPatternOnASecondLine) {
  settings.values = {{L"Waku/Blocks", L"図枠*,FRAME-A#"}};
  Create();
  EXPECT_EQ(pager.BlockPattern(), L"図枠*,FRAME-A#");
  EXPECT_EQ(HintOf(TooltipOf(pager.Handle()), Item(kPagerEdit1)), L"枠ポリラインの画層\n枠ブロック: 図枠*,FRAME-A#");
}

TEST_F(PagerFormTest, ButtonsAndCheckBoxRunThePageCommands) {
  Create();
  Click(kPagerButton1);
  EXPECT_EQ(Status(), L"1 / 3");
  Click(kPagerButton3);
  EXPECT_EQ(Status(), L"2 / 3");
  Click(kPagerButton3);
  Click(kPagerButton3);
  EXPECT_EQ(Status(), L"1 / 3") << "Next wraps around";
  Click(kPagerButton2);
  EXPECT_EQ(Status(), L"3 / 3") << "Previous wraps around";

  for (bool checked : {true, false}) {
    SetText(Item(kPagerEdit2), L"");
    Click(kPagerCheckBox1);
    EXPECT_EQ(pager.UpperLeft(), checked);
    EXPECT_EQ(Status(), L"3 / 3") << "Get did not run on the click";
  }
}

TEST_F(PagerFormTest, HotKeysDoNothingWhileThePagerIsDisabled) {
  settings.values = {{L"Keys/Next", L"Ctrl+Alt+Shift+F13"}, {L"Keys/Previous", L"Ctrl+Alt+Shift+F14"}};
  Create();
  Click(kPagerButton1);
  ASSERT_EQ(Status(), L"1 / 3");
  const auto pressAll = [this] {
    for (WPARAM id = 1; id <= 3; ++id) SendMessageW(pager.Handle(), WM_HOTKEY, id, 0);
  };
  // As while the target dialog or a message box is open.
  EnableWindow(pager.Handle(), FALSE);
  cad.ClearJournal();
  pressAll();
  EXPECT_TRUE(cad.Journal().empty());
  EXPECT_EQ(Status(), L"1 / 3");
  EnableWindow(pager.Handle(), TRUE);
  pressAll();
  EXPECT_FALSE(cad.Journal().empty()) << "no hot key ran a command";
}

TEST_F(PagerFormTest, AnUnregisteredTargetIsReportedByGetAndTheWindowStays) {
  Create();
  TargetProgId = L"No.Such.Cad";
  std::wstring message;
  int buttons = 0;
  ModalWatcher watcher(L"#32770", L"PAGE", [&](HWND box) {
    message = ChildTexts(box, L"Static");
    buttons = ChildCount(box, L"Button");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  Click(kPagerButton1);
  ASSERT_TRUE(watcher.Found()) << "no message box titled PAGE";
  // The text ends in ")", which is below ".": no full stop is added.
  EXPECT_TRUE(message.ends_with(L"無効なクラス文字列です (No.Such.Cad)")) << message;
  EXPECT_EQ(buttons, 1);
  EXPECT_TRUE(IsWindow(pager.Handle()));
  EXPECT_EQ(Status(), L"");
}

struct TargetChange {
  bool pagerTopmost = true, dialogTopmost = false, pagerEnabled = true;
};

TEST_F(PagerFormTest, TheCadButtonTakesTheDialogsFieldsOnOkAndKeepsTheTopmostBand) {
  Create();
  Show();
  CurrentProgId.clear();
  TargetChange during;
  ModalWatcher watcher(kTargetCadWindowClass, nullptr, [&](HWND shown) {
    during.pagerTopmost = Topmost(pager.Handle());
    during.dialogTopmost = Topmost(shown);
    during.pagerEnabled = IsWindowEnabled(pager.Handle());
    SendMessageW(GetDlgItem(shown, kTargetEdit1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"GstarCAD 2024"));
    SendMessageW(GetDlgItem(shown, kTargetEdit2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"GCAD.Application.24"));
    PostMessageW(GetDlgItem(shown, kTargetButton1), BM_CLICK, 0, 0);
  });
  Click(kPagerButton4);
  ASSERT_TRUE(watcher.Found());
  EXPECT_FALSE(during.pagerTopmost);
  EXPECT_TRUE(during.dialogTopmost);
  EXPECT_FALSE(during.pagerEnabled);
  EXPECT_EQ(CurrentProgId, kDefaultProgId);

  EXPECT_EQ(TargetProgId, L"GCAD.Application.24");
  EXPECT_EQ(TargetAppName, L"GstarCAD 2024");
  EXPECT_EQ(WindowText(pager.Handle()), L"PAGE [GstarCAD 2024]");
  EXPECT_TRUE(Topmost(pager.Handle()));
  EXPECT_TRUE(IsWindowEnabled(pager.Handle()));
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
}

TEST_F(PagerFormTest, CancelInTheDialogKeepsTheTarget) {
  Create();
  Show();
  ModalWatcher watcher(kTargetCadWindowClass, nullptr, [&](HWND shown) {
    SendMessageW(GetDlgItem(shown, kTargetEdit2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Other.Application"));
    PostMessageW(GetDlgItem(shown, kTargetButton2), BM_CLICK, 0, 0);
  });
  Click(kPagerButton4);
  ASSERT_TRUE(watcher.Found());
  EXPECT_EQ(TargetProgId, kDefaultProgId);
  EXPECT_EQ(WindowText(pager.Handle()), L"PAGE [BricsCAD]");
  EXPECT_TRUE(Topmost(pager.Handle()));
}

}  // namespace
