#include "ui/PagerForm.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <utility>

#include "cad/CallWatch.h"
#include "cad/MessageFilter.h"
#include "cad/StopReason.h"
#include "cad/TargetCad.h"
#include "common/ErrorText.h"
#include "pages/Pages.h"
#include "pages/SheetNames.h"
#include "pages/StopReasons.h"
#include "pages/Waku.h"
#include "settings/WinMonitors.h"
#include "theme/StyledMenu.h"
#include "theme/VisualStyle.h"
#include "ui/ControlIds.h"
#include "ui/PlotForm.h"
#include "ui/SettingsForm.h"
#include "ui/TargetCADForm.h"
#include "uilogic/PageListText.h"
#include "uilogic/PageMenu.h"
#include "uilogic/PageNameText.h"
#include "uilogic/StatusTooltip.h"
#include "win/Application.h"
#include "win/Clipboard.h"
#include "win/Dpi.h"
#include "win/ErrorReporting.h"
#include "win/ParentMessages.h"
#include "win/Win32Controls.h"

namespace {

// A tool window that still owns the taskbar button: WS_EX_APPWINDOW puts an
// unowned window on the taskbar whatever its other styles.
constexpr DWORD kPagerStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kPagerExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_APPWINDOW;
constexpr int kClientWidth = 139;
constexpr int kClientHeight = 84;
constexpr int kFormFont = -11;
constexpr UINT kTopmostFlags = SWP_NOMOVE | SWP_NOSIZE;
constexpr UINT kReportStartProblems = WM_APP + 1;
constexpr UINT kFieldDoubleClicked = WM_APP + 2;  // wParam: the field's ID

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kReadOnlyEdit = ES_READONLY | ES_AUTOHSCROLL;

// In tab order.
constexpr std::array<ControlDefinition, 7> kControls{{
    {kPagerButton1, WC_BUTTONW, kButton, 0, {55, 28, 43, 25}, L"取得", kFormFont},
    {kPagerEdit1, WC_EDITW, WS_TABSTOP | kReadOnlyEdit, WS_EX_CLIENTEDGE, {55, 4, 80, 22}, kDefaultFrameLayer, -12},
    {kPagerCheckBox1, WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, 0, {7, 5, 42, 17}, L"左上", kFormFont},
    {kPagerButton2, WC_BUTTONW, kButton, 0, {4, 56, 64, 25}, L"<", kFormFont},
    {kPagerButton3, WC_BUTTONW, kButton, 0, {71, 56, 64, 25}, L">", kFormFont},
    {kPagerEdit2, WC_EDITW, kReadOnlyEdit | ES_CENTER, WS_EX_CLIENTEDGE, {4, 32, 49, 24}, L"", -13},
    {kPagerButton4, WC_BUTTONW, kButton, 0, {101, 28, 34, 25}, L"CAD", kFormFont},
}};

constexpr wchar_t kLayerHint[] = L"枠ポリラインの画層";
constexpr wchar_t kStatusHint[] = L"ページ番号";

struct Hint {
  int id;
  const wchar_t* text;
};
constexpr std::array<Hint, 7> kHints{{
    {kPagerButton1, L"枠ポリラインを取得"},
    {kPagerEdit1, kLayerHint},
    {kPagerCheckBox1, L"左上から枠を検出"},
    {kPagerButton2, L"直前のページ"},
    {kPagerButton3, L"次のページ"},
    {kPagerEdit2, kStatusHint},
    {kPagerButton4, L"ターゲットCADを変更"},
}};

constexpr UINT_PTR kDoubleClickSubclass = 2;

// A double click on a read-only field is the pager's to handle, after the
// click itself.
LRESULT CALLBACK DoubleClickProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_LBUTTONDBLCLK:
      PostMessageW(GetParent(field), kFieldDoubleClicked, static_cast<WPARAM>(GetDlgCtrlID(field)), 0);
      return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(field, DoubleClickProc, kDoubleClickSubclass); break;
  }
  return DefSubclassProc(field, message, wParam, lParam);
}

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

}  // namespace

TForm105::TForm105(Profile& settings, CadAccess cad)
    : FormWindow(kClientWidth, kClientHeight), FSettings(settings), FCad(cad) {}

TForm105::~TForm105() { DestroyForm(); }

bool TForm105::Create(HINSTANCE instance, HICON icon) {
  return CreateForm(instance, kPagerWindowClass, icon, kPagerExStyle, ApplicationTitle.c_str(), kPagerStyle, nullptr);
}

