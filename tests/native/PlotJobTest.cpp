#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include "SimFixture.h"
#include "plot/PlotJob.h"
#include "plot/PlotOffer.h"
#include "uilogic/PlotSheets.h"

namespace {

using sim::Rectangle;

// Three sheets side by side: two across, one upright, with a line and a
// text inside the first.
sim::Drawing ThreeSheets() {
  sim::Drawing drawing;
  drawing.entities.push_back(Rectangle(L"KESTRA", 0, 0, 420, 297));
  drawing.entities.push_back(Rectangle(L"KESTRA", 500, 0, 920, 297));
  drawing.entities.push_back(Rectangle(L"KESTRA", 1000, 0, 1297, 420));
  drawing.entities.push_back(sim::Entity{L"LINE", L"0", {}, false, {10, 10, 400, 280}});
  sim::Entity text{L"TEXT", L"0", {}, false, {20, 20}};
  text.label = {L"A-101 (plan)", 20, 20, 10, 0, false};
  drawing.entities.push_back(text);
  drawing.view = {210, 148, 400, 600};
  return drawing;
}

class DiskFiles : public PlotFiles {
 public:
  bool Exists(const std::wstring& path) override { return std::filesystem::exists(std::filesystem::path(path)); }
  uint64_t Size(const std::wstring& path) override {
    std::error_code error;
    const auto size = std::filesystem::file_size(std::filesystem::path(path), error);
    return error ? 0 : size;
  }
};

class ScriptedProgress : public PlotProgress {
 public:
  std::vector<size_t> shown;
  size_t stopBefore = SIZE_MAX;
  size_t throwAt = SIZE_MAX;
  void Plotting(size_t index, size_t, const PlotSheet&) override {
    if (index == throwAt) throw std::runtime_error("out of memory");
    shown.push_back(index);
  }
  bool StopRequested() override { return shown.size() == stopBefore; }
};

class PlotJobTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    cad.Load(ThreeSheets());
    Get();
    ASSERT_EQ(Pages.WakuList().size(), 3u);
    folder = std::filesystem::temp_directory_path() /
             ("page-plot-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    choices = {PlotOutput::PdfFile,   sim::kPdfDevice, L"ISO_full_bleed_A4_(297.00_x_210.00_MM)", L"",
               PlotOrientation::Auto, folder.wstring()};
    for (size_t i = 0; i < Pages.WakuList().size(); ++i)
      sheets.push_back({Pages.WakuList()[i], static_cast<int>(i + 1), L"S-" + std::to_wstring(i + 1),
                        L"0" + std::to_wstring(i + 1)});
    before = cad.PlotSettings();
    cad.ClearJournal();
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    SimCadTest::TearDown();
  }

  PlotReport Plot(const std::wstring& progId = kDefaultProgId) {
    return RunPlotJob(*cad.Application(), {progId, cad.ActiveNames().fullName}, choices, sheets, files, progress, run);
  }

  void ExpectSettingsBack() const {
    EXPECT_TRUE(cad.PlotSettings() == before) << "the layout's plot settings were not put back";
    EXPECT_EQ(cad.BackgroundPlot(), 2);
    EXPECT_FALSE(cad.QuietErrorMode());
  }

  std::filesystem::path folder;
  PlotChoices choices;
  std::vector<PlotSheet> sheets;
  sim::LayoutPlotSettings before;
  DiskFiles files;
  ScriptedProgress progress;
  CadWork run = RunUnwatched;
};

