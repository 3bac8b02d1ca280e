#include "ui/PlotForm.h"

#include <algorithm>

#include "cad/CallWait.h"
#include "cad/CallWatch.h"
#include "cad/TargetCad.h"
#include "common/ErrorText.h"
#include "pages/Pages.h"
#include "plot/PageRange.h"
#include "plot/PlotFileNames.h"
#include "theme/VisualStyle.h"
#include "ui/ControlIds.h"
#include "uilogic/PlotSheets.h"
#include "win/ErrorReporting.h"
#include "win/MessageLoop.h"
#include "win/Win32Controls.h"

namespace {

constexpr int kClientWidth = 440;
constexpr int kClientHeight = 428;
constexpr int kFont = -12;
constexpr wchar_t kNoStyle[] = L"なし";

constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kNote = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCombo = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kFirstRadio = WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON;

// In tab order; each field after its label.
constexpr std::array<ControlDefinition, 28> kControls{{
    {kPlotPagesLabel, WC_STATICW, kLabel | WS_GROUP, 0, {8, 10, 110, 16}, L"ページ:", kFont},
    {kPlotAllPages, WC_BUTTONW, kFirstRadio, 0, {120, 8, 150, 20}, L"すべてのページ(&A)", kFont},
    {kPlotShownPage, WC_BUTTONW, kRadio, 0, {276, 8, 156, 20}, L"表示中のページ(&C)", kFont},
    {kPlotRangePages, WC_BUTTONW, kRadio, 0, {120, 32, 110, 20}, L"ページ指定(&R):", kFont},
    {kPlotRangeEdit, WC_EDITW, kEdit | WS_GROUP, WS_EX_CLIENTEDGE, {232, 31, 200, 22}, L"", kFont},
    {kPlotRangeNote, WC_STATICW, kNote, 0, {120, 56, 312, 16}, L"", kFont},
    {kPlotOutputLabel, WC_STATICW, kLabel | WS_GROUP, 0, {8, 80, 110, 16}, L"出力:", kFont},
    {kPlotToPdf, WC_BUTTONW, kFirstRadio, 0, {120, 78, 150, 20}, L"PDF ファイル(&F)", kFont},
    {kPlotToPrinter, WC_BUTTONW, kRadio, 0, {276, 78, 156, 20}, L"プリンター(&T)", kFont},
    {kPlotDeviceLabel, WC_STATICW, kLabel | WS_GROUP, 0, {8, 110, 110, 16}, L"出力デバイス(&D):", kFont},
    {kPlotDeviceCombo, WC_COMBOBOXW, kCombo, 0, {120, 106, 312, 200}, L"", kFont},
    {kPlotMediaLabel, WC_STATICW, kLabel, 0, {8, 140, 110, 16}, L"用紙(&Z):", kFont},
    {kPlotMediaCombo, WC_COMBOBOXW, kCombo, 0, {120, 136, 312, 200}, L"", kFont},
    {kPlotStyleLabel, WC_STATICW, kLabel, 0, {8, 170, 110, 16}, L"印刷スタイル(&S):", kFont},
    {kPlotStyleCombo, WC_COMBOBOXW, kCombo, 0, {120, 166, 312, 200}, L"", kFont},
    {kPlotOrientationLabel, WC_STATICW, kLabel, 0, {8, 198, 110, 16}, L"向き:", kFont},
    {kPlotOrientationAuto, WC_BUTTONW, kFirstRadio, 0, {120, 196, 150, 20}, L"自動 (枠に合わせる)", kFont},
    {kPlotOrientationPaper, WC_BUTTONW, kRadio, 0, {276, 196, 156, 20}, L"用紙のまま", kFont},
    {kPlotFolderLabel, WC_STATICW, kLabel | WS_GROUP, 0, {8, 228, 110, 16}, L"保存先(&L):", kFont},
    {kPlotFolderEdit, WC_EDITW, kEdit, WS_EX_CLIENTEDGE, {120, 224, 232, 22}, L"", kFont},
    {kPlotFolderBrowse, WC_BUTTONW, kButton, 0, {358, 223, 74, 24}, L"参照...", kFont},
    {kPlotPatternLabel, WC_STATICW, kLabel, 0, {8, 258, 110, 16}, L"ファイル名(&N):", kFont},
    {kPlotPatternEdit, WC_EDITW, kEdit, WS_EX_CLIENTEDGE, {120, 254, 312, 22}, L"", kFont},
    {kPlotPreview, WC_STATICW, kNote, 0, {120, 279, 312, 18}, L"", kFont},
    {kPlotProgress, WC_STATICW, kNote, 0, {8, 306, 424, 80}, L"", kFont},
    {kPlotOpenFolder, WC_BUTTONW, kButton, 0, {8, 396, 120, 24}, L"フォルダーを開く", kFont},
    {kPlotButtonPlot, WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {262, 396, 82, 24}, L"印刷(&P)", kFont},
    {kPlotButtonCancel, WC_BUTTONW, kButton, 0, {350, 396, 82, 24}, L"キャンセル", kFont},
}};

// The controls that make the choices: disabled while plotting.
constexpr int kChoiceControls[] = {kPlotAllPages,     kPlotShownPage,       kPlotRangePages,       kPlotRangeEdit,
                                   kPlotToPdf,        kPlotToPrinter,       kPlotDeviceCombo,      kPlotMediaCombo,
                                   kPlotStyleCombo,   kPlotOrientationAuto, kPlotOrientationPaper, kPlotFolderEdit,
                                   kPlotFolderBrowse, kPlotPatternEdit,     kPlotButtonPlot};

void Check(HWND button, bool checked) { SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

void FillCombo(HWND combo, const std::vector<std::wstring>& items, size_t selected) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (selected < items.size()) SendMessageW(combo, CB_SETCURSEL, selected, 0);
}

size_t IndexOf(const std::vector<std::wstring>& values, const std::wstring& value, size_t otherwise) {
  const auto found = std::find(values.begin(), values.end(), value);
  return found == values.end() ? otherwise : static_cast<size_t>(found - values.begin());
}

// While the job runs, the pager's watch keeps the clicks on 中止 that it
// takes from the queue during a sheet's long call.
class KeptStopClicks {
 public:
  explicit KeptStopClicks(HWND button) {
    if (PagerCallWatch) PagerCallWatch->KeepClicksOn(button);
  }
  KeptStopClicks(const KeptStopClicks&) = delete;
  KeptStopClicks& operator=(const KeptStopClicks&) = delete;
  ~KeptStopClicks() {
    if (PagerCallWatch) PagerCallWatch->KeepClicksOn(nullptr);
  }
};

}  // namespace

