// Window classes and control IDs of page.exe, fixed so that end-to-end
// tests can reach every control with FindWindowW and GetDlgItem.
//
//   HWND pager = FindWindowW(kPagerWindowClass, nullptr);
//   HWND get = GetDlgItem(pager, kPagerButton1);
//
// The target CAD dialog is an owned popup of the pager:
//   HWND dialog = FindWindowW(kTargetCadWindowClass, nullptr);
#pragma once

inline constexpr wchar_t kPagerWindowClass[] = L"TForm105";
inline constexpr wchar_t kTargetCadWindowClass[] = L"TTargetCADForm";

// TForm105
inline constexpr int kPagerButton1 = 1001;    // 取得 (Get)
inline constexpr int kPagerEdit1 = 1002;      // layer name
inline constexpr int kPagerCheckBox1 = 1003;  // 左上 (upper-left)
inline constexpr int kPagerButton2 = 1004;    // < (previous page)
inline constexpr int kPagerButton3 = 1005;    // > (next page)
inline constexpr int kPagerEdit2 = 1006;      // page status
inline constexpr int kPagerButton4 = 1007;    // CAD (change target)

// The command of Ctrl+C in the pager: the page list to the clipboard.
inline constexpr int kPagerCopyPageList = 1008;
// The command of Ctrl+P in the pager: the plot dialog.
inline constexpr int kPagerPlot = 1009;

// TTargetCADForm. Button1 and Button2 carry the standard IDs, so Enter and
// Esc close the dialog as in any Windows dialog.
inline constexpr int kTargetButton1 = 1;  // OK (IDOK)
inline constexpr int kTargetButton2 = 2;  // 取り消し (IDCANCEL)
inline constexpr int kTargetListBox1 = 2001;
inline constexpr int kTargetGroupBox1 = 2002;
inline constexpr int kTargetLabel1 = 2003;
inline constexpr int kTargetEdit1 = 2004;  // display name
inline constexpr int kTargetLabel2 = 2005;
inline constexpr int kTargetEdit2 = 2006;         // ProgID
inline constexpr int kTargetSpeedButton1 = 2007;  // 追加 (Add)
inline constexpr int kTargetSpeedButton2 = 2008;  // 削除 (Delete)
inline constexpr int kTargetSpeedButton3 = 2009;  // 変更 (Change)

// TSettingsForm, the settings dialog (設定), an owned-by-none popup modal to
// the pager like the target CAD dialog. OK and キャンセル carry the standard
// IDs. Each list and field follows its label in the tab order.
inline constexpr wchar_t kSettingsWindowClass[] = L"TSettingsForm";
inline constexpr int kSettingsOk = 1;      // IDOK
inline constexpr int kSettingsCancel = 2;  // IDCANCEL
inline constexpr int kSettingsLayerLabel = 3001;
inline constexpr int kSettingsLayer = 3002;  // editable drop-down of the layers
inline constexpr int kSettingsFramesLabel = 3003;
inline constexpr int kSettingsFrames = 3004;  // list view with check boxes
inline constexpr int kSettingsFramePatternLabel = 3005;
inline constexpr int kSettingsFramePattern = 3006;
inline constexpr int kSettingsTitlesLabel = 3007;
inline constexpr int kSettingsTitles = 3008;
inline constexpr int kSettingsTitlePatternLabel = 3009;
inline constexpr int kSettingsTitlePattern = 3010;
inline constexpr int kSettingsTagsLabel = 3011;
inline constexpr int kSettingsTags = 3012;
inline constexpr int kSettingsTagUp = 3013;
inline constexpr int kSettingsTagDown = 3014;
inline constexpr int kSettingsOrderLabel = 3015;
inline constexpr int kSettingsOrder = 3016;  // drop-down list: reading order, name order
inline constexpr int kSettingsHotKeysLabel = 3017;
// Per command (Next, Previous, Get): label, hot-key field, なし, problem.
inline constexpr int kSettingsHotKeyLabel = 3020;
inline constexpr int kSettingsHotKey = 3023;
inline constexpr int kSettingsHotKeyNone = 3026;
inline constexpr int kSettingsHotKeyProblem = 3029;
inline constexpr int kSettingsTry = 3032;        // 試す
inline constexpr int kSettingsTryResult = 3033;  // what 試す found
inline constexpr int kSettingsReading = 3034;    // why the lists stay empty

// The plot dialog, an owned popup of the pager while it is open:
//   HWND dialog = FindWindowW(kPlotWindowClass, nullptr);
// Every field and drop-down follows its label in the z-order. The plot
// button carries IDOK and the cancel button IDCANCEL; the latter reads 中止
// while sheets are plotted and 閉じる after.
inline constexpr wchar_t kPlotWindowClass[] = L"TPlotForm";
inline constexpr int kPlotButtonPlot = 1;    // 印刷 (IDOK)
inline constexpr int kPlotButtonCancel = 2;  // キャンセル / 中止 / 閉じる (IDCANCEL)
inline constexpr int kPlotPagesLabel = 3001;
inline constexpr int kPlotAllPages = 3002;
inline constexpr int kPlotShownPage = 3003;
inline constexpr int kPlotRangePages = 3004;
inline constexpr int kPlotRangeEdit = 3005;
inline constexpr int kPlotRangeNote = 3006;
inline constexpr int kPlotOutputLabel = 3007;
inline constexpr int kPlotToPdf = 3008;
inline constexpr int kPlotToPrinter = 3009;
inline constexpr int kPlotDeviceLabel = 3010;
inline constexpr int kPlotDeviceCombo = 3011;
inline constexpr int kPlotMediaLabel = 3012;
inline constexpr int kPlotMediaCombo = 3013;
inline constexpr int kPlotStyleLabel = 3014;
inline constexpr int kPlotStyleCombo = 3015;
inline constexpr int kPlotOrientationLabel = 3016;
inline constexpr int kPlotOrientationAuto = 3017;
inline constexpr int kPlotOrientationPaper = 3018;
inline constexpr int kPlotFolderLabel = 3019;
inline constexpr int kPlotFolderEdit = 3020;
inline constexpr int kPlotFolderBrowse = 3021;
inline constexpr int kPlotPatternLabel = 3022;
inline constexpr int kPlotPatternEdit = 3023;
inline constexpr int kPlotPreview = 3024;   // the first file name, or why the folder will not do
inline constexpr int kPlotProgress = 3025;  // "3 / 12 を印刷中 — …", then the end report
inline constexpr int kPlotOpenFolder = 3026;
