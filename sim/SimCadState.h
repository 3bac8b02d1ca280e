// What one simulated CAD holds: its open documents (each a drawing with its
// view and selection), the journal, the faults it was told to produce, and
// its automation objects.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/CommandLine.h"
#include "sim/PlotCatalogue.h"
#include "sim/SimCad.h"

namespace sim {

struct OpenDocument {
  // Never reused: objects of a document that was closed find none.
  uint64_t serial = 0;
  Drawing drawing;
  DocumentNames names;
  View view;
  std::vector<size_t> selection;  // indexes into drawing.entities, in selection order
  CommandLine commandLine;
  LayoutPlotSettings plotSettings;  // the model layout's
  int16_t backgroundPlot = 2;       // BACKGROUNDPLOT
  bool quietErrorMode = false;      // the plot object's
  bool paperSpace = false;          // whether ActiveLayout is a paper space layout
  DispatchPtr object, selectionSet, layout, plot;
};

class SimCad::State {
 public:
  std::vector<OpenDocument> documents;
  size_t active = 0;
  uint64_t lastSerial = 0;

  std::vector<JournalEntry> journal;

  int64_t windowHandle = 0x000A0C2E;
  bool minimized = false;
  bool foreground = false;

  DispatchPtr application;

  // The plot calls (PlotToFile, PlotToDevice) that answer false, counted
  // from 1, and how many were made.
  std::vector<int> refusedPlots;
  int plotCalls = 0;

  OpenDocument& Active() { return documents.at(active); }
  // The open document of that serial; throws when it was closed.
  OpenDocument& Document(uint64_t serial);

  // Counts the call of the member against the faults set for it, sleeps
  // through a stall that falls due and throws the fault that falls due;
  // then gives the answer set for it instead of its own, if any.
  std::optional<Variant> ApplyFaults(std::wstring_view member);
  void FailOn(const std::wstring& member, int nthCall, HResult code);
  void StallOn(const std::wstring& member, int nthCall, std::chrono::milliseconds duration);
  void ReturnValue(const std::wstring& member, Variant value);
  void ClearFaults();

 private:
  struct Fault {
    std::wstring member;
    int callsLeft;
    HResult code;
  };
  struct Stall {
    std::wstring member;
    int callsLeft;
    std::chrono::milliseconds duration;
  };
  std::vector<Fault> FFaults;
  std::vector<Stall> FStalls;
  struct Answer {
    std::wstring member;
    Variant value;
  };
  std::vector<Answer> FAnswers;
};

}  // namespace sim