TPlotForm::TPlotForm(Profile& settings, CadAccess cad, PlotRequest request, CadWork run)
    : FormWindow(kClientWidth, kClientHeight),
      FSettings(settings),
      FCad(cad),
      FRequest(std::move(request)),
      FRun(std::move(run)) {}

TPlotForm::~TPlotForm() {
  DestroyForm();
  ReleaseApplication();
}

void TPlotForm::ReleaseApplication() {
  if (!FApplication) return;
  try {
    FRun([this] { FApplication.reset(); });
  } catch (...) {
    // The release itself does not fail; a failing runner leaves it here.
    FApplication.reset();
  }
}

void TPlotForm::ShowModal(HINSTANCE instance, HWND owner) {
  const bool givenUp = FRun([this] {
    try {
      FApplication = AttachTarget(FCad.objects);
      FOffer = ReadPlotOffer(*FApplication);
    } catch (...) {
      FApplication.reset();
      throw;
    }
  });
  if (givenUp) {
    ReleaseApplication();
    throw AutomationError(hresult::CallCancelled, CancelledReason(TargetAppName));
  }
  FRemembered = LoadPlotSettings(FSettings);
  FDrawingStem = FOffer.identity ? DrawingStem(*FOffer.identity) : std::wstring();
  FOwner = owner;
  const std::wstring caption = L"印刷 — " + (FOffer.identity ? DrawingTitle(*FOffer.identity) : std::wstring());
  if (!CreateForm(instance, kPlotWindowClass, nullptr, kDialogExStyle, caption.c_str(), kDialogStyle, owner)) return;
  FillChoices();
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CentreOnMonitorOf(owner);
  EnableWindow(owner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetFocus(Control(kPlotButtonPlot));
  MSG quit{};
  while (!FClosed) {
    if (!PumpMessage(quit)) {
      PostQuitMessage(static_cast<int>(quit.wParam));
      break;
    }
  }
  EnableWindow(owner, TRUE);
  SetActiveWindow(owner);
  DestroyForm();
  ReleaseApplication();
}

bool TPlotForm::FormCreated() {
  HWND window = Handle();
  if (!CreateControls(window, kControls)) return false;
  const VisualStyle& style = CurrentStyle();
  style.StyleTopLevel(window);
  for (const ControlDefinition& definition : kControls) style.StyleControl(Control(definition.id));
  ShowWindow(Control(kPlotOpenFolder), SW_HIDE);
  ApplyDpi(Dpi());
  return true;
}

bool TPlotForm::FormMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      Guarded(
          [&] {
            ControlCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
          },
          0);
      break;
    case DM_GETDEFID: result = MAKELRESULT(kPlotButtonPlot, DC_HASDEFID); return true;
    case WM_CLOSE: CancelClick(); break;
    default: return false;
  }
  result = 0;
  return true;
}

