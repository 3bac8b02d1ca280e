// The target CAD dialog as the user drives it: shown modally over an owner
// standing for the pager, with clicks, keys and list selections arriving
// as window messages while its own modal loop runs, and the target list
// file's bytes checked after every action.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <utility>
#include <vector>

#include "PagerTestSupport.h"
#include "TestFiles.h"
#include "common/Unicode.h"
#include "settings/ProgramFiles.h"
#include "settings/WinAnsiCodePage.h"
#include "settings/WinFileSystem.h"
#include "ui/ControlIds.h"
#include "ui/TargetCADForm.h"

namespace {

using Rows = std::vector<std::wstring>;

// Runs steps from a thread timer inside the dialog's modal loop. A timer
// message comes only when the queue holds no posted message, so each step
// sees what the keys posted by the step before have done. A message box
// shown from a step is recorded and closed.
class ModalScript {
 public:
  using Step = std::function<void()>;

  int Run(TTargetCADForm& form, std::vector<Step> steps) {
    FForm = &form;
    FSteps = std::move(steps);
    FNext = 0;
    Running = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &ModalScript::Tick);
    const int result = form.ShowModal();
    KillTimer(nullptr, timer);
    Running = nullptr;
    EXPECT_EQ(FNext, FSteps.size()) << "the dialog closed with " << result << " before every step had run";
    return result;
  }

  // The texts of the message boxes seen so far, each "title: texts".
  std::vector<std::wstring> TakeMessageBoxes() { return std::exchange(FMessageBoxes, {}); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (Running) Running->NextStep();
  }

  void NextStep() {
    if (HWND box = ThreadMessageBox()) {
      FMessageBoxes.push_back(WindowText(box) + L": " + ChildTexts(box, L"Static"));
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return;
    }
    if (FInStep) return;
    if (FNext == FSteps.size()) {
      ADD_FAILURE() << "the dialog stayed open after the last step";
      PostMessageW(FForm->Handle(), WM_CLOSE, 0, 0);
      return;
    }
    FInStep = true;
    FSteps[FNext++]();
    FInStep = false;
  }

  static HWND ThreadMessageBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
          wchar_t name[16]{};
          GetClassNameW(window, name, 16);
          if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
          *reinterpret_cast<HWND*>(data) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }

  static inline ModalScript* Running = nullptr;
  TTargetCADForm* FForm = nullptr;
  std::vector<Step> FSteps;
  size_t FNext = 0;
  bool FInStep = false;
  std::vector<std::wstring> FMessageBoxes;
};

// Stands for the pager window, which the dialog disables while it is shown.
class OwnerWindow {
 public:
  OwnerWindow()
      : FHandle(CreateWindowExW(0, L"STATIC", L"PAGE", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 200, 80, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  ~OwnerWindow() { DestroyWindow(FHandle); }

  HWND Handle() const { return FHandle; }

 private:
  HWND FHandle;
};

struct Fields {
  std::wstring name;
  std::wstring progId;
  friend bool operator==(const Fields&, const Fields&) = default;
};

void PrintTo(const Fields& fields, std::ostream* out) {
  *out << "{\"" << ToUtf8(fields.name) << "\", \"" << ToUtf8(fields.progId) << "\"}";
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";

class TargetCADFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner.Handle());
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), owner.Handle()));
  }
  void TearDown() override { EXPECT_EQ(script.TakeMessageBoxes(), std::vector<std::wstring>{}); }

  int Show(const std::wstring& currentProgId, std::vector<ModalScript::Step> steps) {
    CurrentProgId = currentProgId;
    return script.Run(form, std::move(steps));
  }

  HWND Item(int id) const { return GetDlgItem(form.Handle(), id); }
  void Type(int edit, const std::wstring& text) const { SetWindowTextW(Item(edit), text.c_str()); }
  void Click(int button) const { SendMessageW(Item(button), BM_CLICK, 0, 0); }
  // As a click on a row does: the selection moves, then the list notifies.
  void ClickRow(int index) const {
    HWND list = Item(kTargetListBox1);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(kTargetListBox1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
  // Through the modal loop, as a key press arrives.
  void PressKey(int control, UINT key) const { PostMessageW(Item(control), WM_KEYDOWN, key, 1); }

  Rows ListRows() const {
    HWND list = Item(kTargetListBox1);
    Rows rows;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::wstring row(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      row.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()))));
      rows.push_back(row);
    }
    return rows;
  }
  int SelectedRow() const { return static_cast<int>(SendMessageW(Item(kTargetListBox1), LB_GETCURSEL, 0, 0)); }
  Fields ShownFields() const { return {WindowText(Item(kTargetEdit1)), WindowText(Item(kTargetEdit2))}; }
  std::string ListFile() const { return FileBytes(listPath); }

  TestFolder folder;
  const std::wstring listPath = TargetListFilePath(folder.File(L"page.exe"));
  WinFileSystem files;
  WinAnsiCodePage ansi;
  TargetListFile list{listPath, files, ansi};
  OwnerWindow owner;
  TTargetCADForm form{list};
  ModalScript script;
};

