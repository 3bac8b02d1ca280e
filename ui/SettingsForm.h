// TSettingsForm, the settings dialog (設定): the frame layer, the frame and
// title blocks, the tags that name the sheets, their order and the hot
// keys, chosen from what the active drawing holds, and 試す to see what
// Get would find. Its rules are the portable ones of SettingsUnit.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cad/CadPlatform.h"
#include "cad/CadWork.h"
#include "ui/FormWindow.h"
#include "uilogic/SettingsUnit.h"
#include "win/Win32Api.h"

class TSettingsForm : public FormWindow {
 public:
  TSettingsForm(ObjectTable& objects, CadWork run);
  ~TSettingsForm() override;

  // Creates the dialog hidden, modal to modalOwner but not owned by it.
  bool Create(HINSTANCE instance, HWND modalOwner);
  // Shows the values and reads the drawing once shown; the values chosen
  // on OK, nothing on Cancel. pagerKeys are the combinations the pager
  // holds, which its fields may take.
  std::optional<SettingsValues> ShowModal(const SettingsValues& values, bool upperLeft,
                                          std::vector<KeyCombination> pagerKeys);

 private:
  // FormWindow
  bool FormCreated() override;
  bool FormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Relayout() override;

  void ControlCommand(int id, int code);
  void ListChanged(int id, const NMLISTVIEW& change);
  void ShowValues(const SettingsValues& values);
  SettingsValues Values() const;
  // Runs the read on the active document; why it could not, or empty.
  std::wstring ReadFromDrawing(const std::function<void(DispatchObject& document)>& read);
  void ReadDrawing();
  void ReadTags(const std::vector<std::wstring>& blocks);
  std::vector<std::wstring> TagBlocks() const;
  void FillTags(int selected);
  void MoveTag(int direction);
  void UpdateOrder();
  void HotKeyChanged(size_t field);
  void ClearHotKey(size_t field);
  void TryButtonClick();
  void CloseWith(int result);

  ObjectTable& FObjects;
  CadWork FRun;
  HWND FModalOwner = nullptr;
  UniqueWindow FHiddenOwner;
  std::vector<ControlDefinition> FControls;
  std::vector<std::wstring> FBlocks;  // the drawing's block definitions, as listed
  std::vector<TagChoice> FTags;
  std::map<std::wstring, std::vector<std::wstring>> FTagsRead;  // per block name
  std::array<bool, 3> FHotKeyTouched{};
  std::vector<KeyCombination> FPagerKeys;
  SettingsValues FShown;
  bool FUpperLeft = false;
  bool FFilling = false;
  int FModalResult = 0;
};
