// The simulated CAD: an AutoCAD-compatible automation server in process.
// Its application, document, selection set and entity objects answer the
// members the pager calls, with the result types real servers use, keep a
// journal of every call and can be told to fail.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cad/Automation.h"
#include "cad/CadPlatform.h"
#include "sim/Drawing.h"
#include "sim/PlotCatalogue.h"

namespace sim {

struct JournalEntry {
  std::wstring object;  // "Application", "Document", "SelectionSet", "Entity", "Window"
  std::wstring member;
  std::vector<Variant> arguments;
};

// "Document.Select(I4 5, Missing, ...)", for test messages.
std::wstring Describe(const JournalEntry& entry);

// What a document's FullName and Name report; FullName is empty for a
// drawing never saved.
struct DocumentNames {
  std::wstring fullName = L"C:\\Drawings\\Drawing1.dwg";
  std::wstring name = L"Drawing1.dwg";
};

class SimCad {
 public:
  explicit SimCad(Drawing drawing = {});
  // One CAD, one state: the object table and the window control refer to it.
  SimCad(const SimCad&) = delete;
  SimCad& operator=(const SimCad&) = delete;

  // Closes every document, opens the drawing in its initial view with an
  // empty selection as the only one, and starts a new journal.
  void Load(Drawing drawing, DocumentNames names = {});
  // Opens one more document and makes it the active one, as a CAD does;
  // returns its index among the open documents. The journal goes on.
  size_t Open(Drawing drawing, DocumentNames names);
  // Makes the open document at the index the active one, as the user does
  // by switching drawings in the CAD.
  void Activate(size_t index);
  size_t ActiveIndex() const;
  size_t DocumentCount() const;
  const DocumentNames& ActiveNames() const;

  // The active document's drawing.
  const Drawing& CurrentDrawing() const;

  // The application object; each call returns the same object.
  DispatchPtr Application();

  const std::vector<JournalEntry>& Journal() const;
  void ClearJournal();
  // The members of the journal in order, such as "Count" or "ZoomWindow".
  std::vector<std::wstring> JournalMembers() const;

  // The active document's view.
  View CurrentView() const;
  void SetViewCentre(double x, double y);

  // The value HWND reports; the window state the test WindowControl keeps.
  int64_t WindowHandle() const;
  // simcad.exe reports its viewer window's real handle.
  void SetWindowHandle(int64_t window);
  bool Minimized() const;
  void SetMinimized(bool minimized);
  bool Foreground() const;

  // Makes the n-th call of the member from now on (1-based) fail with code.
  void FailOn(const std::wstring& member, int nthCall, HResult code);
  // Makes the n-th call of the member from now on (1-based) sleep for the
  // duration before it answers.
  void StallOn(const std::wstring& member, int nthCall, std::chrono::milliseconds duration);
  // Makes every later call of the member return a string instead of its
  // usual type.
  void ReturnWrongType(const std::wstring& member);
  // Makes every later call of the member return the value instead of its
  // own answer.
  void ReturnValue(const std::wstring& member, Variant value);
  void ClearFaults();

  // The active document's model layout settings, BACKGROUNDPLOT and the
  // plot object's QuietErrorMode.
  const LayoutPlotSettings& PlotSettings() const;
  int16_t BackgroundPlot() const;
  bool QuietErrorMode() const;
  // Makes the n-th plot call from now on (PlotToFile or PlotToDevice,
  // 1-based) answer false.
  void RefusePlotOn(int nthCall);
  // Makes the active document's active layout a paper space one.
  void ShowPaperSpace(bool paperSpace);

  class State;

 private:
  friend class SimWindowControl;
  std::shared_ptr<State> FState;
};

// A running object table holding simulated CADs under ProgIDs.
class SimObjectTable : public ObjectTable {
 public:
  // Registers the ProgID's class without a running instance.
  void RegisterClass(const std::wstring& progId);
  // Registers the class and puts the CAD in the table under it.
  void Run(const std::wstring& progId, SimCad& cad);
  void Stop(const std::wstring& progId);

  bool IsActive(const std::wstring& progId) override;
  DispatchPtr GetActive(const std::wstring& progId) override;

 private:
  std::map<std::wstring, SimCad*> FRunning;
  std::map<std::wstring, bool> FRegistered;
};

// Window operations on the simulated CAD's window, journalled as "Window".
class SimWindowControl : public WindowControl {
 public:
  explicit SimWindowControl(SimCad& cad) : FCad(cad) {}
  bool IsIconic(int64_t window) override;
  void OpenIcon(int64_t window) override;
  void SetForegroundWindow(int64_t window) override;

 private:
  SimCad::State& Record(const wchar_t* operation, int64_t window);
  SimCad& FCad;
};

}  // namespace sim
