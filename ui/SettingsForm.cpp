#include "ui/SettingsForm.h"

#include <algorithm>
#include <variant>

#include "cad/CallWait.h"
#include "cad/StopReason.h"
#include "cad/TargetCad.h"
#include "pages/DrawingContents.h"
#include "theme/VisualStyle.h"
#include "ui/ControlIds.h"
#include "win/Dpi.h"
#include "win/ErrorReporting.h"
#include "win/MessageLoop.h"
#include "win/Win32Controls.h"

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 548;
constexpr int kFont = -12;
constexpr UINT kReadDrawing = WM_APP + 1;
// Free for the moment a field's combination is tried; below the pager's
// own IDs.
constexpr int kTrialHotKey = 0xBEFF;

constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCheckList =
    WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_VSCROLL;

constexpr std::array<const wchar_t*, 3> kHotKeyLabels{L"次へ(&X):", L"前へ(&V):", L"取得(&G):"};
constexpr std::array<const wchar_t*, 2> kOrders{L"図面の並び (行ごと)", L"名前の順"};

int HotKeyId(int first, size_t field) { return first + static_cast<int>(field); }

// In tab order: each label before its control.
std::vector<ControlDefinition> DialogControls() {
  std::vector<ControlDefinition> controls{
      {kSettingsLayerLabel, WC_STATICW, kLabel, 0, {10, 13, 110, 16}, L"枠の画層(&L):", kFont},
      {kSettingsLayer,
       WC_COMBOBOXW,
       WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
       0,
       {125, 10, 325, 220},
       L"",
       kFont},
      {kSettingsFramesLabel, WC_STATICW, kLabel, 0, {10, 42, 215, 16}, L"枠ブロック(&B):", kFont},
      {kSettingsFrames, WC_LISTVIEWW, kCheckList, WS_EX_CLIENTEDGE, {10, 60, 215, 130}, L"", kFont},
      {kSettingsFramePatternLabel, WC_STATICW, kLabel, 0, {10, 199, 75, 16}, L"パターン(&P):", kFont},
      {kSettingsFramePattern, WC_EDITW, kEdit, WS_EX_CLIENTEDGE, {85, 196, 140, 22}, L"", kFont},
      {kSettingsTitlesLabel, WC_STATICW, kLabel, 0, {235, 42, 215, 16}, L"表題欄ブロック(&T):", kFont},
      {kSettingsTitles, WC_LISTVIEWW, kCheckList, WS_EX_CLIENTEDGE, {235, 60, 215, 130}, L"", kFont},
      {kSettingsTitlePatternLabel, WC_STATICW, kLabel, 0, {235, 199, 75, 16}, L"パターン(&A):", kFont},
      {kSettingsTitlePattern, WC_EDITW, kEdit, WS_EX_CLIENTEDGE, {310, 196, 140, 22}, L"", kFont},
      {kSettingsTagsLabel, WC_STATICW, kLabel, 0, {10, 228, 215, 16}, L"名前の属性(&N):", kFont},
      {kSettingsTags, WC_LISTVIEWW, kCheckList, WS_EX_CLIENTEDGE, {10, 246, 215, 110}, L"", kFont},
      {kSettingsTagUp, WC_BUTTONW, kButton, 0, {235, 246, 80, 24}, L"上へ(&U)", kFont},
      {kSettingsTagDown, WC_BUTTONW, kButton, 0, {235, 274, 80, 24}, L"下へ(&D)", kFont},
      {kSettingsOrderLabel, WC_STATICW, kLabel, 0, {235, 310, 215, 16}, L"並べ順(&O):", kFont},
      {kSettingsOrder, WC_COMBOBOXW, WS_TABSTOP | CBS_DROPDOWNLIST, 0, {235, 328, 215, 120}, L"", kFont},
      {kSettingsHotKeysLabel, WC_STATICW, kLabel, 0, {10, 368, 215, 16}, L"ホットキー", kFont},
  };
  for (size_t i = 0; i < kHotKeyLabels.size(); ++i) {
    const int top = 388 + 28 * static_cast<int>(i);
    controls.push_back(
        {HotKeyId(kSettingsHotKeyLabel, i), WC_STATICW, kLabel, 0, {20, top + 3, 70, 16}, kHotKeyLabels[i], kFont});
    controls.push_back(
        {HotKeyId(kSettingsHotKey, i), HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE, {90, top, 150, 22}, L"", kFont});
    controls.push_back({HotKeyId(kSettingsHotKeyNone, i), WC_BUTTONW, kButton, 0, {245, top, 50, 22}, L"なし", kFont});
    controls.push_back({HotKeyId(kSettingsHotKeyProblem, i),
                        WC_STATICW,
                        kLabel | SS_NOPREFIX,
                        0,
                        {300, top + 3, 150, 16},
                        L"",
                        kFont});
  }
  const std::vector<ControlDefinition> rest{
      {kSettingsTry, WC_BUTTONW, kButton, 0, {10, 476, 80, 25}, L"試す(&E)", kFont},
      {kSettingsTryResult, WC_STATICW, kLabel | SS_NOPREFIX, 0, {98, 474, 352, 32}, L"", kFont},
      {kSettingsReading, WC_STATICW, kLabel | SS_NOPREFIX | SS_ENDELLIPSIS, 0, {10, 518, 270, 16}, L"", kFont},
      {kSettingsOk, WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {290, 513, 75, 25}, L"OK", kFont},
      {kSettingsCancel, WC_BUTTONW, kButton, 0, {372, 513, 78, 25}, L"キャンセル", kFont},
  };
  controls.insert(controls.end(), rest.begin(), rest.end());
  return controls;
}

