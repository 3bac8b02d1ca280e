#include <gtest/gtest.h>
#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cwctype>
#include <map>

#include "common/FileError.h"
#include "tests/native/TargetListTestCodePage.h"
#include "uilogic/TaregetCADUnit.h"

namespace {

using Rows = std::vector<std::wstring>;
using namespace TaregetCADUnit;

const std::wstring kPath = L"C:\\Tools\\TargetCAD_APIVersion.txt";

// Sorts like the LBS_SORT list box: case-insensitive, a new row after its
// equals.
class TestListBox : public SortedListBox {
 public:
  Rows rows;
  int selected = -1;

  int Count() const override { return static_cast<int>(rows.size()); }
  std::wstring Row(int index) const override { return rows.at(static_cast<size_t>(index)); }
  int SelectedIndex() const override { return selected; }
  void Select(int index) override {
    EXPECT_TRUE(index >= -1 && index < Count()) << "selecting row " << index << " of " << Count();
    selected = index;
  }
  int AddSorted(const std::wstring& row) override {
    const auto at = std::upper_bound(rows.begin(), rows.end(), row, LessIgnoringCase);
    selected = -1;
    const auto inserted = rows.insert(at, row);
    return static_cast<int>(inserted - rows.begin());
  }
  // As the platform's ordinal comparison ignoring case: every letter
  // folded to its simple upper case.
  int FindIgnoringCase(const std::wstring& row) const override {
    const auto same = [&row](const std::wstring& other) {
      return std::equal(other.begin(), other.end(), row.begin(), row.end(),
                        [](wchar_t x, wchar_t y) { return Upper(x) == Upper(y); });
    };
    const auto found = std::find_if(rows.begin(), rows.end(), same);
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
  }
  void Delete(int index) override {
    rows.erase(rows.begin() + index);
    selected = -1;
  }
  void Replace(int index, const std::wstring& row) override {
    rows.at(static_cast<size_t>(index)) = row;
    selected = -1;
  }
  void Clear() override {
    rows.clear();
    selected = -1;
  }

 private:
  static wchar_t Upper(wchar_t c) {
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), unicode));
  }
  static bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return std::towlower(x) < std::towlower(y); });
  }
};

class TestControls : public TargetCadControls {
 public:
  TestListBox list;
  std::wstring edit1;
  std::wstring edit2;
  int beeps = 0;

  SortedListBox& ListBox1() override { return list; }
  std::wstring Edit1Text() const override { return edit1; }
  void SetEdit1Text(const std::wstring& text) override { edit1 = text; }
  std::wstring Edit2Text() const override { return edit2; }
  void SetEdit2Text(const std::wstring& text) override { edit2 = text; }
  void Beep() override { ++beeps; }
};

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::wstring, std::string> files;
  int writes = 0;
  bool failWrites = false;
  bool failReads = false;

  bool Exists(const std::wstring& path) override { return files.contains(path); }
  std::string ReadAll(const std::wstring& path) override {
    if (failReads) throw CannotReadError(path);
    return files.at(path);
  }
  void WriteAtomically(const std::wstring& path, std::string_view bytes) override {
    if (failWrites) throw CannotWriteError(path);
    ++writes;
    files[path] = bytes;
  }
};

class TaregetCADUnitTest : public ::testing::Test {
 protected:
  void TearDown() override { CurrentProgId.clear(); }

  void ShowWithFile(std::string bytes, const std::wstring& currentProgId = L"") {
    disk.files[kPath] = std::move(bytes);
    CurrentProgId = currentProgId;
    FormShow(controls, file);
  }
  // Three rows, the given one selected as the user would select it.
  void ShowThreeRowsSelecting(int index) {
    ShowWithFile("A\ta.1\r\nB\tb.1\r\nC\tc.1\r\n");
    controls.list.selected = index;
    ListBox1Click(controls);
  }
  std::string Written() const { return disk.files.at(kPath); }

  TestControls controls;
  MemoryFileSystem disk;
  Latin1CodePage ansi;
  TargetListFile file{kPath, disk, ansi};
};

TEST_F(TaregetCADUnitTest, ShowingWithoutAFileKeepsRowsAndFields) {
  controls.list.rows = {L"Old\told.1"};
  controls.edit1 = L"typed";
  FormShow(controls, file);
  EXPECT_EQ(controls.list.rows, (Rows{L"Old\told.1"}));
  EXPECT_EQ(controls.edit1, L"typed");
}