bool TForm105::FormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_COMMAND: ControlCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return true;
    case WM_ACTIVATE: Activated(LOWORD(wParam) != WA_INACTIVE); return true;
    case WM_MOUSEWHEEL: MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return true;
    case WM_CONTEXTMENU: ContextMenu(reinterpret_cast<HWND>(wParam), lParam); return true;
    case WM_HOTKEY: HotKeyPressed(wParam); return true;
    case kReportStartProblems: ReportError(FStartProblems); return true;
    case kFieldDoubleClicked: FieldDoubleClicked(static_cast<int>(wParam)); return true;
    case WM_CLOSE:
      // Delivered inside a call's wait, it must not destroy the window and
      // the watch under the command: the command gives up and the pager
      // closes after it.
      if (FCallWatch && FCallWatch->InCommand()) {
        FCallWatch->RequestClose();
        return true;
      }
      // Nor under an open dialog of the pager's: it closes after it.
      if (!FDialogOpen) return false;
      FCloseAfterDialog = true;
      return true;
    case WM_QUERYENDSESSION:
      SaveSettingsGuarded();
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      // The session ends without destroying the window.
      if (wParam) SaveSettingsGuarded();
      return true;
    case WM_DESTROY:
      FHotKeys.Unregister();
      PagerCallWatch = nullptr;
      FCallWatch.reset();
      SetStopReasonListener({});
      // Closing the pager ends the program, also when saving failed.
      Guarded(
          [this] {
            FormDestroy();
            return 0;
          },
          0);
      PostQuitMessage(0);
      return true;
  }
  return false;
}

bool TForm105::FormCreated() {
  HWND window = Handle();
  if (!CreateControls(window, kControls) ||
      !FTooltip.Create(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE))))
    return false;
  const VisualStyle& style = CurrentStyle();
  style.StyleTopLevel(window);
  style.StyleControl(FTooltip.Handle());
  for (const ControlDefinition& definition : kControls) style.StyleControl(Control(definition.id));
  for (const Hint& hint : kHints) FTooltip.Add(Control(hint.id), hint.text);
  PassMenuAndWheelToParent(Control(kPagerEdit1));
  PassMenuAndWheelToParent(Control(kPagerEdit2));
  for (int id : {kPagerEdit1, kPagerEdit2}) SetWindowSubclass(Control(id), DoubleClickProc, kDoubleClickSubclass, 0);
  ApplyDpi(Dpi());
  ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'C', kPagerCopyPageList}, {FCONTROL | FVIRTKEY, 'P', kPagerPlot}};
  FAccelerators.Reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
  FCallWatch = std::make_unique<CallWatch>(window, *this);
  PagerCallWatch = FCallWatch.get();
  SetStopReasonListener([this](const std::wstring& reason) { StopReasonChanged(reason); });
  FormCreate();
  RegisterHotKeys();
  return true;
}

void TForm105::FormCreate() {
  TargetProgId = kDefaultProgId;
  TargetAppName = kDefaultAppName;
  LoadSettings(FSettings, *this, WinMonitors());
  FSheetNames = LoadSheetNameSettings(FSettings);
  UpdateCaption();
  FMessageFilter.emplace();
}

void TForm105::SaveSettingsGuarded() {
  Guarded(
      [this] {
        SaveSettings(FSettings, *this);
        return 0;
      },
      0);
}

void TForm105::FormDestroy() {
  SaveSettings(FSettings, *this);
  // Not reached when the settings cannot be written: the filter then
  // stays until the pager object itself ends.
  FMessageFilter.reset();
}

void TForm105::ControlCommand(int id, int code, HWND control) {
  constexpr int kFromAccelerator = 1;
  if (!control && code == kFromAccelerator && id == kPagerCopyPageList) {
    CopySelectionOrPageList();
    return;
  }
  if (!control && code == kFromAccelerator && id == kPagerPlot) {
    PlotClick();
    return;
  }
  if (code == EN_SETFOCUS) CloseInputMethod(control);
  if (code != BN_CLICKED) return;
  switch (id) {
    case kPagerButton1: Button1Click(); break;
    case kPagerButton2:
    case kPagerButton3: Button2Click(control); break;
    case kPagerCheckBox1: CheckBox1Click(); break;
    case kPagerButton4: Button4Click(); break;
  }
}

void TForm105::Button1Click() {
  const WaitCursor wait;
  RunCommand([this] {
    GetCommand(*this, FCad);
    FOffersSettings = FoundNoFrame();
  });
}

bool TForm105::FoundNoFrame() const {
  const std::wstring& reason = StopReason();
  return reason == NothingSelectedReason(LayerName(), FBlockPattern) || reason == NoFrameAmongReason(LayerName());
}