void SetUpCheckList(HWND list) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ListView_InsertColumn(list, 0, &column);
}

void FitColumn(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  ListView_SetColumnWidth(list, 0, client.right - client.left);
}

void FillCheckList(HWND list, const std::vector<std::wstring>& names, const std::function<bool(size_t)>& checked) {
  ListView_DeleteAllItems(list);
  for (size_t i = 0; i < names.size(); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<wchar_t*>(names[i].c_str());
    ListView_InsertItem(list, &item);
    ListView_SetCheckState(list, static_cast<int>(i), checked(i));
  }
}

std::vector<std::wstring> CheckedNames(HWND list, const std::vector<std::wstring>& names) {
  std::vector<std::wstring> checked;
  for (size_t i = 0; i < names.size(); ++i)
    if (ListView_GetCheckState(list, static_cast<int>(i))) checked.push_back(names[i]);
  return checked;
}

// The hot-key control's modifier flags are not those of RegisterHotKey.
KeyCombination CombinationOf(LRESULT hotKey) {
  const UINT flags = HIBYTE(LOWORD(hotKey));
  uint32_t modifiers = 0;
  if (flags & HOTKEYF_CONTROL) modifiers |= key_modifier::Ctrl;
  if (flags & HOTKEYF_ALT) modifiers |= key_modifier::Alt;
  if (flags & HOTKEYF_SHIFT) modifiers |= key_modifier::Shift;
  return KeyCombination{modifiers, LOBYTE(LOWORD(hotKey))};
}

WPARAM HotKeyOf(const KeyCombination& keys) {
  BYTE flags = 0;
  if (keys.modifiers & key_modifier::Ctrl) flags |= HOTKEYF_CONTROL;
  if (keys.modifiers & key_modifier::Alt) flags |= HOTKEYF_ALT;
  if (keys.modifiers & key_modifier::Shift) flags |= HOTKEYF_SHIFT;
  return MAKEWORD(static_cast<BYTE>(keys.key), flags);
}

// The values of the fields, as a pager view for 試す; its page status is
// the result beside the button, where the progress shows.
class TrialView : public PagerView {
 public:
  TrialView(const SettingsValues& values, bool upperLeft, HWND result)
      : FValues(values), FUpperLeft(upperLeft), FResult(result) {}

  std::wstring LayerName() const override { return FValues.layer; }
  bool UpperLeft() const override { return FUpperLeft; }
  std::wstring PageStatus() const override { return Text(FResult); }
  std::wstring BlockPattern() const override { return FValues.blocks; }
  std::vector<std::wstring> NameTags() const override { return FValues.tags; }
  std::wstring TitleBlockPattern() const override { return FValues.titleBlocks; }
  bool OrderByName() const override { return FValues.orderByName; }
  void SetPageStatus(const std::wstring& text) override {
    SetText(FResult, text);
    UpdateWindow(FResult);
  }

 private:
  const SettingsValues& FValues;
  bool FUpperLeft;
  HWND FResult;
};

}  // namespace

TSettingsForm::TSettingsForm(ObjectTable& objects, CadWork run)
    : FormWindow(kClientWidth, kClientHeight), FObjects(objects), FRun(std::move(run)) {}

TSettingsForm::~TSettingsForm() { DestroyForm(); }

