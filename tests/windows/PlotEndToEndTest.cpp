// Plotting with the real page.exe against simcad.exe: the dialog opened
// from the pager, the sheets written as PDF files named by the pattern,
// and the CAD's model layout left as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Eventually.h"
#include "PageProcess.h"
#include "SimCadProcess.h"
#include "WindowShot.h"
#include "common/Unicode.h"
#include "ui/ControlIds.h"

namespace {

constexpr wchar_t kBricscad[] = L"BricscadApp.AcadApplication";

std::filesystem::path ScreenshotFolder() {
  std::filesystem::path folder(PAGE_SCREENSHOT_FOLDER);
  std::filesystem::create_directories(folder);
  return folder;
}

// Every plot setting of the active layout, and BACKGROUNDPLOT and
// QuietErrorMode, on one line.
std::wstring LayoutSettings(DispatchObject& application) {
  const DispatchPtr document = GetObjectValue(application, L"ActiveDocument");
  const DispatchPtr layout = GetObjectValue(*document, L"ActiveLayout");
  std::wstring text;
  for (const wchar_t* member : {L"ConfigName", L"CanonicalMediaName", L"PlotType", L"PlotRotation", L"CenterPlot",
                                L"UseStandardScale", L"StandardScale", L"StyleSheet", L"PlotWithPlotStyles"})
    text += std::wstring(member) + L"=" + Describe(GetValue(*layout, member)) + L" ";
  const Variant window[] = {Variant::ByRef(Variant()), Variant::ByRef(Variant())};
  CallMethod(*layout, L"GetWindowToPlot", window);
  const Variant scale[] = {Variant::ByRef(Variant()), Variant::ByRef(Variant())};
  CallMethod(*layout, L"GetCustomScale", scale);
  const Variant name[] = {Variant(L"BACKGROUNDPLOT")};
  text += L"window=" + Describe(window[0].Deref()) + Describe(window[1].Deref()) + L" scale=" +
          Describe(scale[0].Deref()) + L":" + Describe(scale[1].Deref()) + L" BACKGROUNDPLOT=" +
          Describe(CallMethod(*document, L"GetVariable", name)) + L" QuietErrorMode=" +
          Describe(GetValue(*GetObjectValue(*document, L"Plot"), L"QuietErrorMode"));
  return text;
}

std::set<std::wstring> FilesIn(const std::filesystem::path& folder) {
  std::set<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().wstring());
  return names;
}

class PlotEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::wstring ini = FFolder.SettingsFile();
    ASSERT_TRUE(WritePrivateProfileStringW(L"Waku", L"Blocks", L"図枠*,FRAME-A#", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Waku", L"Names", L"図番,図名", ini.c_str()));
    FOutput = std::filesystem::path(FFolder.Path()) / L"plot";
    std::filesystem::create_directories(FOutput);
    FCad = std::make_unique<SimCadProcess>(std::vector<std::wstring>{kBricscad},
                                           std::vector<std::wstring>{TitlesDrawingPath()});
    FApplication = AttachSimCad(kBricscad);
    FPage = std::make_unique<PageProcess>(FFolder.Program());
    FPage->Pager().Click(kPagerButton1);
    ASSERT_TRUE(FPage->Pager().WaitForStatus(L"10 / 11")) << testing::PrintToString(FPage->Pager().Status());
  }
  void TearDown() override {
    FPage.reset();
    FApplication.reset();
    FCad.reset();
  }

  // Ctrl+P, as the pager's accelerator table delivers it, or the page
  // menu's mnemonic P typed; the dialog with its folder set to the test's
  // output folder.
  HWND OpenPlotDialog(bool fromMenu = false) {
    const PagerWindow& pager = FPage->Pager();
    if (fromMenu) {
      SetForegroundWindow(pager.Handle());
      pager.PostStatusContextMenu();
      if (!FPage->WaitForWindow(L"#32768")) return nullptr;
      INPUT keys[2] = {INPUT{INPUT_KEYBOARD, {.ki = {'P', 0, 0, 0, 0}}},
                       INPUT{INPUT_KEYBOARD, {.ki = {'P', 0, KEYEVENTF_KEYUP, 0, 0}}}};
      SendInput(2, keys, sizeof(INPUT));
    } else {
      PostMessageW(pager.Handle(), WM_COMMAND, MAKEWPARAM(kPagerPlot, 1), 0);
    }
    HWND dialog = FPage->WaitForWindow(kPlotWindowClass);
    if (!dialog) return nullptr;
    SendMessageW(GetDlgItem(dialog, kPlotFolderEdit), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(FOutput.wstring().c_str()));
    return dialog;
  }
  // The plot started, its second sheet's call stalled for stall ms and
  // waited on past the patience (待機中); the dialog, or nullptr.
  HWND PlotIntoAStalledSecondSheet(int32_t stall) {
    SimCall(*FApplication, L"SimStallOn", {Variant(L"PlotToFile"), Variant(int32_t{2}), Variant(stall)});
    HWND dialog = OpenPlotDialog();
    if (!dialog || !Eventually([&] { return IsWindowEnabled(GetDlgItem(dialog, kPlotButtonPlot)) != FALSE; }))
      return nullptr;
    PostClick(GetDlgItem(dialog, kPlotButtonPlot));
    return FPage->Pager().WaitForStatus(L"待機中") ? dialog : nullptr;
  }
  static std::wstring Progress(HWND dialog) { return RemoteTextOrEmpty(GetDlgItem(dialog, kPlotProgress)); }
  static bool Ended(HWND dialog) { return RemoteTextOrEmpty(GetDlgItem(dialog, kPlotButtonCancel)) == L"閉じる"; }

  PageProgramFolder FFolder;
  std::filesystem::path FOutput;
  std::unique_ptr<SimCadProcess> FCad;
  DispatchPtr FApplication;
  std::unique_ptr<PageProcess> FPage;
};

