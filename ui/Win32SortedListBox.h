// SortedListBox over a real LBS_SORT list box: the control sorts, and
// finds rows ignoring letter case, as the dialog expects.
#pragma once

#include "uilogic/TaregetCADUnit.h"
#include "win/Win32Api.h"

class Win32SortedListBox : public SortedListBox {
 public:
  void Attach(HWND listBox) { FHandle = listBox; }

  int Count() const override;
  // Throws std::out_of_range for an index outside the rows.
  std::wstring Row(int index) const override;
  int SelectedIndex() const override;
  void Select(int index) override;
  // Throws std::runtime_error when the control has no room left.
  int AddSorted(const std::wstring& row) override;
  // CompareStringOrdinal ignoring case.
  int FindIgnoringCase(const std::wstring& row) const override;
  void Delete(int index) override;
  void Replace(int index, const std::wstring& row) override;
  void Clear() override;

 private:
  HWND FHandle = nullptr;
};
