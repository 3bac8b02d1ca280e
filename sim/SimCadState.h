// What one simulated CAD holds: the drawing, its view and selection, the
// journal, the faults it was told to produce, and its automation objects.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/CommandLine.h"
#include "sim/SimCad.h"

namespace sim {

class SimCad::State {
 public:
  Drawing drawing;
  // Changes with every Load: entity objects of an earlier drawing are gone.
  uint64_t generation = 0;
  View view;
  std::vector<size_t> selection;  // indexes into drawing.entities, in selection order
  CommandLine commandLine;

  std::vector<JournalEntry> journal;

  int64_t windowHandle = 0x000A0C2E;
  bool minimized = false;
  bool foreground = false;

  DispatchPtr application, document, selectionSet;

  // Counts the call of the member against the faults set for it, sleeps
  // through a stall that falls due and throws the fault that falls due;
  // then tells whether the result is to be of the wrong type.
  bool ApplyFaults(std::wstring_view member);
  void FailOn(const std::wstring& member, int nthCall, HResult code);
  void StallOn(const std::wstring& member, int nthCall, std::chrono::milliseconds duration);
  void ReturnWrongType(const std::wstring& member);
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
  std::vector<std::wstring> FWrongTypeMembers;
};

}  // namespace sim