void TPlotForm::Relayout() { LayoutControls(Handle(), kControls, Dpi(), Fonts()); }

void TPlotForm::FillChoices() {
  const bool remembered = FRemembered.remembered;
  Check(Control(kPlotAllPages), true);
  EnableWindow(Control(kPlotShownPage), FRequest.shownPage >= 0);
  Check(Control(remembered && FRemembered.toPrinter ? kPlotToPrinter : kPlotToPdf), true);
  Check(Control(remembered && FRemembered.asPaper ? kPlotOrientationPaper : kPlotOrientationAuto), true);

  std::vector<std::wstring> styles{kNoStyle};
  styles.insert(styles.end(), FOffer.styleTables.begin(), FOffer.styleTables.end());
  const std::wstring style = remembered ? FRemembered.styleSheet : FOffer.currentStyle;
  FillCombo(Control(kPlotStyleCombo), styles, IndexOf(styles, style.empty() ? kNoStyle : style, 0));

  std::wstring folder = remembered ? FRemembered.folder : std::wstring();
  if (folder.empty() && FOffer.identity) folder = DrawingFolder(*FOffer.identity);
  if (folder.empty()) folder = DocumentsFolder();
  SetText(Control(kPlotFolderEdit), folder);
  const std::wstring pattern =
      remembered && !FRemembered.pattern.empty() ? FRemembered.pattern : DefaultFileNamePattern(FRequest.tags);
  SetText(Control(kPlotPatternEdit), pattern);
  OutputChanged();
  if (remembered &&
      std::find(FOffer.devices.begin(), FOffer.devices.end(), FRemembered.device) != FOffer.devices.end()) {
    FillCombo(Control(kPlotDeviceCombo), FOffer.devices, IndexOf(FOffer.devices, FRemembered.device, 0));
    FillMedia(FRemembered.media);
  }
  Validate();
}

// The device the output asks for: the first PDF device for files, the
// layout's own for the printer.
void TPlotForm::OutputChanged() {
  const bool pdf = Output() == PlotOutput::PdfFile;
  const std::wstring device = pdf ? FirstPdfDevice(FOffer.devices) : FOffer.currentDevice;
  FillCombo(Control(kPlotDeviceCombo), FOffer.devices, IndexOf(FOffer.devices, device, 0));
  FillMedia(FOffer.currentMedia);
  for (const int id : {kPlotFolderEdit, kPlotFolderBrowse, kPlotPatternEdit}) EnableWindow(Control(id), pdf);
  Validate();
}

void TPlotForm::FillMedia(const std::wstring& preferred) {
  const std::wstring device = SelectedData(kPlotDeviceCombo, FOffer.devices);
  FMedia.clear();
  if (!device.empty()) FMedia = ReadDeviceMedia(*FApplication, device, FRun);
  std::vector<std::wstring> shown, canonical;
  for (const MediaChoice& media : FMedia) {
    shown.push_back(media.shownName);
    canonical.push_back(media.canonicalName);
  }
  FillCombo(Control(kPlotMediaCombo), shown, IndexOf(canonical, preferred, 0));
}

