// TTargetCADForm, the target CAD dialog's window: created hidden once and
// shown modally by the pager's CAD button. Its handlers are the portable
// ones of TaregetCADUnit.
#pragma once

#include <array>
#include <string>

#include "ui/ControlLayout.h"
#include "ui/TaregetCADUnit.h"
#include "ui/UniqueWindow.h"
#include "ui/Win32Api.h"
#include "ui/Win32SortedListBox.h"

class TTargetCADForm : public TargetCadControls {
 public:
  explicit TTargetCADForm(TargetListFile& file);
  TTargetCADForm(const TTargetCADForm&) = delete;
  TTargetCADForm& operator=(const TTargetCADForm&) = delete;
  ~TTargetCADForm() override;

  // Creates the dialog hidden. It is modal to modalOwner but not owned by
  // it, so that the two can change the topmost band independently.
  bool Create(HINSTANCE instance, HWND modalOwner);
  HWND Handle() const { return FHandle; }
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

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Both edit fields' keys; true when the key was taken.
  bool Edit1KeyPress(wchar_t key);

 private:
  bool WindowCreated(HWND window);
  void FormShow();
  void ListBox1Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void Button1Click() {}
  void ControlCommand(int id, int code);
  void CloseWith(int result);
  void PlaceOnFirstShowing();
  void ApplyDpi(UINT dpi);
  void DpiChanged(UINT dpi, const RECT& suggested);
  void Relayout();
  HWND Control(int id) const { return GetDlgItem(FHandle, id); }

  TargetListFile& FFile;
  HWND FModalOwner = nullptr;
  // Never shown: keeps the dialog off the taskbar.
  UniqueWindow FHiddenOwner;
  HWND FHandle = nullptr;
  Win32SortedListBox FListBox1;
  std::array<ControlDefinition, 11> FControls;
  UINT FDpi = 96;
  FontSet FFonts;
  bool FPlaced = false;
  HWND FFocus = nullptr;
  int FModalResult = 0;
};