TEST_F(PlotJobTest, AJobOfThreeSheetsReadsSetsPlotsEachWindowAndPutsEverythingBackInOrder) {
  const PlotReport report = Plot();
  const std::vector<std::wstring> read{
      L"ActiveDocument",     L"FullName",           L"ActiveLayout",  L"ModelType",       L"Plot",
      L"ConfigName",         L"CanonicalMediaName", L"PlotType",      L"GetWindowToPlot", L"PlotRotation",
      L"CenterPlot",         L"UseStandardScale",   L"StandardScale", L"GetCustomScale",  L"StyleSheet",
      L"PlotWithPlotStyles", L"GetVariable",        L"QuietErrorMode"};
  const std::vector<std::wstring> set{L"QuietErrorMode",     L"SetVariable",   L"ConfigName", L"RefreshPlotDeviceInfo",
                                      L"CanonicalMediaName", L"GetPaperSize",  L"StyleSheet", L"PlotWithPlotStyles",
                                      L"UseStandardScale",   L"StandardScale", L"CenterPlot"};
  const std::vector<std::wstring> perSheet{L"SetWindowToPlot", L"PlotType", L"PlotRotation", L"PlotToFile"};
  const std::vector<std::wstring> restore{
      L"ConfigName",    L"RefreshPlotDeviceInfo", L"CanonicalMediaName", L"SetWindowToPlot",
      L"PlotType",      L"PlotRotation",          L"CenterPlot",         L"UseStandardScale",
      L"StandardScale", L"SetCustomScale",        L"StyleSheet",         L"PlotWithPlotStyles",
      L"SetVariable",   L"QuietErrorMode"};
  std::vector<std::wstring> expected = read;
  expected.insert(expected.end(), set.begin(), set.end());
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), perSheet.begin(), perSheet.end());
  expected.insert(expected.end(), restore.begin(), restore.end());
  EXPECT_EQ(cad.JournalMembers(), expected);

  // The windows are the frames' corners as two doubles each, and the
  // upright sheet is turned onto the paper lying across.
  std::vector<std::wstring> windows, rotations;
  for (const sim::JournalEntry& entry : cad.Journal()) {
    if (entry.member == L"SetWindowToPlot")
      windows.push_back(Describe(entry.arguments[0]) + L" " + Describe(entry.arguments[1]));
    if (entry.member == L"PlotRotation" && !entry.arguments.empty()) rotations.push_back(Describe(entry.arguments[0]));
  }
  ASSERT_EQ(windows.size(), 4u);
  EXPECT_EQ(windows[0], L"[R8 0..1: 0, 0] [R8 0..1: 420, 297]");
  EXPECT_EQ(windows[2], L"[R8 0..1: 1000, 0] [R8 0..1: 1297, 420]");
  EXPECT_EQ(windows[3], L"[R8 0..1: 10, 20] [R8 0..1: 110, 220]");
  EXPECT_EQ(rotations, (std::vector<std::wstring>{L"I4 0", L"I4 0", L"I4 1", L"I4 0"}));

  EXPECT_EQ(report.plotted, 3);
  EXPECT_TRUE(report.failures.empty());
  EXPECT_TRUE(report.notRestored.empty());
  const std::wstring base = folder.wstring() + L"/";
  EXPECT_EQ(report.written, (std::vector<std::wstring>{base + L"01.pdf", base + L"02.pdf", base + L"03.pdf"}));
  EXPECT_EQ(progress.shown, (std::vector<size_t>{0, 1, 2}));
  ExpectSettingsBack();
}

TEST_F(PlotJobTest, EachPlotIsAOnePagePdfOfThePapersSizeAndAnExistingFileIsNeverReplaced) {
  const std::wstring first = folder.wstring() + L"/01.pdf";
  std::ofstream(std::filesystem::path(first)) << "mine";
  const PlotReport report = Plot();
  ASSERT_EQ(report.written.size(), 3u);
  EXPECT_EQ(report.written[0], folder.wstring() + L"/01 (2).pdf");
  std::ifstream kept{std::filesystem::path(first)};
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "mine");

  std::ifstream pdf{std::filesystem::path(report.written[0]), std::ios::binary};
  const std::string bytes(std::istreambuf_iterator<char>(pdf), {});
  EXPECT_TRUE(bytes.starts_with("%PDF-1.4\n"));
  EXPECT_TRUE(bytes.ends_with("%%EOF\n"));
  EXPECT_NE(bytes.find("/MediaBox [0 0 841.890 595.276]"), std::string::npos) << "A4 across in points";
  EXPECT_NE(bytes.find("(A-101 \\(plan\\)) Tj"), std::string::npos) << "the text inside the window";
  // The cross-reference table points at the objects.
  const size_t table = std::stoul(bytes.substr(bytes.rfind("startxref\n") + 10));
  EXPECT_EQ(bytes.compare(table, 5, "xref\n"), 0);
  const size_t second = std::stoul(bytes.substr(table + 5 + 5 + 20 + 20, 10));
  EXPECT_EQ(bytes.compare(second, 7, "2 0 obj"), 0);
}