void TPlotForm::ControlCommand(int id, int code) {
  if (FPlotting && id != kPlotButtonCancel) return;
  if (code == EN_CHANGE) {
    if (id == kPlotRangeEdit && !Checked(Control(kPlotRangePages))) {
      Check(Control(kPlotAllPages), false);
      Check(Control(kPlotShownPage), false);
      Check(Control(kPlotRangePages), true);
    }
    Validate();
    return;
  }
  if (code == CBN_SELCHANGE) {
    if (id == kPlotDeviceCombo) FillMedia(FOffer.currentMedia);
    Validate();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kPlotAllPages:
    case kPlotShownPage:
    case kPlotRangePages: Validate(); break;
    case kPlotToPdf:
    case kPlotToPrinter: OutputChanged(); break;
    case kPlotFolderBrowse:
      if (const std::wstring folder = PickFolder(Handle(), Text(Control(kPlotFolderEdit))); !folder.empty())
        SetText(Control(kPlotFolderEdit), folder);
      break;
    case kPlotOpenFolder: OpenFolder(FWrittenFolder); break;
    case kPlotButtonPlot: PlotClick(); break;
    case kPlotButtonCancel: CancelClick(); break;
  }
}

PlotOutput TPlotForm::Output() const {
  return Checked(Control(kPlotToPrinter)) ? PlotOutput::Device : PlotOutput::PdfFile;
}

std::wstring TPlotForm::SelectedData(int comboId, const std::vector<std::wstring>& values) const {
  const LRESULT index = SendMessageW(Control(comboId), CB_GETCURSEL, 0, 0);
  return index >= 0 && static_cast<size_t>(index) < values.size() ? values[static_cast<size_t>(index)] : L"";
}

std::vector<int> TPlotForm::ChosenPages() const {
  const int count = static_cast<int>(FRequest.frames.size());
  if (Checked(Control(kPlotShownPage)) && FRequest.shownPage >= 0) return {FRequest.shownPage};
  if (Checked(Control(kPlotRangePages))) return ParsePageRange(Text(Control(kPlotRangeEdit)), count).pages;
  std::vector<int> all(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) all[static_cast<size_t>(i)] = i;
  return all;
}

// The plot button is enabled only for pages, a device and paper, and for
// PDF a folder that takes files; the fields say what is missing.
void TPlotForm::Validate() {
  const int count = static_cast<int>(FRequest.frames.size());
  std::wstring rangeNote;
  if (Checked(Control(kPlotRangePages))) rangeNote = ParsePageRange(Text(Control(kPlotRangeEdit)), count).error;
  SetText(Control(kPlotRangeNote), rangeNote);
  const std::vector<int> pages = ChosenPages();
  std::wstring preview;
  bool ready = !pages.empty() && SendMessageW(Control(kPlotMediaCombo), CB_GETCURSEL, 0, 0) >= 0;
  if (Output() == PlotOutput::PdfFile) {
    const std::wstring folder = Text(Control(kPlotFolderEdit));
    preview = FolderProblem(folder);
    if (preview.empty() && !pages.empty()) {
      const std::vector<int> first{pages.front()};
      const std::vector<PlotSheet> sheet = PlotSheetsFor(first, FRequest.frames, FRequest.names, FRequest.tags,
                                                         Text(Control(kPlotPatternEdit)), FDrawingStem);
      preview = FittedPath(folder, sheet.front().fileStem, L"", L".pdf");
      preview = preview.empty() ? L"保存先のパスが長すぎます" : DrawingTitle(preview);
    } else {
      ready = false;
    }
  }
  SetText(Control(kPlotPreview), preview);
  EnableWindow(Control(kPlotButtonPlot), ready);
}

