// The target CAD dialog's handlers (TTargetCADForm): a sorted list of
// name-TAB-ProgID rows kept in the target list file, and two fields that
// show the selected row and hand the chosen target to the pager.
#pragma once

#include <string>

#include "settings/TargetListFile.h"

// The ProgID to preselect, set by the pager before each showing.
extern std::wstring CurrentProgId;

// ListBox1: a list that keeps its rows sorted as they are added. Selecting
// through this interface does not run ListBox1Click.
class SortedListBox {
 public:
  virtual ~SortedListBox() = default;
  virtual int Count() const = 0;
  virtual std::wstring Row(int index) const = 0;
  // -1 when no row is selected.
  virtual int SelectedIndex() const = 0;
  // -1 selects nothing.
  virtual void Select(int index) = 0;
  // Inserts in sorted place and returns the row's index.
  virtual int AddSorted(const std::wstring& row) = 0;
  // The first row equal to row with letter case ignored, every letter as
  // the platform folds it; -1 when there is none.
  virtual int FindIgnoringCase(const std::wstring& row) const = 0;
  virtual void Delete(int index) = 0;
  // Replaces the text without moving the row.
  virtual void Replace(int index, const std::wstring& row) = 0;
  virtual void Clear() = 0;
};

// The dialog's controls as its handlers see them.
class TargetCadControls {
 public:
  virtual ~TargetCadControls() = default;
  virtual SortedListBox& ListBox1() = 0;
  virtual std::wstring Edit1Text() const = 0;
  virtual void SetEdit1Text(const std::wstring& text) = 0;
  virtual std::wstring Edit2Text() const = 0;
  virtual void SetEdit2Text(const std::wstring& text) = 0;
  // Tells the user that the button had nothing to act on.
  virtual void Beep() = 0;
};

// Each handler that writes the file lets a FileError through to the
// default error reporting; the list keeps its change.
namespace TaregetCADUnit {

// Reads the file when it exists and preselects the first row holding TAB
// and CurrentProgId.
void FormShow(TargetCadControls& controls, TargetListFile& file);
void ListBox1Click(TargetCadControls& controls);
// Add.
void SpeedButton1Click(TargetCadControls& controls, TargetListFile& file);
// Delete; without a selected row only a beep.
void SpeedButton2Click(TargetCadControls& controls, TargetListFile& file);
// Change; without a selected row only a beep.
void SpeedButton3Click(TargetCadControls& controls, TargetListFile& file);
// Both fields. Returns true when the key was Enter, which is swallowed and
// runs Change.
bool Edit1KeyPress(TargetCadControls& controls, TargetListFile& file, wchar_t key);

}  // namespace TaregetCADUnit