TEST_F(TargetCADFormTest, EveryShowingReadsTheFileAndPreselectsTheFirstRowWithTabAndTheCurrentProgId) {
  const std::string file =
      "BricsCAD V24\tBricscadApp.AcadApplication.24.0\r\n"
      "A BricscadApp.AcadApplication\tOther.App\r\n"
      "BricsCAD V23\tBricscadApp.AcadApplication.23.0\r\n";
  WriteFileBytes(listPath, file);
  const int result = Show(L"BricscadApp.AcadApplication", {[&] {
                            EXPECT_FALSE(IsWindowEnabled(owner.Handle())) << "the pager stays usable";
                            EXPECT_EQ(ListRows(), (Rows{L"A BricscadApp.AcadApplication\tOther.App",
                                                        L"BricsCAD V23\tBricscadApp.AcadApplication.23.0",
                                                        L"BricsCAD V24\tBricscadApp.AcadApplication.24.0"}));
                            EXPECT_EQ(SelectedRow(), 1);
                            EXPECT_EQ(ShownFields(), (Fields{L"BricsCAD V23", L"BricscadApp.AcadApplication.23.0"}));
                            EXPECT_EQ(WindowText(Item(kTargetSpeedButton1)), L"追加");
                            EXPECT_EQ(WindowText(Item(kTargetSpeedButton2)), L"削除");
                            EXPECT_EQ(WindowText(Item(kTargetSpeedButton3)), L"変更");
                            EXPECT_EQ(WindowText(Item(kTargetButton1)), L"OK");
                            Click(kTargetButton2);
                          }});
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(ListFile(), file) << "Cancel writes nothing";

  WriteFileBytes(listPath, "GstarCAD\tGCAD.Application\r\n");
  Show(L"GCAD.Application", {[&] {
         EXPECT_EQ(ListRows(), (Rows{L"GstarCAD\tGCAD.Application"}));
         EXPECT_EQ(ShownFields(), (Fields{L"GstarCAD", L"GCAD.Application"}));
         Click(kTargetButton2);
       }});
}

TEST_F(TargetCADFormTest, ClickingOrArrowingToARowShowsItInTheFields) {
  WriteFileBytes(listPath, "A\tA.App\r\nB\tB.App\r\nC\tC.App\r\n");
  Show(L"A.App", {[&] {
                    ClickRow(2);
                    EXPECT_EQ(ShownFields(), (Fields{L"C", L"C.App"}));
                    PressKey(kTargetListBox1, VK_UP);
                  },
                  [&] {
                    EXPECT_EQ(SelectedRow(), 1);
                    EXPECT_EQ(ShownFields(), (Fields{L"B", L"B.App"}));
                    Click(kTargetButton2);
                  }});
}