TEST_F(PlotJobTest, ASheetThatFailsOrIsRefusedIsReportedAndTheOthersArePlotted) {
  cad.RefusePlotOn(1);
  cad.FailOn(L"SetWindowToPlot", 3, hresult::CallRejected);
  const PlotReport report = Plot();
  EXPECT_EQ(report.plotted, 1);
  ASSERT_EQ(report.failures.size(), 2u);
  EXPECT_EQ(FailureLine(report.failures[0]), L"1 (S-1): PlotToFile が失敗しました");
  EXPECT_EQ(FailureLine(report.failures[1]),
            L"3 (S-3): SetWindowToPlot が失敗しました: simulated failure of SetWindowToPlot (0x80010001)");
  EXPECT_EQ(report.written, (std::vector<std::wstring>{folder.wstring() + L"/02.pdf"}));
  ExpectSettingsBack();
}

TEST_F(PlotJobTest, AFileThatIsMissingOrEmptyAfterThePlotFailsItsSheet) {
  struct EmptyFiles : DiskFiles {
    uint64_t Size(const std::wstring&) override { return 0; }
  } empty;
  const PlotReport report =
      RunPlotJob(*cad.Application(), {kDefaultProgId, {}}, choices, std::span(sheets).first(1), empty, progress, run);
  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(report.failures[0].reason, L"ファイルができませんでした");
  EXPECT_TRUE(report.written.empty());
}

TEST_F(PlotJobTest, CancelStopsBeforeTheNextSheetAndPutsEverythingBack) {
  progress.stopBefore = 1;
  const PlotReport report = Plot();
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.plotted, 1);
  EXPECT_EQ(progress.shown, (std::vector<size_t>{0}));
  ExpectSettingsBack();
}

// The pager runs each piece watched: a sheet given up there fails, and the
// putting back, a piece of its own, still reaches the CAD.
TEST_F(PlotJobTest, ASheetGivenUpFailsStopsTheJobAndEverythingIsPutBackInAPieceOfItsOwn) {
  const struct AppName {
    AppName() { TargetAppName = kDefaultAppName; }
    ~AppName() { TargetAppName.clear(); }
  } appName;
  cad.FailOn(L"PlotToFile", 2, hresult::CallCancelled);
  int pieces = 0;
  size_t restoreStart = 0;
  run = [&](const std::function<void()>& work) {
    ++pieces;
    if (pieces == 4) restoreStart = cad.JournalMembers().size();
    work();
    return pieces == 3;  // the second sheet's
  };
  const PlotReport report = Plot();
  EXPECT_EQ(pieces, 4) << "setting, two sheets, putting back";
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.plotted, 1);
  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(FailureLine(report.failures[0]), L"2 (S-2): BricsCAD が応答しません — 中止しました");
  EXPECT_EQ(progress.shown, (std::vector<size_t>{0, 1}));
  const std::vector<std::wstring> members = cad.JournalMembers();
  EXPECT_EQ(std::count(members.begin(), members.end(), L"PlotToFile"), 2) << "no sheet after the one given up";
  ASSERT_LT(restoreStart, members.size());
  EXPECT_EQ(members[restoreStart], L"ConfigName") << "the putting back begins its own piece";
  EXPECT_EQ(PlotSummary(report, PlotOutput::PdfFile), L"1 枚を保存しました (中止しました) — 1 枚は失敗しました");
  EXPECT_TRUE(report.notRestored.empty());
  ExpectSettingsBack();
}

TEST_F(PlotJobTest, AnExceptionInTheMiddlePassesAfterEverythingIsPutBack) {
  progress.throwAt = 1;
  EXPECT_THROW(Plot(), std::runtime_error);
  ExpectSettingsBack();
}

TEST_F(PlotJobTest, ASettingTheCadRefusesToTakeBackIsNamedAndTheRestStillGoBack) {
  // Read, set, put back: the third assignment of the paper fails.
  cad.FailOn(L"CanonicalMediaName", 3, hresult::Fail);
  const PlotReport report = Plot();
  EXPECT_EQ(report.notRestored, (std::vector<std::wstring>{L"用紙設定を元に戻せませんでした: CanonicalMediaName"}));
  sim::LayoutPlotSettings expected = before;
  expected.canonicalMediaName = choices.media;
  EXPECT_TRUE(cad.PlotSettings() == expected);
  EXPECT_EQ(cad.BackgroundPlot(), 2);
}

TEST_F(PlotJobTest, ASetupTheCadRefusesPlotsNothingAndPutsBackWhatWasSet) {
  choices.media = L"Letter";
  const PlotReport report = Plot();
  EXPECT_EQ(report.plotted, 0);
  EXPECT_TRUE(report.stopped.starts_with(L"印刷の設定ができませんでした: CanonicalMediaName が失敗しました: "));
  ExpectSettingsBack();
}