TEST_F(TaregetCADUnitTest, ShowingReplacesTheRowsWithTheFilesRowsSorted) {
  controls.list.rows = {L"Old\told.1"};
  ShowWithFile(
      "\xEF\xBB\xBF"
      "ZWCAD\tZWCAD.Application\r\nbricsCAD\tBricscadApp.AcadApplication\r\n"
      "Acad\tAutoCAD.Application\r\n");
  EXPECT_EQ(controls.list.rows, (Rows{L"Acad\tAutoCAD.Application", L"bricsCAD\tBricscadApp.AcadApplication",
                                      L"ZWCAD\tZWCAD.Application"}));
}

TEST_F(TaregetCADUnitTest, ShowingPreselectsTheFirstRowWhoseProgIdContainsTheCurrentOne) {
  ShowWithFile(
      "BricscadApp.AcadApplication\tOther.Application\r\n"
      "V22\tBricscadApp.AcadApplication.22\r\n"
      "V23\tBricscadApp.AcadApplication.23\r\n",
      L"BricscadApp.AcadApplication");
  EXPECT_EQ(controls.list.selected, 1);
  EXPECT_EQ(controls.edit1, L"V22");
  EXPECT_EQ(controls.edit2, L"BricscadApp.AcadApplication.22");
}

TEST_F(TaregetCADUnitTest, ShowingWithoutAMatchSelectsNothingAndKeepsTheFields) {
  controls.edit1 = L"typed name";
  controls.edit2 = L"typed.id";
  ShowWithFile("V23\tBricscadApp.AcadApplication.23\r\n", L"bricscadapp.acadapplication");
  EXPECT_EQ(controls.list.selected, -1);
  EXPECT_EQ(controls.edit1, L"typed name");
  EXPECT_EQ(controls.edit2, L"typed.id");
}

TEST_F(TaregetCADUnitTest, AnUnreadableFileReachesTheCallerAndKeepsTheRows) {
  controls.list.rows = {L"Old\told.1"};
  disk.files[kPath] = "";
  disk.failReads = true;
  EXPECT_THROW(FormShow(controls, file), FileError);
  EXPECT_EQ(controls.list.rows, (Rows{L"Old\told.1"}));
}

TEST_F(TaregetCADUnitTest, AddSortsTheRowInSelectsItAndWritesTheFile) {
  ShowWithFile("A\ta.1\r\nC\tc.1\r\n");
  controls.edit1 = L"b";
  controls.edit2 = L"b.1";
  SpeedButton1Click(controls, file);
  EXPECT_EQ(controls.list.rows, (Rows{L"A\ta.1", L"b\tb.1", L"C\tc.1"}));
  EXPECT_EQ(controls.list.selected, 1);
  EXPECT_EQ(Written(), "A\ta.1\r\nb\tb.1\r\nC\tc.1\r\n");
}

TEST_F(TaregetCADUnitTest, AddSelectsTheFirstRowEqualIgnoringTheCaseOfEveryLetter) {
  // Full-width and accented letters, which differ in case only.
  ShowWithFile(
      "\xEF\xBB\xBF\xEF\xBC\xA2\xC3\x84"
      "cad\tX.App\r\n");
  controls.edit1 = L"\uFF42\u00E4CAD";
  controls.edit2 = L"x.app";
  SpeedButton1Click(controls, file);
  EXPECT_EQ(controls.list.rows, (Rows{L"\uFF22\u00C4cad\tX.App", L"\uFF42\u00E4CAD\tx.app"}));
  EXPECT_EQ(controls.list.selected, 0);
  EXPECT_EQ(controls.edit1, L"\uFF22\u00C4cad");
  EXPECT_EQ(controls.edit2, L"X.App");
}

TEST_F(TaregetCADUnitTest, TheFirstAddCreatesTheFileInAnsi) {
  controls.edit2 = L"GCAD.Application";
  SpeedButton1Click(controls, file);
  EXPECT_EQ(Written(), "\tGCAD.Application\r\n");
  EXPECT_EQ(controls.edit1, L"");
  EXPECT_EQ(controls.edit2, L"GCAD.Application");
}

struct DeleteCase {
  int rowCount;
  int selected;
  int reselected;
  Rows remaining;
};

