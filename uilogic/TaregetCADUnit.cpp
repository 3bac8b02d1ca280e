#include "uilogic/TaregetCADUnit.h"

#include <vector>

std::wstring CurrentProgId;

namespace {

std::wstring FieldsRow(const TargetCadControls& controls) {
  return JoinTargetRow(controls.Edit1Text(), controls.Edit2Text());
}

void WriteList(TargetCadControls& controls, TargetListFile& file) {
  SortedListBox& list = controls.ListBox1();
  std::vector<std::wstring> rows;
  rows.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) rows.push_back(list.Row(i));
  file.Write(rows);
}

void SelectAndShow(TargetCadControls& controls, int index) {
  controls.ListBox1().Select(index);
  TaregetCADUnit::ListBox1Click(controls);
}

}  // namespace

namespace TaregetCADUnit {

void FormShow(TargetCadControls& controls, TargetListFile& file) {
  if (!file.Exists()) return;
  const std::vector<std::wstring> rows = file.Read();
  SortedListBox& list = controls.ListBox1();
  list.Clear();
  for (const std::wstring& row : rows) list.AddSorted(row);
  const std::wstring wanted = L'\t' + CurrentProgId;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Row(i).find(wanted) != std::wstring::npos) {
      SelectAndShow(controls, i);
      return;
    }
  }
}

void ListBox1Click(TargetCadControls& controls) {
  SortedListBox& list = controls.ListBox1();
  const int index = list.SelectedIndex();
  if (index < 0) return;
  const TargetRow row = SplitTargetRow(list.Row(index));
  controls.SetEdit1Text(row.name);
  controls.SetEdit2Text(row.progId);
}

void SpeedButton1Click(TargetCadControls& controls, TargetListFile& file) {
  const std::wstring row = FieldsRow(controls);
  SortedListBox& list = controls.ListBox1();
  list.AddSorted(row);
  // The new row itself matches if no earlier one does.
  SelectAndShow(controls, list.FindIgnoringCase(row));
  WriteList(controls, file);
}

void SpeedButton2Click(TargetCadControls& controls, TargetListFile& file) {
  SortedListBox& list = controls.ListBox1();
  const int index = list.SelectedIndex();
  if (index < 0) {
    controls.Beep();
    return;
  }
  list.Delete(index);
  controls.SetEdit1Text(L"");
  controls.SetEdit2Text(L"");
  const int count = list.Count();
  if (index + 1 < count) {
    SelectAndShow(controls, index);
  } else if (index - 1 >= 0) {
    SelectAndShow(controls, index - 1);
  } else {
    list.Select(-1);
  }
  WriteList(controls, file);
}

void SpeedButton3Click(TargetCadControls& controls, TargetListFile& file) {
  SortedListBox& list = controls.ListBox1();
  const int index = list.SelectedIndex();
  if (index < 0) {
    controls.Beep();
    return;
  }
  list.Replace(index, FieldsRow(controls));
  list.Select(index);
  WriteList(controls, file);
}

bool Edit1KeyPress(TargetCadControls& controls, TargetListFile& file, wchar_t key) {
  if (key != L'\r') return false;
  SpeedButton3Click(controls, file);
  return true;
}

}  // namespace TaregetCADUnit