TEST_F(PlotJobTest, OnAutoCadTheJobIsWrappedInDbmodPushAndPop) {
  TargetProgId = L"AutoCAD.Application";
  objects.Run(TargetProgId, cad);
  Plot(L"AutoCAD.Application.24");
  std::vector<std::wstring> commands;
  for (const sim::JournalEntry& entry : cad.Journal())
    if (entry.member == L"SendCommand") commands.push_back(entry.arguments[0].AsString());
  EXPECT_EQ(commands, (std::vector<std::wstring>{L"(acad-push-dbmod) ", L"(acad-pop-dbmod) "}));
  const std::vector<std::wstring> members = cad.JournalMembers();
  EXPECT_EQ(members.back(), L"SendCommand");
  EXPECT_EQ(std::count(members.begin(), members.end(), L"SendCommand"), 2);
}

TEST_F(PlotJobTest, APaperSpaceLayoutOrAnotherDrawingInTheCadPlotsNothing) {
  cad.ShowPaperSpace(true);
  EXPECT_EQ(Plot().stopped, L"モデル空間のページだけを印刷できます");
  cad.ShowPaperSpace(false);
  cad.ClearJournal();

  cad.Open(ThreeSheets(), {L"C:\\Drawings\\Other.dwg", L"Other.dwg"});
  const PlotReport report = RunPlotJob(*cad.Application(), {kDefaultProgId, L"C:\\Drawings\\Drawing1.dwg"}, choices,
                                       sheets, files, progress, run);
  EXPECT_EQ(report.stopped, L"CAD が別の図面を表示しています: Other.dwg");
  for (const sim::JournalEntry& entry : cad.Journal()) EXPECT_NE(entry.object, L"Layout");
}

}  // namespace

namespace {

TEST_F(PlotJobTest, TheDialogsOfferReadsTheLayoutAndAnotherDevicesPapersLeaveItsDeviceAsItWas) {
  const PlotOffer offer = ReadPlotOffer(*cad.Application());
  EXPECT_EQ(offer.identity, cad.ActiveNames().fullName);
  EXPECT_EQ(offer.currentDevice, before.configName);
  EXPECT_EQ(offer.currentMedia, before.canonicalMediaName);
  EXPECT_EQ(offer.currentStyle, L"monochrome.ctb");
  EXPECT_EQ(FirstPdfDevice(offer.devices), sim::kPdfDevice);
  EXPECT_EQ(FirstPdfDevice({L"None", L"Printer.pc3"}), L"");

  const std::vector<MediaChoice> media = ReadDeviceMedia(*cad.Application(), sim::kPdfDevice, RunUnwatched);
  ASSERT_EQ(media.size(), 8u);
  EXPECT_EQ(media[1].canonicalName, L"ISO_full_bleed_A4_(297.00_x_210.00_MM)");
  EXPECT_EQ(media[1].shownName, L"ISO full bleed A4 (297.00 x 210.00 mm)");
  EXPECT_TRUE(cad.PlotSettings() == before);
  // A failure while the other device is set still switches back.
  cad.FailOn(L"GetCanonicalMediaNames", 1, hresult::Fail);
  EXPECT_THROW(ReadDeviceMedia(*cad.Application(), sim::kPdfDevice, RunUnwatched), AutomationError);
  EXPECT_TRUE(cad.PlotSettings() == before);
}

TEST(PlotSheetsTest, SheetsAreLabelledAndNamedFromTheirPageNamesOnOneLine) {
  const TWakuList frames(12, TsvWaku{0, 0, 1, 1, false, 0, false});
  const std::vector<PageName> names(12, PageName{L"A-1:3", L"1階\r\n平面図"});
  const std::vector<int> pages{2};
  const std::vector<PlotSheet> sheets =
      PlotSheetsFor(pages, frames, names, {L"図番", L"図名"}, L"{図面}_{ページ}_{図番}_{図名}", L"plan");
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].number, 3);
  EXPECT_EQ(sheets[0].label, L"A-1:3  1階 平面図");
  EXPECT_EQ(sheets[0].fileStem, L"plan_03_A-1_3_1階 平面図");
  EXPECT_EQ(DrawingFolder(L"C:\\Drawings\\plan.v2.dwg"), L"C:\\Drawings");
  EXPECT_EQ(DrawingFolder(L"Drawing1.dwg"), L"");
  EXPECT_EQ(DrawingStem(L"C:\\Drawings\\plan.v2.dwg"), L"plan.v2");
}

}  // namespace