TEST_F(TargetCADFormTest, AddSortsTheRowInSelectsItAndCreatesOrRewritesTheFileInAnsi) {
  Show(L"", {[&] {
         Type(kTargetEdit1, L"図面CAD");
         Type(kTargetEdit2, L"Zumen.Application");
         Click(kTargetSpeedButton1);
         EXPECT_EQ(ListFile(),
                   "\x90\x7D\x96\xCA"
                   "CAD\tZumen.Application\r\n");

         Type(kTargetEdit1, L"Alpha");
         Type(kTargetEdit2, L"Alpha.App");
         Click(kTargetSpeedButton1);
         EXPECT_EQ(ListRows(), (Rows{L"Alpha\tAlpha.App", L"図面CAD\tZumen.Application"}));
         EXPECT_EQ(SelectedRow(), 0);
         EXPECT_EQ(ShownFields(), (Fields{L"Alpha", L"Alpha.App"}));
         EXPECT_EQ(ListFile(),
                   "Alpha\tAlpha.App\r\n\x90\x7D\x96\xCA"
                   "CAD\tZumen.Application\r\n");
         Click(kTargetButton2);
       }});
}

TEST_F(TargetCADFormTest, DeleteSelectsTheRowThatMovedUpThenTheOneBeforeThenNothing) {
  WriteFileBytes(listPath, kUtf8Mark + "A\tA.App\r\nB\tB.App\r\nC\tC.App\r\nD\tD.App\r\n");
  Show(L"B.App", {[&] {
         ASSERT_EQ(SelectedRow(), 1);
         Click(kTargetSpeedButton2);
         EXPECT_EQ(SelectedRow(), 1);
         EXPECT_EQ(ShownFields(), (Fields{L"C", L"C.App"}));
         EXPECT_EQ(ListFile(), kUtf8Mark + "A\tA.App\r\nC\tC.App\r\nD\tD.App\r\n");

         Click(kTargetSpeedButton2);
         EXPECT_EQ(SelectedRow(), 0) << "deleting the second-to-last row selects the row before";
         EXPECT_EQ(ShownFields(), (Fields{L"A", L"A.App"}));
         EXPECT_EQ(ListFile(), kUtf8Mark + "A\tA.App\r\nD\tD.App\r\n");

         Click(kTargetSpeedButton2);
         EXPECT_EQ(SelectedRow(), -1) << "deleting the first of two rows selects nothing";
         EXPECT_EQ(ShownFields(), (Fields{L"", L""}));
         EXPECT_EQ(ListFile(), kUtf8Mark + "D\tD.App\r\n");

         ClickRow(0);
         Click(kTargetSpeedButton2);
         EXPECT_EQ(ListRows(), Rows{});
         EXPECT_EQ(ShownFields(), (Fields{L"", L""}));
         EXPECT_EQ(ListFile(), kUtf8Mark) << "no rows, the mark stays";
         Click(kTargetButton2);
       }});
}

TEST_F(TargetCADFormTest, ChangeAndEnterInEitherFieldReplaceTheSelectedRowInPlace) {
  WriteFileBytes(listPath, "A\tA.App\r\nB\tB.App\r\nC\tC.App\r\n");
  const int result = Show(L"A.App", {[&] {
                                       Type(kTargetEdit1, L"Z");
                                       Type(kTargetEdit2, L"Z.App");
                                       Click(kTargetSpeedButton3);
                                       EXPECT_EQ(ListRows(), (Rows{L"Z\tZ.App", L"B\tB.App", L"C\tC.App"}));
                                       EXPECT_EQ(SelectedRow(), 0);
                                       EXPECT_EQ(ListFile(), "Z\tZ.App\r\nB\tB.App\r\nC\tC.App\r\n");

                                       ClickRow(1);
                                       Type(kTargetEdit2, L"B2.App");
                                       ASSERT_EQ(GetActiveWindow(), form.Handle()) << "Enter would miss the dialog";
                                       PressKey(kTargetEdit2, VK_RETURN);
                                     },
                                     [&] {
                                       EXPECT_EQ(ListFile(), "Z\tZ.App\r\nB\tB2.App\r\nC\tC.App\r\n");
                                       EXPECT_EQ(ShownFields(), (Fields{L"B", L"B2.App"})) << "Enter typed nothing";
                                       ClickRow(2);
                                       Type(kTargetEdit1, L"C2");
                                       PressKey(kTargetEdit1, VK_RETURN);
                                     },
                                     [&] {
                                       EXPECT_EQ(ListRows(), (Rows{L"Z\tZ.App", L"B\tB2.App", L"C2\tC.App"}));
                                       EXPECT_EQ(SelectedRow(), 2);
                                       EXPECT_EQ(ListFile(), "Z\tZ.App\r\nB\tB2.App\r\nC2\tC.App\r\n");
                                       Click(kTargetButton1);
                                     }});
  EXPECT_EQ(result, IDOK);
}

