#include "ui/TargetCADForm.h"

#include "theme/VisualStyle.h"
#include "ui/ControlIds.h"
#include "win/Dpi.h"
#include "win/MessageLoop.h"
#include "win/NoFocusButton.h"
#include "win/Win32Api.h"
#include "win/Win32Controls.h"
#include "win/WindowClass.h"

namespace {

constexpr int kClientWidth = 315;
constexpr int kClientHeight = 307;
constexpr int kFormFont = -11;
constexpr int kListFont = -13;
constexpr int kListRowHeight = 16;
constexpr UINT_PTR kEnterSubclass = 1;

// GroupBox1's controls are its siblings, placed by its origin.
constexpr ControlRect kGroupBox1{8, 151, 297, 105};
constexpr ControlRect InGroupBox(int left, int top, int width, int height) {
  return ControlRect{kGroupBox1.left + left, kGroupBox1.top + top, width, height};
}

// In tab order; the group box comes last, below its controls in the z-order,
// so that it draws only around them.
std::array<ControlDefinition, 11> DialogControls() {
  constexpr DWORD edit = WS_TABSTOP | ES_AUTOHSCROLL;
  constexpr DWORD label = SS_LEFT | SS_NOPREFIX;
  constexpr DWORD speedButton = BS_PUSHBUTTON;
  const DWORD list =
      WS_TABSTOP | WS_VSCROLL | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | CurrentStyle().ListBoxStyle();
  return {{
      {kTargetListBox1, WC_LISTBOXW, list, WS_EX_CLIENTEDGE, {8, 8, 297, 137}, L"", kListFont},
      {kTargetButton1, WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {80, 271, 75, 25}, L"OK", kFormFont},
      {kTargetButton2, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, {161, 271, 88, 25}, L"取り消し", kFormFont},
      {kTargetLabel1, WC_STATICW, label, 0, InGroupBox(16, 3, 64, 14), L"名称 （説明）", -12},
      {kTargetEdit1, WC_EDITW, edit, WS_EX_CLIENTEDGE, InGroupBox(16, 23, 198, 24), L"", -13},
      {kTargetLabel2, WC_STATICW, label, 0, InGroupBox(16, 53, 114, 14), L"ProgID （クラス文字列）", -12},
      {kTargetEdit2, WC_EDITW, edit, WS_EX_CLIENTEDGE, InGroupBox(16, 73, 198, 24), L"", -13},
      {kTargetSpeedButton1, WC_BUTTONW, speedButton, 0, InGroupBox(220, 21, 71, 22), L"追加", kFormFont},
      {kTargetSpeedButton2, WC_BUTTONW, speedButton, 0, InGroupBox(220, 49, 71, 22), L"削除", kFormFont},
      {kTargetSpeedButton3, WC_BUTTONW, speedButton, 0, InGroupBox(220, 77, 71, 22), L"変更", kFormFont},
      {kTargetGroupBox1, WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, 0, kGroupBox1, L"", kFormFont},
  }};
}

bool IsEnter(const MSG* message) {
  return message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) && message->wParam == VK_RETURN;
}

// Enter in either field runs Change instead of reaching the dialog.
LRESULT CALLBACK EnterKeyProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& form = *reinterpret_cast<TTargetCADForm*>(data);
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
      if (IsEnter(reinterpret_cast<const MSG*>(lParam))) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      // The edit control itself would pass Enter on to the default button.
      if (wParam == VK_RETURN) return 0;
      break;
    case WM_CHAR:
      if (Guarded([&] { return form.Edit1KeyPress(static_cast<wchar_t>(wParam)); }, true)) return 0;
      break;
    case WM_NCDESTROY: RemoveWindowSubclass(edit, EnterKeyProc, kEnterSubclass); break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

TTargetCADForm::TTargetCADForm(TargetListFile& file) : FormWindow(kClientWidth, kClientHeight), FFile(file) {}

TTargetCADForm::~TTargetCADForm() { DestroyForm(); }

bool TTargetCADForm::Create(HINSTANCE instance, HWND modalOwner) {
  FModalOwner = modalOwner;
  FHiddenOwner =
      UniqueWindow(CreateWindowExW(0, WC_STATICW, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
  FControls = DialogControls();
  return CreateForm(instance, kTargetCadWindowClass, nullptr, kDialogExStyle, L"ターゲット CAD", kDialogStyle,
                    FHiddenOwner.Get());
}

bool TTargetCADForm::FormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = ScaleForDpi(kListRowHeight, Dpi());
      result = TRUE;
      return true;
    case WM_COMMAND: ControlCommand(LOWORD(wParam), HIWORD(wParam)); break;
    case DM_GETDEFID: result = MAKELRESULT(kTargetButton1, DC_HASDEFID); return true;
    case WM_CLOSE: CloseWith(IDCANCEL); break;
    default: return false;
  }
  result = 0;
  return true;
}