void TForm105::Button2Click(HWND sender) {
  const StepDirection direction = sender == Control(kPagerButton3) ? StepDirection::Forward : StepDirection::Backward;
  RunCommand([this, direction] { StepCommand(*this, FCad, direction); });
}

// Every click runs Get again, whichever way the box changed.
void TForm105::CheckBox1Click() { Button1Click(); }

void TForm105::Button4Click() {
  HWND dialog = FTargetCadForm->Handle();
  SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kTopmostFlags);
  SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
  CurrentProgId = TargetProgId;
  if (FTargetCadForm->ShowModal() == IDOK) ChangeTarget(FTargetCadForm->Edit2Text(), FTargetCadForm->Edit1Text());
  SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, kTopmostFlags);
  UpdateCaption();
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
}

// Each whole notch is one step, towards the user the next page.
void TForm105::MouseWheel(int delta) {
  const int notches = FWheel.Add(delta);
  const StepDirection direction = notches < 0 ? StepDirection::Forward : StepDirection::Backward;
  RunCommand([this, notches, direction] {
    for (int i = 0; i < std::abs(notches); ++i) StepCommand(*this, FCad, direction);
  });
}

// A right click on the fields or between the controls, or the menu key
// wherever the focus is; a right click on a button opens nothing.
void TForm105::ContextMenu(HWND target, LPARAM position) {
  const POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  if (at.x == -1 && at.y == -1) {
    RECT status{};
    GetWindowRect(Control(kPagerEdit2), &status);
    ShowPageMenu(POINT{status.left, status.bottom});
    return;
  }
  if (target != Handle() && target != Control(kPagerEdit1) && target != Control(kPagerEdit2)) return;
  ShowPageMenu(at);
}

void TForm105::ShowPageMenu(POINT screen) {
  const int pages = static_cast<int>(Pages.WakuList().size());
  const std::optional<std::wstring>& drawing = Pages.CurrentIdentity();
  StyledMenu menu(Fonts().Font(kFormFont), Dpi());
  std::vector<PageMenuItem> items = PageMenuItems(pages, PageInStatus(Text(Control(kPagerEdit2)), pages),
                                                  drawing ? DrawingTitle(*drawing) : std::wstring());
  if (PageMenuShowsNames(pages)) AddPageNames(items, Pages.Names());
  const int widest = menu.TextWidthLimit(screen, PageMenuColumns(pages));
  const auto widthOf = [&menu](std::wstring_view text) { return menu.TextWidth(text); };
  for (const PageMenuItem& item : items)
    menu.Add(static_cast<UINT>(item.page), FitLabel(item.label, widest, widthOf), item.checked, item.enabled,
             item.newColumn);
  // Page items take the IDs 1 to pages.
  const UINT copyList = static_cast<UINT>(pages) + 1;
  const UINT plot = copyList + 1;
  const UINT settings = copyList + 2;
  menu.AddSeparator();
  menu.AddCommand(settings, kSettingsLabel);
  menu.AddCommand(plot, kPlotLabel);
  menu.AddSeparator();
  menu.Add(copyList, kCopyPageListLabel, false, pages > 0, false);
  FMenuOpen = true;
  const UINT chosen = menu.Track(Handle(), screen);
  FMenuOpen = false;
  if (chosen == plot) {
    PlotClick();
  } else if (chosen == copyList) {
    CopyPageList();
  } else if (chosen == settings) {
    OpenSettings();
  } else if (chosen != 0) {
    RunCommand([this, chosen] { GoToPageCommand(*this, FCad, static_cast<int>(chosen) - 1); });
  }
}

// Ctrl+C copies what the user selected in a field, as fields do.
void TForm105::CopySelectionOrPageList() {
  HWND focus = GetFocus();
  if (focus == Control(kPagerEdit1) || focus == Control(kPagerEdit2)) {
    DWORD start = 0, end = 0;
    SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start != end) {
      SendMessageW(focus, WM_COPY, 0, 0);
      return;
    }
  }
  CopyPageList();
}

// The list of the last Get; the CAD is not asked.
void TForm105::CopyPageList() {
  if (!PutTextOnClipboard(Handle(), PageListText(Pages.WakuList(), Pages.Names(), FSheetNames.tags)))
    ReportError(L"ページ一覧をクリップボードにコピーできません。");
}

