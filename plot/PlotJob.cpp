#include "plot/PlotJob.h"

#include <functional>

#include "cad/CallWait.h"
#include "cad/StopReason.h"
#include "cad/TargetCad.h"
#include "common/AsciiCase.h"
#include "pages/DocumentIdentity.h"
#include "pages/Pages.h"
#include "plot/PlotFileNames.h"

namespace {

constexpr int32_t kWindowPlotType = 4;  // acWindow
constexpr int16_t kForegroundPlot = 0;

// What the layout and the CAD had before the job, to be put back.
struct KeptSettings {
  std::wstring configName, canonicalMediaName;
  int32_t plotType = 0;
  Variant windowLowerLeft, windowUpperRight;
  int32_t plotRotation = 0;
  bool centerPlot = false, useStandardScale = true;
  int32_t standardScale = 0;
  double customNumerator = 1.0, customDenominator = 1.0;
  std::wstring styleSheet;
  bool plotWithPlotStyles = true;
  Variant backgroundPlot;
  bool quietErrorMode = false;
};

Variant OutArgument() { return Variant::ByRef(Variant()); }

// A window corner as SetWindowToPlot takes it: two doubles.
Variant Corner(double x, double y) { return Variant::ArrayOf(VariantKind::Double, 0, {Variant(x), Variant(y)}); }

std::wstring CallText(const AutomationError& error) {
  return CallFailureText(error.Member(), error.Code(), error.Text());
}

KeptSettings ReadSettings(DispatchObject& document, DispatchObject& layout, DispatchObject& plot) {
  KeptSettings kept;
  kept.configName = GetValue(layout, L"ConfigName").AsString();
  kept.canonicalMediaName = GetValue(layout, L"CanonicalMediaName").AsString();
  kept.plotType = GetValue(layout, L"PlotType").ToInt32();
  const Variant window[] = {OutArgument(), OutArgument()};
  CallMethod(layout, L"GetWindowToPlot", window);
  kept.windowLowerLeft = window[0].Deref();
  kept.windowUpperRight = window[1].Deref();
  kept.plotRotation = GetValue(layout, L"PlotRotation").ToInt32();
  kept.centerPlot = GetValue(layout, L"CenterPlot").ToBool();
  kept.useStandardScale = GetValue(layout, L"UseStandardScale").ToBool();
  kept.standardScale = GetValue(layout, L"StandardScale").ToInt32();
  const Variant scale[] = {OutArgument(), OutArgument()};
  CallMethod(layout, L"GetCustomScale", scale);
  kept.customNumerator = scale[0].Deref().ToDouble();
  kept.customDenominator = scale[1].Deref().ToDouble();
  kept.styleSheet = GetValue(layout, L"StyleSheet").AsString();
  kept.plotWithPlotStyles = GetValue(layout, L"PlotWithPlotStyles").ToBool();
  const Variant name[] = {Variant(L"BACKGROUNDPLOT")};
  kept.backgroundPlot = CallMethod(document, L"GetVariable", name);
  kept.quietErrorMode = GetValue(plot, L"QuietErrorMode").ToBool();
  return kept;
}

struct PaperSize {
  double width, height;
};

// Sets the job's settings; the paper's size comes back for the orientation.
PaperSize SetSettings(DispatchObject& document, DispatchObject& layout, DispatchObject& plot, const KeptSettings& kept,
                      const PlotChoices& choices) {
  SetValue(plot, L"QuietErrorMode", Variant(true));
  const Variant background[] = {Variant(L"BACKGROUNDPLOT"), Variant(kForegroundPlot)};
  CallMethod(document, L"SetVariable", background);
  if (choices.device != kept.configName) SetValue(layout, L"ConfigName", Variant(choices.device));
  CallMethod(layout, L"RefreshPlotDeviceInfo");
  SetValue(layout, L"CanonicalMediaName", Variant(choices.media));
  const Variant size[] = {OutArgument(), OutArgument()};
  CallMethod(layout, L"GetPaperSize", size);
  SetValue(layout, L"StyleSheet", Variant(choices.styleSheet));
  SetValue(layout, L"PlotWithPlotStyles", Variant(!choices.styleSheet.empty()));
  SetValue(layout, L"UseStandardScale", Variant(true));
  SetValue(layout, L"StandardScale", Variant(int32_t{0}));  // acScaleToFit
  SetValue(layout, L"CenterPlot", Variant(true));
  return {size[0].Deref().ToDouble(), size[1].Deref().ToDouble()};
}

// Puts back every setting in turn; one that fails is named and the rest
// still go back.
std::vector<std::wstring> RestoreSettings(DispatchObject& document, DispatchObject& layout, DispatchObject& plot,
                                          const KeptSettings& kept, bool deviceChanged) {
  std::vector<std::wstring> failed;
  const auto put = [&failed](const wchar_t* what, const wchar_t* member, const std::function<void()>& step) {
    try {
      step();
    } catch (const AutomationError&) {
      failed.push_back(std::wstring(what) + L"を元に戻せませんでした: " + member);
    }
  };
  const wchar_t* const setup = L"用紙設定";
  if (deviceChanged)
    put(setup, L"ConfigName", [&] {
      SetValue(layout, L"ConfigName", Variant(kept.configName));
      CallMethod(layout, L"RefreshPlotDeviceInfo");
    });
  put(setup, L"CanonicalMediaName", [&] { SetValue(layout, L"CanonicalMediaName", Variant(kept.canonicalMediaName)); });
  put(setup, L"SetWindowToPlot", [&] {
    const Variant window[] = {kept.windowLowerLeft, kept.windowUpperRight};
    CallMethod(layout, L"SetWindowToPlot", window);
  });
  put(setup, L"PlotType", [&] { SetValue(layout, L"PlotType", Variant(kept.plotType)); });
  put(setup, L"PlotRotation", [&] { SetValue(layout, L"PlotRotation", Variant(kept.plotRotation)); });
  put(setup, L"CenterPlot", [&] { SetValue(layout, L"CenterPlot", Variant(kept.centerPlot)); });
  put(setup, L"UseStandardScale", [&] { SetValue(layout, L"UseStandardScale", Variant(kept.useStandardScale)); });
  // The job set StandardScale, which a layout keeps even while it plots
  // at its custom scale.
  put(setup, L"StandardScale", [&] { SetValue(layout, L"StandardScale", Variant(kept.standardScale)); });
  if (!kept.useStandardScale)
    put(setup, L"SetCustomScale", [&] {
      const Variant scale[] = {Variant(kept.customNumerator), Variant(kept.customDenominator)};
      CallMethod(layout, L"SetCustomScale", scale);
    });
  put(setup, L"StyleSheet", [&] { SetValue(layout, L"StyleSheet", Variant(kept.styleSheet)); });
  put(setup, L"PlotWithPlotStyles", [&] { SetValue(layout, L"PlotWithPlotStyles", Variant(kept.plotWithPlotStyles)); });
  put(L"システム変数", L"BACKGROUNDPLOT", [&] {
    const Variant background[] = {Variant(L"BACKGROUNDPLOT"), kept.backgroundPlot};
    CallMethod(document, L"SetVariable", background);
  });
  put(L"印刷の設定", L"QuietErrorMode", [&] { SetValue(plot, L"QuietErrorMode", Variant(kept.quietErrorMode)); });
  return failed;
}

bool IsAutoCad(const std::wstring& progId) { return UpperAscii(progId).starts_with(L"AUTOCAD"); }

void SendText(DispatchObject& document, const wchar_t* text) {
  const Variant command[] = {Variant(text)};
  CallMethod(document, L"SendCommand", command);
}

// Plots one sheet; the reason it failed, or nothing.
std::optional<std::wstring> PlotSheetWindow(DispatchObject& layout, DispatchObject& plot, const PlotSheet& sheet,
                                            const PlotChoices& choices, PaperSize paper, PlotFiles& files,
                                            PlotReport& report) {
  const TsvWaku& frame = sheet.frame;
  const Variant window[] = {Corner(frame.minx, frame.miny), Corner(frame.maxx, frame.maxy)};
  CallMethod(layout, L"SetWindowToPlot", window);
  SetValue(layout, L"PlotType", Variant(kWindowPlotType));
  SetValue(layout, L"PlotRotation",
           Variant(PlotRotationFor(choices.orientation, frame.maxx - frame.minx, frame.maxy - frame.miny, paper.width,
                                   paper.height)));
  if (choices.output == PlotOutput::Device) {
    if (!CallMethod(plot, L"PlotToDevice").ToBool()) return L"PlotToDevice が失敗しました";
    return std::nullopt;
  }
  const std::wstring path = FreePath(choices.folder, sheet.fileStem, L".pdf",
                                     [&files](const std::wstring& name) { return files.Exists(name); });
  if (path.empty()) return L"保存先のパスが長すぎます";
  const Variant file[] = {Variant(path)};
  if (!CallMethod(plot, L"PlotToFile", file).ToBool()) return L"PlotToFile が失敗しました";
  if (files.Size(path) == 0) return L"ファイルができませんでした";
  report.written.push_back(path);
  return std::nullopt;
}

// The job's objects and what it kept; released in the last piece, as
// their last Release reaches the CAD.
struct JobState {
  DispatchPtr document, layout, plot;
  KeptSettings kept;
  bool changing = false;  // the settings were read and may have been changed since
  bool autoCad = false;
  bool deviceChanged = false;
};

// The first piece: the objects, the kept settings and the job's settings.
void StartJob(DispatchObject& application, const PlotTarget& target, const PlotChoices& choices, JobState& job,
              PlotReport& report) {
  try {
    job.document = GetObjectValue(application, L"ActiveDocument");
    const std::optional<std::wstring> identity = ReadIdentity(*job.document);
    if (target.identity && identity && !SameDrawing(*target.identity, *identity)) {
      report.stopped = L"CAD が別の図面を表示しています: " + DrawingTitle(*identity);
      return;
    }
    job.layout = GetObjectValue(*job.document, L"ActiveLayout");
    if (!GetValue(*job.layout, L"ModelType").ToBool()) {
      report.stopped = L"モデル空間のページだけを印刷できます";
      return;
    }
    job.plot = GetObjectValue(*job.document, L"Plot");
    job.kept = ReadSettings(*job.document, *job.layout, *job.plot);
    job.autoCad = IsAutoCad(target.progId);
    if (job.autoCad) SendText(*job.document, L"(acad-push-dbmod) ");
  } catch (const AutomationError& error) {
    // Nothing was changed yet.
    report.stopped = CallText(error);
    return;
  }
  job.changing = true;
  job.deviceChanged = choices.device != job.kept.configName;
}

// The last piece: every setting back, the dbmod popped, the objects released.
void FinishJob(JobState& job, PlotReport& report) {
  if (job.changing) {
    report.notRestored = RestoreSettings(*job.document, *job.layout, *job.plot, job.kept, job.deviceChanged);
    try {
      if (job.autoCad) SendText(*job.document, L"(acad-pop-dbmod) ");
    } catch (const AutomationError& error) {
      report.notRestored.push_back(L"図面の変更の印を元に戻せませんでした: " + CallText(error));
    }
  }
  job.plot.reset();
  job.layout.reset();
  job.document.reset();
}

// Plots each sheet in a piece of its own until the user stops or gives a
// sheet up.
void PlotSheets(JobState& job, const PlotChoices& choices, PaperSize paper, std::span<const PlotSheet> sheets,
                PlotFiles& files, PlotProgress& progress, const CadWork& run, PlotReport& report) {
  for (size_t i = 0; i < sheets.size(); ++i) {
    if (progress.StopRequested()) {
      report.cancelled = true;
      return;
    }
    progress.Plotting(i, sheets.size(), sheets[i]);
    std::optional<std::wstring> failure;
    const bool givenUp = run([&] {
      try {
        failure = PlotSheetWindow(*job.layout, *job.plot, sheets[i], choices, paper, files, report);
      } catch (const AutomationError& error) {
        failure = CallText(error);
      }
    });
    if (givenUp) failure = CancelledReason(TargetAppName);
    if (failure)
      report.failures.push_back({sheets[i].number, sheets[i].label, std::move(*failure)});
    else
      ++report.plotted;
    if (givenUp) {
      report.cancelled = true;
      return;
    }
  }
}

}  // namespace