bool TTargetCADForm::FormCreated() {
  HWND window = Handle();
  if (!CreateControls(window, FControls)) return false;
  const VisualStyle& style = CurrentStyle();
  style.StyleTopLevel(window);
  for (const ControlDefinition& definition : FControls) style.StyleControl(Control(definition.id));
  FListBox1.Attach(Control(kTargetListBox1));
  for (int id : {kTargetEdit1, kTargetEdit2})
    SetWindowSubclass(Control(id), EnterKeyProc, kEnterSubclass, reinterpret_cast<DWORD_PTR>(this));
  for (int id : {kTargetSpeedButton1, kTargetSpeedButton2, kTargetSpeedButton3}) MakeNoFocusButton(Control(id));
  ApplyDpi(Dpi());
  return true;
}

void TTargetCADForm::ControlCommand(int id, int code) {
  if (code == EN_SETFOCUS) {
    CloseInputMethod(Control(id));
    return;
  }
  if (id == kTargetListBox1) {
    if (code == LBN_SELCHANGE) ListBox1Click();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kTargetSpeedButton1: SpeedButton1Click(); break;
    case kTargetSpeedButton2: SpeedButton2Click(); break;
    case kTargetSpeedButton3: SpeedButton3Click(); break;
    case kTargetButton1:
      Button1Click();
      CloseWith(IDOK);
      break;
    case kTargetButton2: CloseWith(IDCANCEL); break;
  }
}

int TTargetCADForm::ShowModal() {
  // A list file that cannot be read is reported; the dialog opens all the same.
  Guarded(
      [this] {
        FormShow();
        return 0;
      },
      0);
  PlaceOnFirstShowing();
  if (FModalOwner) EnableWindow(FModalOwner, FALSE);
  FModalResult = 0;
  ShowWindow(Handle(), SW_SHOW);
  RestoreFocus(Control(kTargetListBox1));
  MSG quit{};
  while (FModalResult == 0) {
    if (!PumpMessage(quit)) {
      // The outer loop must see the quit too.
      PostQuitMessage(static_cast<int>(quit.wParam));
      FModalResult = IDCANCEL;
    }
  }
  RememberFocus();
  if (FModalOwner) EnableWindow(FModalOwner, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  if (FModalOwner && IsWindowVisible(FModalOwner)) SetActiveWindow(FModalOwner);
  return FModalResult;
}

void TTargetCADForm::CloseWith(int result) { FModalResult = result; }

void TTargetCADForm::PlaceOnFirstShowing() {
  if (FPlaced) return;
  FPlaced = true;
  CentreOnMonitorOf(FModalOwner);
}

void TTargetCADForm::Relayout() {
  LayoutControls(Handle(), FControls, Dpi(), Fonts());
  SendMessageW(Control(kTargetListBox1), LB_SETITEMHEIGHT, 0, ScaleForDpi(kListRowHeight, Dpi()));
  // The labels grow to their captions, as auto-sized labels do.
  FitWidthToText(Control(kTargetLabel1));
  FitWidthToText(Control(kTargetLabel2));
}

void TTargetCADForm::FormShow() { TaregetCADUnit::FormShow(*this, FFile); }
void TTargetCADForm::ListBox1Click() { TaregetCADUnit::ListBox1Click(*this); }
void TTargetCADForm::SpeedButton1Click() { TaregetCADUnit::SpeedButton1Click(*this, FFile); }
void TTargetCADForm::SpeedButton2Click() { TaregetCADUnit::SpeedButton2Click(*this, FFile); }
void TTargetCADForm::SpeedButton3Click() { TaregetCADUnit::SpeedButton3Click(*this, FFile); }
bool TTargetCADForm::Edit1KeyPress(wchar_t key) { return TaregetCADUnit::Edit1KeyPress(*this, FFile, key); }

std::wstring TTargetCADForm::Edit1Text() const { return Text(Control(kTargetEdit1)); }
void TTargetCADForm::SetEdit1Text(const std::wstring& text) { SetText(Control(kTargetEdit1), text); }
std::wstring TTargetCADForm::Edit2Text() const { return Text(Control(kTargetEdit2)); }
void TTargetCADForm::SetEdit2Text(const std::wstring& text) { SetText(Control(kTargetEdit2), text); }
void TTargetCADForm::Beep() { MessageBeep(MB_OK); }