bool TSettingsForm::Create(HINSTANCE instance, HWND modalOwner) {
  FModalOwner = modalOwner;
  FHiddenOwner =
      UniqueWindow(CreateWindowExW(0, WC_STATICW, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
  FControls = DialogControls();
  return CreateForm(instance, kSettingsWindowClass, nullptr, kDialogExStyle, L"設定", kDialogStyle, FHiddenOwner.Get());
}

bool TSettingsForm::FormCreated() {
  HWND window = Handle();
  if (!CreateControls(window, FControls)) return false;
  const VisualStyle& style = CurrentStyle();
  style.StyleTopLevel(window);
  for (const ControlDefinition& definition : FControls) style.StyleControl(Control(definition.id));
  for (int id : {kSettingsFrames, kSettingsTitles, kSettingsTags}) SetUpCheckList(Control(id));
  for (const wchar_t* order : kOrders)
    SendMessageW(Control(kSettingsOrder), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(order));
  for (size_t i = 0; i < kHotKeyLabels.size(); ++i)
    SendMessageW(Control(HotKeyId(kSettingsHotKey, i)), HKM_SETRULES, HKCOMB_NONE, HOTKEYF_CONTROL | HOTKEYF_ALT);
  ApplyDpi(DpiForWindow(window));
  return true;
}

void TSettingsForm::Relayout() {
  LayoutControls(Handle(), FControls, Dpi(), Fonts());
  for (int id : {kSettingsFrames, kSettingsTitles, kSettingsTags}) FitColumn(Control(id));
}

bool TSettingsForm::FormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_COMMAND:
      Guarded(
          [&] {
            ControlCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
          },
          0);
      return true;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code != LVN_ITEMCHANGED) return false;
      Guarded(
          [&] {
            ListChanged(static_cast<int>(header->idFrom), *reinterpret_cast<const NMLISTVIEW*>(lParam));
            return 0;
          },
          0);
      return true;
    }
    case kReadDrawing:
      Guarded(
          [this] {
            ReadDrawing();
            return 0;
          },
          0);
      return true;
    // The keyboard goes on where it was, the layer field the first time.
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        RememberFocus();
      else
        RestoreFocus(Control(kSettingsLayer));
      return true;
    case DM_GETDEFID: result = MAKELRESULT(kSettingsOk, DC_HASDEFID); return true;
    case WM_CLOSE: CloseWith(IDCANCEL); return true;
  }
  return false;
}

