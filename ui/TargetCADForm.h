// TTargetCADForm, the target CAD dialog's window: created hidden once and
// shown modally by the pager's CAD button. Its handlers are the portable
// ones of TaregetCADUnit.
#pragma once

#include <array>
#include <string>

#include "ui/FormWindow.h"
#include "ui/Win32SortedListBox.h"
#include "uilogic/TaregetCADUnit.h"
#include "win/Handles.h"
#include "win/Win32Api.h"

class TTargetCADForm : public FormWindow, public TargetCadControls {
 public:
  explicit TTargetCADForm(TargetListFile& file);
  // Gone before its hidden owner, which would otherwise take it along.
  ~TTargetCADForm() override;

  // Creates the dialog hidden. It is modal to modalOwner but not owned by
  // it, so that the two can change the topmost band independently.
  bool Create(HINSTANCE instance, HWND modalOwner);
  // Disables the modal owner and runs a nested message loop until OK or Cancel;
  // returns IDOK or IDCANCEL.
  int ShowModal();

  // TargetCadControls
  SortedListBox& ListBox1() override { return FListBox1; }
  std::wstring Edit1Text() const override;
  void SetEdit1Text(const std::wstring& text) override;
  std::wstring Edit2Text() const override;
  void SetEdit2Text(const std::wstring& text) override;
  void Beep() override;

  // Both edit fields' keys; true when the key was taken.
  bool Edit1KeyPress(wchar_t key);

 private:
  // FormWindow
  bool FormCreated() override;
  bool FormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Relayout() override;

  void FormShow();
  void ListBox1Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  // Empty on purpose: the OK result closes the dialog, and the pager reads
  // the fields afterwards.
  void Button1Click() {}
  void ControlCommand(int id, int code);
  void CloseWith(int result);
  void PlaceOnFirstShowing();

  TargetListFile& FFile;
  HWND FModalOwner = nullptr;
  // Never shown: keeps the dialog off the taskbar.
  UniqueWindow FHiddenOwner;
  Win32SortedListBox FListBox1;
  std::array<ControlDefinition, 11> FControls;
  bool FPlaced = false;
  int FModalResult = 0;
};