TEST_F(PlotEndToEndTest, EveryPageBecomesANamedPdfAndTheLayoutIsAsBefore) {
  const std::wstring before = LayoutSettings(*FApplication);
  // The second sheet takes a few seconds, long enough to see the progress.
  SimCall(*FApplication, L"SimStallOn", {Variant(L"PlotToFile"), Variant(int32_t{2}), Variant(int32_t{3000})});
  HWND dialog = OpenPlotDialog();
  ASSERT_NE(dialog, nullptr) << "no plot dialog";
  EXPECT_EQ(RemoteTextOrEmpty(dialog), L"印刷 — titles-1-00.dxf");
  ASSERT_TRUE(Eventually([&] { return RemoteTextOrEmpty(GetDlgItem(dialog, kPlotPreview)) == L"01__.pdf"; }))
      << ToUtf8(RemoteTextOrEmpty(GetDlgItem(dialog, kPlotPreview)));
  ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kPlotButtonPlot)));
  Sleep(1000);
  EXPECT_NO_THROW(SaveWindowShot(dialog, (ScreenshotFolder() / L"plot-dialog-choices.png").wstring()));
  PostClick(GetDlgItem(dialog, kPlotButtonPlot));
  ASSERT_TRUE(Eventually([&] { return Progress(dialog).starts_with(L"2 / 11 を印刷中"); })) << ToUtf8(Progress(dialog));
  // The dialog paints itself before the stalled call; the shot only waits for that.
  Sleep(1000);
  EXPECT_NO_THROW(SaveWindowShot(dialog, (ScreenshotFolder() / L"plot-dialog.png").wstring()));
  ASSERT_TRUE(Eventually([&] { return Ended(dialog); })) << ToUtf8(Progress(dialog));
  EXPECT_EQ(Progress(dialog), L"11 枚を保存しました");

  const std::set<std::wstring> files = FilesIn(FOutput);
  EXPECT_EQ(files.size(), 11u);
  EXPECT_EQ(files.count(L"01__.pdf"), 1u);
  EXPECT_EQ(files.count(L"04_a-15_10階平面図.pdf"), 1u);
  EXPECT_EQ(files.count(L"11_A-35_.pdf"), 1u);
  for (const std::wstring& file : files) EXPECT_GT(std::filesystem::file_size(FOutput / file), 400u) << ToUtf8(file);
  std::filesystem::copy_file(FOutput / L"04_a-15_10階平面図.pdf", ScreenshotFolder() / L"plot-sheet-04.pdf",
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(LayoutSettings(*FApplication), before);

  // The choices are remembered for the next time.
  wchar_t device[256]{};
  GetPrivateProfileStringW(L"Plot", L"Device", L"", device, 256, FFolder.SettingsFile().c_str());
  EXPECT_STREQ(device, L"Print As PDF.pc3");
}