TEST_F(TargetCADFormTest, DeleteChangeAndEnterWithNothingSelectedChangeNothing) {
  // Unsorted, with LF ends: any rewrite would show.
  const std::string file = "B\tB.App\nA\tA.App\n";
  WriteFileBytes(listPath, file);
  Show(L"No.Match", {[&] {
                       ASSERT_EQ(SelectedRow(), -1);
                       Type(kTargetEdit1, L"typed");
                       Type(kTargetEdit2, L"Typed.App");
                       Click(kTargetSpeedButton2);
                       Click(kTargetSpeedButton3);
                       PressKey(kTargetEdit1, VK_RETURN);
                     },
                     [&] {
                       EXPECT_EQ(ListRows(), (Rows{L"A\tA.App", L"B\tB.App"}));
                       EXPECT_EQ(SelectedRow(), -1);
                       EXPECT_EQ(ShownFields(), (Fields{L"typed", L"Typed.App"}));
                       EXPECT_EQ(ListFile(), file);
                       Click(kTargetButton2);
                     }});
}

TEST_F(TargetCADFormTest, OkReturnsTheTypedValuesAndEscapeOrCancelReturnCancel) {
  const std::string file = "BricsCAD\tBricscadApp.AcadApplication\r\n";
  WriteFileBytes(listPath, file);
  EXPECT_EQ(Show(L"BricscadApp.AcadApplication", {[&] {
                   Type(kTargetEdit2, L"BricscadApp.AcadApplication.25");
                   Click(kTargetButton1);
                 }}),
            IDOK);
  EXPECT_EQ(form.Edit1Text(), L"BricsCAD");
  EXPECT_EQ(form.Edit2Text(), L"BricscadApp.AcadApplication.25") << "typed, never added";
  EXPECT_EQ(ListFile(), file);

  EXPECT_EQ(Show(L"BricscadApp.AcadApplication", {[&] { PressKey(kTargetListBox1, VK_ESCAPE); }}), IDCANCEL);
  EXPECT_EQ(Show(L"BricscadApp.AcadApplication", {[&] { PressKey(kTargetListBox1, VK_RETURN); }}), IDOK)
      << "Enter outside the fields presses OK";
  EXPECT_EQ(ListFile(), file);
}

TEST_F(TargetCADFormTest, AFailedWriteIsReportedAndTheListKeepsTheRowUntilTheNextWrite) {
  const std::string file = "A\tA.App\r\n";
  WriteFileBytes(listPath, file);
  std::vector<std::wstring> reported;
  Show(L"A.App", {[&] {
         ExclusiveFileLock lock(listPath);
         ASSERT_TRUE(lock.Held());
         Type(kTargetEdit1, L"B");
         Type(kTargetEdit2, L"B.App");
         Click(kTargetSpeedButton1);
         lock.Release();
         EXPECT_EQ(ListRows(), (Rows{L"A\tA.App", L"B\tB.App"}));
         EXPECT_EQ(ListFile(), file);
         reported = script.TakeMessageBoxes();

         Click(kTargetSpeedButton3);
         EXPECT_EQ(ListFile(), "A\tA.App\r\nB\tB.App\r\n");
         Click(kTargetButton2);
       }});
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_NE(reported[0].find(L"PAGE: "), std::wstring::npos) << ToUtf8(reported[0]);
  EXPECT_NE(reported[0].find(listPath + L" に書き込めません."), std::wstring::npos) << ToUtf8(reported[0]);
}

}  // namespace