std::optional<SettingsValues> TSettingsForm::ShowModal(const SettingsValues& values, bool upperLeft,
                                                       std::vector<KeyCombination> pagerKeys) {
  FUpperLeft = upperLeft;
  FPagerKeys = std::move(pagerKeys);
  FBlocks.clear();
  FTagsRead.clear();
  FHotKeyTouched = {};
  ShowValues(values);
  if (FModalOwner) EnableWindow(FModalOwner, FALSE);
  FModalResult = 0;
  CentreOnMonitorOf(FModalOwner);
  ShowWindow(Handle(), SW_SHOW);
  SetActiveWindow(Handle());
  RestoreFocus(Control(kSettingsLayer));
  PostMessageW(Handle(), kReadDrawing, 0, 0);
  MSG quit{};
  while (FModalResult == 0) {
    if (!PumpMessage(quit)) {
      PostQuitMessage(static_cast<int>(quit.wParam));
      FModalResult = IDCANCEL;
    }
  }
  const SettingsValues chosen = Values();
  if (FModalOwner) EnableWindow(FModalOwner, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  if (FModalOwner && IsWindowVisible(FModalOwner)) SetActiveWindow(FModalOwner);
  if (FModalResult != IDOK) return std::nullopt;
  return chosen;
}

void TSettingsForm::CloseWith(int result) { FModalResult = result; }

void TSettingsForm::ShowValues(const SettingsValues& values) {
  FShown = values;
  FFilling = true;
  SetText(Control(kSettingsLayer), values.layer);
  SetText(Control(kSettingsFramePattern), values.blocks);
  SetText(Control(kSettingsTitlePattern), values.titleBlocks);
  ListView_DeleteAllItems(Control(kSettingsFrames));
  ListView_DeleteAllItems(Control(kSettingsTitles));
  FTags.clear();
  for (const std::wstring& tag : values.tags) FTags.push_back(TagChoice{tag, true});
  FillTags(-1);
  SendMessageW(Control(kSettingsOrder), CB_SETCURSEL, values.orderByName ? 1 : 0, 0);
  for (size_t i = 0; i < kHotKeyLabels.size(); ++i) {
    const auto parsed = ParseKeyCombination(values.hotKeys[i]);
    const WPARAM hotKey =
        std::holds_alternative<KeyCombination>(parsed) ? HotKeyOf(std::get<KeyCombination>(parsed)) : 0;
    SendMessageW(Control(HotKeyId(kSettingsHotKey, i)), HKM_SETHOTKEY, hotKey, 0);
    SetText(Control(HotKeyId(kSettingsHotKeyProblem, i)), L"");
  }
  SetText(Control(kSettingsTryResult), L"");
  SetText(Control(kSettingsReading), L"");
  FFilling = false;
  UpdateOrder();
}

SettingsValues TSettingsForm::Values() const {
  SettingsValues values;
  values.layer = Text(Control(kSettingsLayer));
  values.blocks = BlockPatternOf(CheckedNames(Control(kSettingsFrames), FBlocks), Text(Control(kSettingsFramePattern)));
  values.titleBlocks =
      BlockPatternOf(CheckedNames(Control(kSettingsTitles), FBlocks), Text(Control(kSettingsTitlePattern)));
  values.tags = CheckedTags(FTags);
  values.orderByName = !values.tags.empty() && SendMessageW(Control(kSettingsOrder), CB_GETCURSEL, 0, 0) == 1;
  // The commands without a field here keep their combinations.
  values.hotKeys = FShown.hotKeys;
  for (size_t i = 0; i < kHotKeyLabels.size(); ++i) {
    if (!FHotKeyTouched[i]) continue;
    const LRESULT hotKey = SendMessageW(Control(HotKeyId(kSettingsHotKey, i)), HKM_GETHOTKEY, 0, 0);
    values.hotKeys[i] = LOBYTE(LOWORD(hotKey)) ? KeyCombinationText(CombinationOf(hotKey)).value_or(L"") : L"";
  }
  return values;
}

void TSettingsForm::ControlCommand(int id, int code) {
  if (code == EN_CHANGE) {
    for (size_t i = 0; i < kHotKeyLabels.size(); ++i)
      if (id == HotKeyId(kSettingsHotKey, i) && !FFilling) HotKeyChanged(i);
    return;
  }
  if (code != BN_CLICKED) return;
  for (size_t i = 0; i < kHotKeyLabels.size(); ++i)
    if (id == HotKeyId(kSettingsHotKeyNone, i)) ClearHotKey(i);
  switch (id) {
    case kSettingsTagUp: MoveTag(-1); break;
    case kSettingsTagDown: MoveTag(+1); break;
    case kSettingsTry: TryButtonClick(); break;
    case kSettingsOk: CloseWith(IDOK); break;
    case kSettingsCancel: CloseWith(IDCANCEL); break;
  }
}

void TSettingsForm::ListChanged(int id, const NMLISTVIEW& change) {
  const bool checkChanged =
      (change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK);
  if (FFilling || !checkChanged || change.iItem < 0) return;
  const auto item = static_cast<size_t>(change.iItem);
  const bool checked = ListView_GetCheckState(Control(id), change.iItem) != FALSE;
  if (id == kSettingsTags) {
    if (item < FTags.size()) FTags[item].checked = checked;
    UpdateOrder();
  } else if (checked && item < FBlocks.size()) {
    // Read when checked, and only then.
    ReadTags(TagBlocks());
  }
}

std::wstring TSettingsForm::ReadFromDrawing(const std::function<void(DispatchObject& document)>& read) {
  std::wstring reason;
  const bool cancelled = FRun([&] {
    const ActiveDrawing drawing = AttachActiveDrawing(FObjects);
    reason = drawing.reason;
    if (!drawing.document) return;
    try {
      read(*drawing.document);
    } catch (const std::exception& error) {
      reason = CallFailureText(error);
    }
  });
  return cancelled ? CancelledReason(TargetAppName) : reason;
}

// The lists are filled from the drawing once the dialog shows; the typed
// values stay and become checks where they name a listed block.
void TSettingsForm::ReadDrawing() {
  HWND reading = Control(kSettingsReading);
  SetText(reading, L"図面を読んでいます…");
  UpdateWindow(reading);
  std::vector<std::wstring> layers, blocks;
  SetText(reading, ReadFromDrawing([&](DispatchObject& document) {
            layers = ReadLayerNames(document);
            blocks = ReadBlockNames(document);
          }));
  FFilling = true;
  HWND layer = Control(kSettingsLayer);
  const std::wstring typedLayer = Text(layer);
  for (const std::wstring& name : layers) SendMessageW(layer, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SetText(layer, typedLayer);
  FBlocks = blocks;
  for (const auto& [list, pattern] :
       {std::pair{kSettingsFrames, kSettingsFramePattern}, std::pair{kSettingsTitles, kSettingsTitlePattern}}) {
    const PatternChoice choice = SplitBlockPattern(Text(Control(pattern)), FBlocks);
    FillCheckList(Control(list), FBlocks, [&](size_t i) {
      return std::find(choice.checked.begin(), choice.checked.end(), FBlocks[i]) != choice.checked.end();
    });
    SetText(Control(pattern), choice.typed);
  }
  FFilling = false;
  ReadTags(TagBlocks());
}

// The checked title blocks carry the names; without any, the frame blocks.
std::vector<std::wstring> TSettingsForm::TagBlocks() const {
  std::vector<std::wstring> titles = CheckedNames(Control(kSettingsTitles), FBlocks);
  return titles.empty() ? CheckedNames(Control(kSettingsFrames), FBlocks) : titles;
}

void TSettingsForm::ReadTags(const std::vector<std::wstring>& blocks) {
  std::vector<std::wstring> unread;
  for (const std::wstring& block : blocks)
    if (!FTagsRead.contains(block)) unread.push_back(block);
  if (!unread.empty()) {
    const std::wstring reason = ReadFromDrawing([&](DispatchObject& document) {
      for (const std::wstring& block : unread) FTagsRead[block] = ReadAttributeTags(document, block);
    });
    if (!reason.empty()) SetText(Control(kSettingsReading), reason);
  }
  const size_t before = FTags.size();
  for (const std::wstring& block : blocks)
    if (const auto read = FTagsRead.find(block); read != FTagsRead.end()) AddTagChoices(FTags, read->second);
  if (FTags.size() != before) FillTags(-1);
}

void TSettingsForm::FillTags(int selected) {
  HWND list = Control(kSettingsTags);
  std::vector<std::wstring> tags;
  for (const TagChoice& choice : FTags) tags.push_back(choice.tag);
  const bool filling = FFilling;
  FFilling = true;
  FillCheckList(list, tags, [this](size_t i) { return FTags[i].checked; });
  FFilling = filling;
  if (selected >= 0) {
    ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, selected, FALSE);
  }
}

void TSettingsForm::MoveTag(int direction) {
  const int selected = ListView_GetNextItem(Control(kSettingsTags), -1, LVNI_SELECTED);
  if (selected < 0 || !MoveTagChoice(FTags, static_cast<size_t>(selected), direction)) return;
  FillTags(selected + direction);
}

// The name order needs names.
void TSettingsForm::UpdateOrder() { EnableWindow(Control(kSettingsOrder), !CheckedTags(FTags).empty()); }

// Said at once, beside the field, not at the next start.
void TSettingsForm::HotKeyChanged(size_t field) {
  FHotKeyTouched[field] = true;
  const LRESULT hotKey = SendMessageW(Control(HotKeyId(kSettingsHotKey, field)), HKM_GETHOTKEY, 0, 0);
  std::wstring problem;
  if (LOBYTE(LOWORD(hotKey))) {
    std::vector<KeyCombination> earlier;
    for (size_t i = 0; i < field; ++i) {
      const LRESULT other = SendMessageW(Control(HotKeyId(kSettingsHotKey, i)), HKM_GETHOTKEY, 0, 0);
      if (LOBYTE(LOWORD(other))) earlier.push_back(CombinationOf(other));
    }
    problem = HotKeyFieldProblem(CombinationOf(hotKey), earlier, FPagerKeys, [this](const KeyCombination& keys) {
      if (!RegisterHotKey(Handle(), kTrialHotKey, keys.modifiers | MOD_NOREPEAT, keys.key)) return false;
      UnregisterHotKey(Handle(), kTrialHotKey);
      return true;
    });
  }
  SetText(Control(HotKeyId(kSettingsHotKeyProblem, field)), problem);
}

void TSettingsForm::ClearHotKey(size_t field) {
  SendMessageW(Control(HotKeyId(kSettingsHotKey, field)), HKM_SETHOTKEY, 0, 0);
  FHotKeyTouched[field] = true;
  SetText(Control(HotKeyId(kSettingsHotKeyProblem, field)), L"");
}

void TSettingsForm::TryButtonClick() {
  const WaitCursor wait;
  const SettingsValues values = Values();
  HWND result = Control(kSettingsTryResult);
  TrialView view(values, FUpperLeft, result);
  SetText(result, L"…");
  UpdateWindow(result);
  PageTrial trial;
  const bool cancelled = FRun([&] { trial = TryPages(view, FObjects); });
  SetText(result, cancelled ? CancelledReason(TargetAppName) : TrialText(trial));
}
