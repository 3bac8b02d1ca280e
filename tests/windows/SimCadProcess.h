// simcad.exe started for a test and ended with it, and the test members
// by which a test drives and inspects it through COM.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "cad/Automation.h"

class SimCadProcess {
 public:
  // Returns once simcad.exe is in the running object table under every
  // ProgID, with every drawing open, the first active; no drawing gives an
  // empty drawing. Throws std::runtime_error when it ends or does not get
  // ready.
  explicit SimCadProcess(const std::vector<std::wstring>& progIds, const std::vector<std::wstring>& drawings = {},
                         bool minimized = false);
  SimCadProcess(const SimCadProcess&) = delete;
  SimCadProcess& operator=(const SimCadProcess&) = delete;
  // Asks it to quit; kills it when it does not end in time.
  ~SimCadProcess();

  // Ends it through SimQuit; returns its exit code, or a failure text.
  DWORD Quit();
  HANDLE Process() const noexcept { return FProcess; }

 private:
  void End() noexcept;

  HANDLE FProcess = nullptr;
  std::wstring FProgId;
};

// The application of the ProgID's running simcad.exe, through the
// running object table.
DispatchPtr AttachSimCad(const std::wstring& progId);

std::vector<std::wstring> SimJournal(DispatchObject& application);
// The view as [centre x, centre y, height, width].
std::vector<double> SimView(DispatchObject& application);
void SimCall(DispatchObject& application, const wchar_t* member, std::vector<Variant> arguments = {});
bool SimQuery(DispatchObject& application, const wchar_t* member);

// What Get asks a CAD whose layer KESTRA holds that many polylines, with no
// block pattern: from HWND up to reading the view centre.
std::vector<std::wstring> PolylineGetJournal(int polylines);

// The demo drawing: 12 frames of 420 x 297 on layer KESTRA in three rows
// of four, its view centre in no frame.
std::wstring SampleDrawingPath();

// Our block-framed drawing (tests/data/blocks-nested.dxf): with the pattern
// 図枠*,SHEET-[AB],FRAME-A# seven block and polyline frames, six pages;
// without it two polyline frames on KESTRA.
std::wstring BlockDrawingPath();

// A file of tests/data, such as "drawings/titles/titles-1-00.dxf".
std::wstring TestDataPath(const char* relative);

// A drawing of the project's set framed by attributed title blocks, some
// of them dynamic (titles/titles-1-00.dxf).
std::wstring TitlesDrawingPath();