// Without pages Get runs first; without pages after it, its reason stands
// and nothing opens. The dialog is modal: the pager's commands wait.
void TForm105::PlotClick() {
  if (!IsWindowEnabled(Handle())) return;
  if (Pages.WakuList().empty()) Button1Click();
  if (Pages.WakuList().empty()) return;
  const int pages = static_cast<int>(Pages.WakuList().size());
  PlotRequest request{Pages.WakuList(), Pages.Names(), FSheetNames.tags,
                      PageInStatus(Text(Control(kPagerEdit2)), pages) - 1};
  // Its CAD work runs in watched pieces, never the whole dialog as one
  // command: a piece given up leaves the next one free to call.
  TPlotForm form(FSettings, FCad, std::move(request),
                 [this](const std::function<void()>& work) { return RunCadWork(work); });
  SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kTopmostFlags);
  BeginStopReasons();
  RunDialog([&] {
    try {
      form.ShowModal(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE)), Handle());
    } catch (const AutomationError& error) {
      ReportCallFailure(error);
    }
  });
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
  UpdateStatusHint();
}

void TForm105::RunDialog(const std::function<void()>& dialog) {
  FDialogOpen = true;
  try {
    dialog();
  } catch (...) {
    FDialogOpen = false;
    throw;
  }
  FDialogOpen = false;
  // A close asked for meanwhile takes the pager's usual way now.
  if (std::exchange(FCloseAfterDialog, false)) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// Read once, here, and never written. Problems, of the hot keys and of
// [Waku] Order, are reported once the pager shows, so that the message box
// does not stand in for it.
void TForm105::RegisterHotKeys() {
  FHotKeyTexts = LoadHotKeyTexts(FSettings);
  std::vector<std::wstring> problems = FHotKeys.Register(Handle(), HotKeySettingsOf(FHotKeyTexts));
  if (!FSheetNames.problem.empty()) problems.push_back(FSheetNames.problem);
  if (problems.empty()) return;
  for (const std::wstring& problem : problems) FStartProblems += (FStartProblems.empty() ? L"" : L"\r\n") + problem;
  PostMessageW(Handle(), kReportStartProblems, 0, 0);
}

// As the button would: not while a modal dialog or message box has the
// pager disabled, nor while the page menu is open or a command runs, so
// that no command runs inside another's loop. Ignored, not kept for later.
void TForm105::HotKeyPressed(WPARAM id) {
  const std::optional<PagerCommand> command = PagerHotKeys::CommandOf(id);
  if (!command || !IsWindowEnabled(Handle()) || FMenuOpen || (FCallWatch && FCallWatch->InCommand())) return;
  switch (*command) {
    case PagerCommand::Next: Button2Click(Control(kPagerButton3)); break;
    case PagerCommand::Previous: Button2Click(Control(kPagerButton2)); break;
    case PagerCommand::Get: Button1Click(); break;
    case PagerCommand::Plot: PlotClick(); break;
  }
}

// The focus returns to the control that had it, Button1 the first time.
void TForm105::Activated(bool active) {
  if (active) {
    RestoreFocus(Control(kPagerButton1));
  } else {
    RememberFocus();
  }
}

void TForm105::RunCommand(const std::function<void()>& command) {
  FOffersSettings = false;
  {
    const WatchedCommand watched;
    command();
  }
  // A cancel's reason, said at the command's end, offers no dialog.
  FOffersSettings = FOffersSettings && FoundNoFrame();
  // Get takes its names only once it has shown the page: the hint follows.
  UpdateStatusHint();
}

bool TForm105::RunCadWork(const std::function<void()>& work) {
  const WatchedCommand watched;
  work();
  return FCallWatch && FCallWatch->Cancelled();
}

void TForm105::FieldDoubleClicked(int id) {
  if (id == kPagerEdit1 || (id == kPagerEdit2 && FOffersSettings)) OpenSettings();
}

// Above the pager while it shows, as the target CAD dialog is.
void TForm105::OpenSettings() {
  if (!IsWindowEnabled(Handle())) return;
  const SettingsValues before = CurrentSettings();
  TSettingsForm form(FCad.objects, [this](const std::function<void()>& work) { return RunCadWork(work); });
  if (!form.Create(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE)), Handle())) {
    ReportError(L"設定の画面を開けません。");
    return;
  }
  // Neither activated here: the dialog takes the keyboard once it shows.
  SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kTopmostFlags | SWP_NOACTIVATE);
  SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags | SWP_NOACTIVATE);
  std::optional<SettingsValues> chosen;
  RunDialog([&] { chosen = form.ShowModal(before, UpperLeft(), FHotKeys.Registered()); });
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
  if (chosen) ApplySettings(before, *chosen);
}

SettingsValues TForm105::CurrentSettings() const {
  return SettingsValues{LayerName(),      FBlockPattern,           FSheetNames.titleBlocks,
                        FSheetNames.tags, FSheetNames.orderByName, FHotKeyTexts};
}