PlotReport RunPlotJob(DispatchObject& application, const PlotTarget& target, const PlotChoices& choices,
                      std::span<const PlotSheet> sheets, PlotFiles& files, PlotProgress& progress, const CadWork& run) {
  PlotReport report;
  JobState job;
  PaperSize paper{};
  try {
    const bool givenUp = run([&] {
      StartJob(application, target, choices, job, report);
      if (!job.changing) return;
      try {
        paper = SetSettings(*job.document, *job.layout, *job.plot, job.kept, choices);
      } catch (const AutomationError& error) {
        report.stopped = L"印刷の設定ができませんでした: " + CallText(error);
      }
    });
    if (givenUp) {
      report.cancelled = true;
      report.stopped = CancelledReason(TargetAppName);
    }
    if (report.stopped.empty() && !givenUp) PlotSheets(job, choices, paper, sheets, files, progress, run, report);
  } catch (...) {
    run([&] { FinishJob(job, report); });
    throw;
  }
  run([&] { FinishJob(job, report); });
  return report;
}

std::wstring FailureLine(const SheetFailure& failure) {
  std::wstring line = std::to_wstring(failure.number);
  if (!failure.label.empty()) line += L" (" + failure.label + L")";
  return line + L": " + failure.reason;
}

std::wstring PlotSummary(const PlotReport& report, PlotOutput output) {
  if (!report.stopped.empty()) return report.stopped;
  std::wstring text =
      std::to_wstring(report.plotted) + (output == PlotOutput::PdfFile ? L" 枚を保存しました" : L" 枚を印刷しました");
  if (report.cancelled) text += L" (中止しました)";
  if (!report.failures.empty()) text += L" — " + std::to_wstring(report.failures.size()) + L" 枚は失敗しました";
  return text;
}
