#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "PagerTestSupport.h"
#include "settings/WinAnsiCodePage.h"
#include "settings/WinFileSystem.h"
#include "ui/ControlIds.h"
#include "ui/TargetCADForm.h"
#include "win/Dpi.h"

namespace {

std::filesystem::path TestFolder() {
  return std::filesystem::temp_directory_path() / ("page-dialog-" + std::to_string(GetCurrentProcessId()));
}

class TargetCadFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), nullptr));
  }
  void TearDown() override {
    if (form.Handle()) DestroyWindow(form.Handle());
    std::filesystem::remove_all(folder);
  }

  HWND Item(int id) const { return GetDlgItem(form.Handle(), id); }
  void WriteListFile(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
  std::string ListFile() const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Shows the dialog modally; a watcher looks at it, then presses Cancel.
  int ShowAndCancel(const std::function<void(HWND)>& inspect) {
    ModalWatcher watcher(kTargetCadWindowClass, nullptr, [&](HWND shown) {
      inspect(shown);
      PostMessageW(GetDlgItem(shown, kTargetButton2), BM_CLICK, 0, 0);
    });
    return form.ShowModal();
  }

  const std::filesystem::path folder = TestFolder();
  const std::filesystem::path path = folder / "TargetCAD_APIVersion.txt";
  WinFileSystem files;
  WinAnsiCodePage ansi;
  TargetListFile list{path.wstring(), files, ansi};
  TTargetCADForm form{list};
};

TEST_F(TargetCadFormTest, HasTheDesignedSizeCaptionAndTabOrder) {
  EXPECT_EQ(WindowText(form.Handle()), L"ターゲット CAD");
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  const UINT dpi = DpiForWindow(form.Handle());
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, ScaleForDpi(315, dpi));
  EXPECT_EQ(client.bottom, ScaleForDpi(307, dpi));
  EXPECT_EQ(WindowText(Item(kTargetLabel1)), L"名称 （説明）");
  EXPECT_EQ(WindowText(Item(kTargetLabel2)), L"ProgID （クラス文字列）");
  EXPECT_EQ(WindowText(Item(kTargetButton2)), L"取り消し");

  // Edit1 sits at (16, 23) inside the group box at (8, 151).
  RECT edit;
  GetWindowRect(Item(kTargetEdit1), &edit);
  MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&edit), 2);
  EXPECT_EQ(edit.left, ScaleForDpi(24, dpi));
  EXPECT_EQ(edit.top, ScaleForDpi(174, dpi));

  const int order[] = {kTargetListBox1, kTargetButton1, kTargetButton2, kTargetEdit1, kTargetEdit2, kTargetListBox1};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(form.Handle(), Item(order[i]), FALSE)), order[i + 1])
        << "after " << order[i];
  }
}

TEST_F(TargetCadFormTest, TheListBoxSortsAndReplacesInPlace) {
  SortedListBox& rows = form.ListBox1();
  EXPECT_EQ(rows.AddSorted(L"b\tB.App"), 0);
  EXPECT_EQ(rows.AddSorted(L"a\tA.App"), 0);
  EXPECT_EQ(rows.AddSorted(L"c\tC.App"), 2);
  rows.Select(2);
  rows.Replace(2, L"0\tZero.App");
  EXPECT_EQ(rows.Row(2), L"0\tZero.App") << "moved to its sorted place";
  EXPECT_EQ(rows.SelectedIndex(), 2);
  try {
    rows.Row(-1);
    ADD_FAILURE() << "row -1 was read";
  } catch (const std::out_of_range& error) {
    EXPECT_STREQ(error.what(), "リストのインデックスが範囲を超えています (-1)");
  }
}

TEST_F(TargetCadFormTest, EnterInTheProgIdFieldChangesTheRowAndWritesTheFile) {
  form.ListBox1().AddSorted(L"BricsCAD\tBricscadApp.AcadApplication");
  form.ListBox1().Select(0);
  form.SetEdit1Text(L"BricsCAD V24");
  form.SetEdit2Text(L"BricscadApp.AcadApplication.24.0");

  MSG enter{Item(kTargetEdit2), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(SendMessageW(Item(kTargetEdit2), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
              DLGC_WANTMESSAGE)
      << "the dialog would take Enter from the field";
  SendMessageW(Item(kTargetEdit2), WM_CHAR, L'\r', 0);

  EXPECT_EQ(form.ListBox1().Row(0), L"BricsCAD V24\tBricscadApp.AcadApplication.24.0");
  EXPECT_EQ(ListFile(), "BricsCAD V24\tBricscadApp.AcadApplication.24.0\r\n");
  EXPECT_EQ(form.Edit2Text(), L"BricscadApp.AcadApplication.24.0") << "the Enter reached the field";
}

TEST_F(TargetCadFormTest, SpeedButtonsWorkWithoutTakingTheFocus) {
  ShowWindow(form.Handle(), SW_SHOW);
  SetForegroundWindow(form.Handle());
  SetFocus(Item(kTargetEdit1));
  ASSERT_EQ(GetFocus(), Item(kTargetEdit1));
  form.SetEdit1Text(L"GstarCAD");
  form.SetEdit2Text(L"GCAD.Application");

  HWND add = Item(kTargetSpeedButton1);
  EXPECT_FALSE(GetWindowLongPtrW(add, GWL_STYLE) & WS_TABSTOP);
  SendMessageW(add, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(add, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(GetFocus(), Item(kTargetEdit1));
  ASSERT_EQ(form.ListBox1().Count(), 1) << "Add did not run";
  EXPECT_EQ(ListFile(), "GstarCAD\tGCAD.Application\r\n");

  // Released outside the button: no click.
  SendMessageW(add, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(add, WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
  EXPECT_EQ(form.ListBox1().Count(), 1);
  ShowWindow(form.Handle(), SW_HIDE);
}

TEST_F(TargetCadFormTest, ShowingReadsTheFilePreselectsTheTargetAndOpensCentredOnlyTheFirstTime) {
  WriteListFile("GstarCAD\tGCAD.Application\r\nBricsCAD\tBricscadApp.AcadApplication.24\r\n");
  CurrentProgId = L"BricscadApp.AcadApplication";
  RECT first{};
  std::wstring name, progId;
  EXPECT_EQ(ShowAndCancel([&](HWND shown) {
              GetWindowRect(shown, &first);
              name = WindowText(GetDlgItem(shown, kTargetEdit1));
              progId = WindowText(GetDlgItem(shown, kTargetEdit2));
            }),
            IDCANCEL);
  EXPECT_EQ(name, L"BricsCAD");
  EXPECT_EQ(progId, L"BricscadApp.AcadApplication.24");
  EXPECT_EQ(form.ListBox1().SelectedIndex(), 0);

  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  EXPECT_LE(std::abs((first.left + first.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((first.top + first.bottom) - (work.top + work.bottom)), 1);

  SetWindowPos(form.Handle(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT second{};
  ShowAndCancel([&](HWND shown) { GetWindowRect(shown, &second); });
  EXPECT_EQ(second.left, 10);
  EXPECT_EQ(second.top, 20);
}

}  // namespace
