// A plot of sheets through the CAD's model layout: the layout's plot
// settings are read and kept, set for the job, used for each sheet's
// window, and put back afterwards whatever happened in between.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cad/CadPlatform.h"
#include "cad/CadWork.h"
#include "pages/Waku.h"
#include "plot/PlotRotation.h"

enum class PlotOutput { PdfFile, Device };

struct PlotChoices {
  PlotOutput output = PlotOutput::PdfFile;
  std::wstring device;      // a ConfigName of GetPlotDeviceNames
  std::wstring media;       // a CanonicalMediaName of the device
  std::wstring styleSheet;  // empty: no plot style table
  PlotOrientation orientation = PlotOrientation::Auto;
  std::wstring folder;  // where PDF files go
};

struct PlotSheet {
  TsvWaku frame;
  int number = 0;         // the page number, from 1
  std::wstring label;     // the sheet's names on one line, for the progress and the report
  std::wstring fileStem;  // a safe file name without extension, for PDF
};

// What the job needs of the file system: whether a name is taken, and how
// large a written file is (0 when it is missing).
class PlotFiles {
 public:
  virtual ~PlotFiles() = default;
  virtual bool Exists(const std::wstring& path) = 0;
  virtual uint64_t Size(const std::wstring& path) = 0;
};

// The dialog's side of a running job.
class PlotProgress {
 public:
  virtual ~PlotProgress() = default;
  // The sheet at index (from 0) of count is about to be plotted.
  virtual void Plotting(size_t index, size_t count, const PlotSheet& sheet) = 0;
  // Asked before each sheet: whether the user asked to stop.
  virtual bool StopRequested() = 0;
};

struct SheetFailure {
  int number = 0;
  std::wstring label;
  std::wstring reason;
};

struct PlotReport {
  std::wstring stopped;  // why nothing was plotted; empty when the job ran
  int plotted = 0;
  std::vector<std::wstring> written;  // the files, in order
  std::vector<SheetFailure> failures;
  bool cancelled = false;
  // One line per setting the CAD did not take back.
  std::vector<std::wstring> notRestored;
};

struct PlotTarget {
  std::wstring progId;  // AutoCAD's drawings are kept unmodified by dbmod
  // The drawing the sheets belong to; the job stops when the CAD shows
  // another one. Nothing: any drawing.
  std::optional<std::wstring> identity;
};

// Plots the sheets on the CAD's active document. Errors of the CAD end up
// in the report; other exceptions pass after the settings are put back.
// The CAD work runs in pieces through run: the reading and setting, each
// sheet, and the putting back with the release of the job's objects, so
// that a piece given up never keeps the settings from going back. A sheet
// given up fails and ends the job as a stop would.
PlotReport RunPlotJob(DispatchObject& application, const PlotTarget& target, const PlotChoices& choices,
                      std::span<const PlotSheet> sheets, PlotFiles& files, PlotProgress& progress, const CadWork& run);

// "5: PlotToFile が失敗しました: …" and the like, one per failure.
std::wstring FailureLine(const SheetFailure& failure);

// The one-line summary: "12 枚を印刷しました" or "… 保存しました".
std::wstring PlotSummary(const PlotReport& report, PlotOutput output);