void TPlotForm::PlotClick() {
  const PlotOutput output = Output();
  PlotChoices choices;
  choices.output = output;
  choices.device = SelectedData(kPlotDeviceCombo, FOffer.devices);
  const LRESULT media = SendMessageW(Control(kPlotMediaCombo), CB_GETCURSEL, 0, 0);
  if (media < 0 || static_cast<size_t>(media) >= FMedia.size()) return;
  choices.media = FMedia[static_cast<size_t>(media)].canonicalName;
  choices.styleSheet = SelectedData(kPlotStyleCombo, [this] {
    std::vector<std::wstring> styles{L""};
    styles.insert(styles.end(), FOffer.styleTables.begin(), FOffer.styleTables.end());
    return styles;
  }());
  choices.orientation = Checked(Control(kPlotOrientationPaper)) ? PlotOrientation::AsPaper : PlotOrientation::Auto;
  choices.folder = Text(Control(kPlotFolderEdit));
  const std::wstring pattern = Text(Control(kPlotPatternEdit));
  const std::vector<PlotSheet> sheets =
      PlotSheetsFor(ChosenPages(), FRequest.frames, FRequest.names, FRequest.tags, pattern, FDrawingStem);

  try {
    SavePlotSettings(
        FSettings, {choices.device, choices.media, choices.styleSheet, choices.orientation == PlotOrientation::AsPaper,
                    choices.folder, pattern, output == PlotOutput::Device, true});
  } catch (const std::exception& error) {
    ReportError(ExceptionText(error));
  }

  FPlotting = true;
  FStopRequested = false;
  for (const int id : kChoiceControls) EnableWindow(Control(id), FALSE);
  SetText(Control(kPlotButtonCancel), L"中止");
  SetFocus(Control(kPlotButtonCancel));
  PlotReport report;
  try {
    const KeptStopClicks kept(Control(kPlotButtonCancel));
    report = RunPlotJob(*FApplication, {TargetProgId, FOffer.identity}, choices, sheets, FFiles, *this, FRun);
  } catch (const std::exception& error) {
    report.stopped = ExceptionText(error);
  }
  FPlotting = false;
  FDone = true;
  ShowReport(report, output);
}

void TPlotForm::ShowReport(const PlotReport& report, PlotOutput output) {
  std::wstring text = PlotSummary(report, output);
  for (const SheetFailure& failure : report.failures) text += L"\r\n" + FailureLine(failure);
  for (const std::wstring& line : report.notRestored) text += L"\r\n" + line;
  SetText(Control(kPlotProgress), text);
  SetText(Control(kPlotButtonCancel), L"閉じる");
  EnableWindow(Control(kPlotButtonCancel), TRUE);
  if (!report.written.empty()) {
    FWrittenFolder = DrawingFolder(report.written.front());
    ShowWindow(Control(kPlotOpenFolder), SW_SHOW);
    EnableWindow(Control(kPlotOpenFolder), TRUE);
  }
  SetFocus(Control(kPlotButtonCancel));
}

void TPlotForm::CancelClick() {
  if (FPlotting) {
    if (FStopRequested) return;
    FStopRequested = true;
    EnableWindow(Control(kPlotButtonCancel), FALSE);
    SetText(Control(kPlotProgress), Text(Control(kPlotProgress)) + L"\r\n中止しています…");
    return;
  }
  FClosed = true;
}

// Asked after each sheet: a click on 中止 made during it, kept by the watch
// or still queued, stops the job now rather than after the next sheet.
bool TPlotForm::StopRequested() {
  if (PagerCallWatch && PagerCallWatch->TakeKeptClick()) CancelClick();
  PumpPendingMessages();
  return FStopRequested;
}

void TPlotForm::Plotting(size_t index, size_t count, const PlotSheet& sheet) {
  std::wstring line = std::to_wstring(index + 1) + L" / " + std::to_wstring(count) + L" を印刷中";
  if (!sheet.label.empty()) line += L" — " + sheet.label;
  if (FStopRequested) line += L"\r\n中止しています…";
  SetText(Control(kPlotProgress), line);
  // The CAD's call comes next and holds the thread: the dialog is painted now.
  PumpPendingMessages();
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Between sheets the dialog answers its clicks (中止) and repaints.
void TPlotForm::PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      FStopRequested = true;
      return;
    }
    if (IsDialogMessageW(Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