// At once, and into page.ini at once: the next Get uses the values.
void TForm105::ApplySettings(const SettingsValues& before, const SettingsValues& after) {
  SetLayerText(after.layer);
  SetBlockPattern(after.blocks);
  FSheetNames.tags = after.tags;
  FSheetNames.titleBlocks = after.titleBlocks;
  FSheetNames.orderByName = after.orderByName;
  FSheetNames.problem.clear();
  FHotKeyTexts = after.hotKeys;
  FHotKeys.Unregister();
  std::vector<std::wstring> problems = FHotKeys.Register(Handle(), HotKeySettingsOf(FHotKeyTexts));
  try {
    if (const std::vector<ProfileChange> changes = SettingsChanges(before, after); !changes.empty())
      FSettings.WriteChanges(changes);
  } catch (const std::exception& error) {
    problems.push_back(ExceptionText(error));
  }
  FOffersSettings = false;
  UpdateStatusHint();
  std::wstring text;
  for (const std::wstring& problem : problems) text += (text.empty() ? L"" : L"\r\n") + problem;
  if (!text.empty()) ReportError(text);
}

// The status the commands read and write stays as it is underneath. Esc is
// the pager's while it waits, whichever window is in front.
void TForm105::ShowWaiting(bool waiting) {
  FWaitEscape.Reset();
  if (waiting && RegisterHotKey(Handle(), kWaitEscapeHotKey, MOD_NOREPEAT, VK_ESCAPE))
    FWaitEscape.Reset({Handle(), kWaitEscapeHotKey});
  HWND status = Control(kPagerEdit2);
  if (waiting) FStatusBeforeWaiting = Text(status);
  SetText(status, waiting ? std::wstring(kWaitingStatus) : FStatusBeforeWaiting);
  FTooltip.SetHint(status, waiting ? WaitingHint(TargetAppName)
                                   : StatusTooltipText(StatusHint(FStatusBeforeWaiting, Pages.Names()), StopReason()));
  UpdateWindow(status);
}

// Where the user finds it by resting the mouse on the status; and, for a
// support person, in a debug viewer.
void TForm105::StopReasonChanged(const std::wstring& reason) {
  UpdateStatusHint();
  if (!reason.empty()) OutputDebugStringW((L"PAGE: " + reason + L"\n").c_str());
}

void TForm105::UpdateCaption() { SetText(Handle(), ApplicationTitle + L" [" + TargetAppName + L"]"); }

void TForm105::Relayout() {
  LayoutControls(Handle(), kControls, Dpi(), Fonts());
  FTooltip.ApplyDpi(Dpi());
}

std::wstring TForm105::LayerName() const { return Text(Control(kPagerEdit1)); }
bool TForm105::UpperLeft() const { return Checked(Control(kPagerCheckBox1)); }
std::wstring TForm105::PageStatus() const { return Text(Control(kPagerEdit2)); }

void TForm105::SetPageStatus(const std::wstring& text) {
  HWND status = Control(kPagerEdit2);
  SetText(status, text);
  UpdateStatusHint();
  // Shown at once: the command goes on to wait for the CAD.
  UpdateWindow(status);
}

int TForm105::Width() const {
  const RECT rect = WindowRectOf(Handle());
  return rect.right - rect.left;
}

int TForm105::Height() const {
  const RECT rect = WindowRectOf(Handle());
  return rect.bottom - rect.top;
}

WindowOrigin TForm105::Origin() const {
  const RECT rect = WindowRectOf(Handle());
  return WindowOrigin{rect.left, rect.top};
}

void TForm105::MoveTo(WindowOrigin origin) {
  SetWindowPos(Handle(), nullptr, origin.left, origin.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FollowMonitorDpi();
}

// The page's name, or the plain hint, then the reason the last command
// stopped.
void TForm105::UpdateStatusHint() {
  HWND status = Control(kPagerEdit2);
  const std::wstring reason = FOffersSettings ? StopReason() + L"\n" + kOpenSettingsHint : StopReason();
  FTooltip.SetHint(status, StatusTooltipText(StatusHint(Text(status), Pages.Names()), reason));
}

std::wstring TForm105::LayerText() const { return Text(Control(kPagerEdit1)); }
void TForm105::SetLayerText(const std::wstring& layer) { SetText(Control(kPagerEdit1), layer); }

void TForm105::SetBlockPattern(const std::wstring& pattern) {
  FBlockPattern = pattern;
  std::wstring hint = kLayerHint;
  if (!pattern.empty()) hint += L"\n枠ブロック: " + pattern;
  FTooltip.SetHint(Control(kPagerEdit1), hint);
}
