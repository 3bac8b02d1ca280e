// TForm105, the pager window: a small always-on-top tool window with Get,
// Previous and Next, the page status, the frame layer, the upper-left
// option and the button that changes the target CAD.
#pragma once

#include <string>

#include "pages/PageCommands.h"
#include "ui/ControlLayout.h"
#include "ui/Settings.h"
#include "ui/Tooltip.h"
#include "ui/Win32Api.h"

class TTargetCADForm;

class TForm105 : public PagerView, public SettingsWindow {
 public:
  TForm105(Profile& settings, CadAccess cad);
  TForm105(const TForm105&) = delete;
  TForm105& operator=(const TForm105&) = delete;
  ~TForm105() override;

  // Creates the window hidden; FormCreate runs as part of it. False when
  // the window could not be created.
  bool Create(HINSTANCE instance, HICON icon);
  // The dialog Button4 shows; created after the pager.
  void SetTargetCadForm(TTargetCADForm& form) { FTargetCadForm = &form; }
  HWND Handle() const { return FHandle; }

  // PagerView
  std::wstring LayerName() const override;
  bool UpperLeft() const override;
  std::wstring BlockPattern() const override { return FBlockPattern; }
  void SetPageStatus(const std::wstring& text) override;

  // SettingsWindow
  int Width() const override;
  int Height() const override;
  WindowOrigin Origin() const override;
  void MoveTo(WindowOrigin origin) override;
  std::wstring LayerText() const override;
  void SetLayerText(const std::wstring& layer) override;
  void SetBlockPattern(const std::wstring& pattern) override;

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool WindowCreated(HWND window);
  void FormCreate();
  void FormDestroy();
  void Button1Click();
  void Button2Click(HWND sender);
  void CheckBox1Click();
  void Button4Click();
  void ControlCommand(int id, int code, HWND control);
  void Activated(bool active);
  void UpdateCaption();
  void ApplyDpi(UINT dpi);
  void DpiChanged(UINT dpi, const RECT& suggested);
  HWND Control(int id) const { return GetDlgItem(FHandle, id); }

  Profile& FSettings;
  CadAccess FCad;
  TTargetCADForm* FTargetCadForm = nullptr;
  HWND FHandle = nullptr;
  HWND FFocus = nullptr;
  UINT FDpi = 96;
  FontSet FFonts;
  Tooltip FTooltip;
  std::wstring FBlockPattern;
};