TEST_F(TaregetCADUnitTest, DeleteReselectsTheRowAfterOrBefore) {
  const Rows all{L"A\ta.1", L"B\tb.1", L"C\tc.1"};
  for (const DeleteCase& c : {DeleteCase{3, 0, 0, {L"B\tb.1", L"C\tc.1"}}, DeleteCase{3, 1, 0, {L"A\ta.1", L"C\tc.1"}},
                              DeleteCase{3, 2, 1, {L"A\ta.1", L"B\tb.1"}}, DeleteCase{2, 0, -1, {L"B\tb.1"}},
                              DeleteCase{2, 1, 0, {L"A\ta.1"}}, DeleteCase{1, 0, -1, {}}}) {
    SCOPED_TRACE(testing::Message() << c.rowCount << " rows, deleting row " << c.selected);
    controls.list.rows.assign(all.begin(), all.begin() + c.rowCount);
    controls.list.selected = c.selected;
    controls.edit1 = L"typed";
    controls.edit2 = L"typed";
    SpeedButton2Click(controls, file);
    EXPECT_EQ(controls.list.rows, c.remaining);
    EXPECT_EQ(controls.list.selected, c.reselected);
    const TargetRow shown = c.reselected < 0 ? TargetRow{} : SplitTargetRow(c.remaining.at(c.reselected));
    EXPECT_EQ(controls.edit1, shown.name);
    EXPECT_EQ(controls.edit2, shown.progId);
  }
}

TEST_F(TaregetCADUnitTest, DeletingTheLastRowWritesAFileWithoutRowsInItsEncoding) {
  ShowWithFile(
      "\xEF\xBB\xBF"
      "A\ta.1\r\n",
      L"a.1");
  SpeedButton2Click(controls, file);
  EXPECT_EQ(Written(), "\xEF\xBB\xBF");
}

TEST_F(TaregetCADUnitTest, ChangeReplacesTheSelectedRowInPlaceAndWrites) {
  ShowThreeRowsSelecting(0);
  controls.edit1 = L"Z";
  controls.edit2 = L"z.1";
  SpeedButton3Click(controls, file);
  EXPECT_EQ(controls.list.rows, (Rows{L"Z\tz.1", L"B\tb.1", L"C\tc.1"}));
  EXPECT_EQ(controls.list.selected, 0);
  EXPECT_EQ(Written(), "Z\tz.1\r\nB\tb.1\r\nC\tc.1\r\n");
}

TEST_F(TaregetCADUnitTest, EnterInAFieldRunsChangeAndOtherKeysDoNot) {
  ShowThreeRowsSelecting(1);
  controls.edit2 = L"b.2";
  EXPECT_FALSE(Edit1KeyPress(controls, file, L'a'));
  EXPECT_EQ(disk.writes, 0);
  EXPECT_TRUE(Edit1KeyPress(controls, file, L'\r'));
  EXPECT_EQ(controls.list.rows.at(1), L"B\tb.2");
  EXPECT_EQ(Written(), "A\ta.1\r\nB\tb.2\r\nC\tc.1\r\n");
}

TEST_F(TaregetCADUnitTest, DeleteOrChangeWithoutASelectionOnlyBeeps) {
  for (const Rows& rows : {Rows{L"A\ta.1", L"B\tb.1"}, Rows{}}) {
    controls.list.rows = rows;
    controls.list.selected = -1;
    controls.edit1 = L"typed name";
    controls.edit2 = L"typed.id";
    controls.beeps = 0;
    SpeedButton2Click(controls, file);
    SpeedButton3Click(controls, file);
    EXPECT_TRUE(Edit1KeyPress(controls, file, L'\r'));
    EXPECT_EQ(controls.beeps, 3);
    EXPECT_EQ(controls.list.rows, rows);
    EXPECT_EQ(controls.edit1, L"typed name");
    EXPECT_EQ(controls.edit2, L"typed.id");
    EXPECT_EQ(disk.writes, 0);
  }
}

TEST_F(TaregetCADUnitTest, AFailedWriteReachesTheCallerAndTheListKeepsTheChange) {
  ShowThreeRowsSelecting(1);
  disk.failWrites = true;
  controls.edit1 = L"B2";
  EXPECT_THROW(SpeedButton3Click(controls, file), FileError);
  EXPECT_EQ(controls.list.rows.at(1), L"B2\tb.1");
  EXPECT_THROW(SpeedButton2Click(controls, file), FileError);
  EXPECT_EQ(controls.list.rows, (Rows{L"A\ta.1", L"C\tc.1"}));
  controls.edit1 = L"D";
  EXPECT_THROW(SpeedButton1Click(controls, file), FileError);
  EXPECT_EQ(controls.list.rows.size(), 3u);
  EXPECT_EQ(Written(), "A\ta.1\r\nB\tb.1\r\nC\tc.1\r\n");
}

}  // namespace
