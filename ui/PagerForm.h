// TForm105, the pager window: a small always-on-top tool window with Get,
// Previous and Next, the page status, the frame layer, the upper-left
// option and the button that changes the target CAD.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cad/CallWait.h"
#include "cad/MessageFilter.h"
#include "hotkeys/HotKeySettings.h"
#include "pages/PageCommands.h"
#include "settings/Settings.h"
#include "settings/SheetNameSettings.h"
#include "ui/FormWindow.h"
#include "ui/PagerHotKeys.h"
#include "uilogic/SettingsUnit.h"
#include "uilogic/WheelSteps.h"
#include "win/Handles.h"
#include "win/MessageLoop.h"
#include "win/Tooltip.h"
#include "win/Win32Api.h"

class TTargetCADForm;
class CallWatch;

class TForm105 : public FormWindow, public PagerView, public SettingsWindow, public WaitView {
 public:
  TForm105(Profile& settings, CadAccess cad);
  // Destroys the window the way closing it does, settings saved.
  ~TForm105() override;

  // Creates the window hidden; FormCreate runs as part of it. False when
  // the window could not be created.
  bool Create(HINSTANCE instance, HICON icon);
  // The dialog Button4 shows; created after the pager.
  void SetTargetCadForm(TTargetCADForm& form) { FTargetCadForm = &form; }
  // Ctrl+C, for the message loop.
  WindowAccelerators Accelerators() const { return {Handle(), FAccelerators.Get()}; }

  // PagerView
  std::wstring LayerName() const override;
  bool UpperLeft() const override;
  std::wstring PageStatus() const override;
  std::wstring BlockPattern() const override { return FBlockPattern; }
  std::vector<std::wstring> NameTags() const override { return FSheetNames.tags; }
  std::wstring TitleBlockPattern() const override { return FSheetNames.titleBlocks; }
  bool OrderByName() const override { return FSheetNames.orderByName; }
  void SetPageStatus(const std::wstring& text) override;

  // SettingsWindow
  int Width() const override;
  int Height() const override;
  WindowOrigin Origin() const override;
  void MoveTo(WindowOrigin origin) override;
  std::wstring LayerText() const override;
  void SetLayerText(const std::wstring& layer) override;
  void SetBlockPattern(const std::wstring& pattern) override;

  // WaitView
  void ShowWaiting(bool waiting) override;

 private:
  // FormWindow
  bool FormCreated() override;
  bool FormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Relayout() override;

  void FormCreate();
  void FormDestroy();
  // Writes page.ini as closing does, a failure reported.
  void SaveSettingsGuarded();
  void Button1Click();
  void Button2Click(HWND sender);
  void CheckBox1Click();
  void Button4Click();
  void ControlCommand(int id, int code, HWND control);
  void MouseWheel(int delta);
  void ContextMenu(HWND target, LPARAM position);
  void ShowPageMenu(POINT screen);
  void CopySelectionOrPageList();
  void CopyPageList();
  void PlotClick();
  void UpdateStatusHint();
  void RegisterHotKeys();
  void HotKeyPressed(WPARAM id);
  void Activated(bool active);
  void StopReasonChanged(const std::wstring& reason);
  void UpdateCaption();
  // Runs a page command watched as a whole (see WatchedCommand).
  void RunCommand(const std::function<void()>& command);
  // Runs other work that calls the CAD the same way; true when the user
  // gave a waiting call up.
  bool RunCadWork(const std::function<void()>& work);
  // Shows a modal dialog of the pager's; a close request that comes
  // meanwhile is honoured once it ends.
  void RunDialog(const std::function<void()>& dialog);
  // The settings dialog: from the page menu, the layer field, or the status
  // after a Get that found no frame.
  void OpenSettings();
  void FieldDoubleClicked(int id);
  SettingsValues CurrentSettings() const;
  void ApplySettings(const SettingsValues& before, const SettingsValues& after);
  bool FoundNoFrame() const;

  Profile& FSettings;
  CadAccess FCad;
  TTargetCADForm* FTargetCadForm = nullptr;
  Tooltip FTooltip;
  std::wstring FBlockPattern;
  SheetNameSettings FSheetNames;
  UniqueAccelerators FAccelerators;
  WheelSteps FWheel;
  PagerHotKeys FHotKeys;
  std::wstring FStartProblems;  // reported once the window shows
  std::unique_ptr<CallWatch> FCallWatch;
  std::optional<MessageFilterRegistration> FMessageFilter;
  std::wstring FStatusBeforeWaiting;
  HotKeyTexts FHotKeyTexts;
  // The last Get found no frame: the status offers the settings dialog.
  bool FOffersSettings = false;
  UniqueHotKey FWaitEscape;
  bool FMenuOpen = false;
  bool FDialogOpen = false;
  bool FCloseAfterDialog = false;
};