TEST_F(PlotEndToEndTest, ARangeIsPlottedAndAFailingSheetIsReportedWhileTheOthersAreWritten) {
  const std::wstring before = LayoutSettings(*FApplication);
  SimCall(*FApplication, L"SimRefusePlotOn", {Variant(int32_t{2})});
  HWND dialog = OpenPlotDialog(true);
  ASSERT_NE(dialog, nullptr) << "no plot dialog";
  SendMessageW(GetDlgItem(dialog, kPlotRangeEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"9-"));
  ASSERT_TRUE(Eventually([&] { return RemoteTextOrEmpty(GetDlgItem(dialog, kPlotPreview)).starts_with(L"09_"); }))
      << ToUtf8(RemoteTextOrEmpty(GetDlgItem(dialog, kPlotPreview)));
  // A reversed range says why and disables the plot button.
  SendMessageW(GetDlgItem(dialog, kPlotRangeEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5-3"));
  ASSERT_TRUE(
      Eventually([&] { return RemoteTextOrEmpty(GetDlgItem(dialog, kPlotRangeNote)) == L"範囲が逆です: 5-3"; }));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kPlotButtonPlot)));
  SendMessageW(GetDlgItem(dialog, kPlotRangeEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"9-"));
  ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(GetDlgItem(dialog, kPlotButtonPlot)) != FALSE; }));
  PostClick(GetDlgItem(dialog, kPlotButtonPlot));
  ASSERT_TRUE(Eventually([&] { return Ended(dialog); })) << ToUtf8(Progress(dialog));
  const std::wstring report = Progress(dialog);
  // Page 10 has no name: its line shows the number alone.
  EXPECT_EQ(report, L"2 枚を保存しました — 1 枚は失敗しました\r\n10: PlotToFile が失敗しました") << ToUtf8(report);
  EXPECT_EQ(FilesIn(FOutput).size(), 2u);
  EXPECT_EQ(LayoutSettings(*FApplication), before);
}

// 中止 clicked during a sheet's long call stops the job after that sheet,
// which is written: the click is not lost to the wait.
TEST_F(PlotEndToEndTest, StopClickedDuringAStalledSheetStopsTheJobAfterIt) {
  HWND dialog = PlotIntoAStalledSecondSheet(5000);
  ASSERT_NE(dialog, nullptr) << "no plot dialog, or no wait shown";
  ClickAt(GetDlgItem(dialog, kPlotButtonCancel));
  ASSERT_TRUE(Eventually([&] { return Ended(dialog); })) << ToUtf8(Progress(dialog));
  EXPECT_EQ(Progress(dialog), L"2 枚を保存しました (中止しました)") << ToUtf8(Progress(dialog));
  EXPECT_EQ(FilesIn(FOutput).size(), 2u);
}

// Esc during a sheet's long call gives that sheet up; the settings still go
// back, and a close sent to the pager meanwhile waits for the dialog.
TEST_F(PlotEndToEndTest, EscDuringAStalledSheetStopsTheJobAndTheLayoutIsAsBefore) {
  const std::wstring before = LayoutSettings(*FApplication);
  HWND dialog = PlotIntoAStalledSecondSheet(8000);
  ASSERT_NE(dialog, nullptr) << "no plot dialog, or no wait shown";
  PressKeys({VK_ESCAPE});
  ASSERT_TRUE(Eventually([&] { return Ended(dialog); })) << ToUtf8(Progress(dialog));
  // Page 2 has no name.
  EXPECT_EQ(Progress(dialog),
            L"1 枚を保存しました (中止しました) — 1 枚は失敗しました\r\n2: BricsCAD が応答しません — 中止しました")
      << ToUtf8(Progress(dialog));
  EXPECT_EQ(LayoutSettings(*FApplication), before);

  DWORD_PTR answer = 0;
  SendMessageTimeoutW(FPage->Pager().Handle(), WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_TRUE(IsWindow(dialog)) << "the pager was destroyed under its dialog";
  PostClick(GetDlgItem(dialog, kPlotButtonCancel));
  EXPECT_TRUE(Eventually([&] { return !FPage->Running(); })) << "the close was not honoured after the dialog";
  EXPECT_EQ(FPage->ExitCode(), 0u);
}

}  // namespace
