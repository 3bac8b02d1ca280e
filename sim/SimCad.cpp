#include "sim/SimCad.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "common/AsciiCase.h"
#include "sim/SimObjects.h"

namespace sim {

namespace {

std::wstring ClassKey(const std::wstring& progId) { return UpperAscii(progId); }

}  // namespace

bool SameName(std::wstring_view a, std::wstring_view b) { return EqualIgnoringAsciiCase(a, b); }

std::optional<Variant> SimCad::State::ApplyFaults(std::wstring_view member) {
  // A CAD busy in a long regeneration: it neither answers nor looks at its
  // messages.
  for (Stall& stall : FStalls)
    if (SameName(stall.member, member) && --stall.callsLeft == 0) std::this_thread::sleep_for(stall.duration);
  std::erase_if(FStalls, [](const Stall& stall) { return stall.callsLeft <= 0; });
  auto due = FFaults.end();
  for (auto fault = FFaults.begin(); fault != FFaults.end(); ++fault)
    if (SameName(fault->member, member) && --fault->callsLeft == 0 && due == FFaults.end()) due = fault;
  if (due != FFaults.end()) {
    const AutomationError error(due->code, L"simulated failure of " + std::wstring(member));
    std::erase_if(FFaults, [](const Fault& fault) { return fault.callsLeft <= 0; });
    throw error;
  }
  const auto answer = std::find_if(FAnswers.begin(), FAnswers.end(),
                                   [member](const Answer& answer) { return SameName(answer.member, member); });
  if (answer == FAnswers.end()) return std::nullopt;
  return answer->value;
}

void SimCad::State::FailOn(const std::wstring& member, int nthCall, HResult code) {
  if (nthCall < 1) throw std::invalid_argument("FailOn counts calls from 1");
  FFaults.push_back(Fault{member, nthCall, code});
}

void SimCad::State::StallOn(const std::wstring& member, int nthCall, std::chrono::milliseconds duration) {
  if (nthCall < 1) throw std::invalid_argument("StallOn counts calls from 1");
  FStalls.push_back(Stall{member, nthCall, duration});
}

void SimCad::State::ReturnValue(const std::wstring& member, Variant value) {
  FAnswers.push_back(Answer{member, std::move(value)});
}

void SimCad::State::ClearFaults() {
  FFaults.clear();
  FStalls.clear();
  FAnswers.clear();
}

std::wstring Describe(const JournalEntry& entry) {
  std::wstring text = entry.object + L"." + entry.member + L"(";
  for (size_t i = 0; i < entry.arguments.size(); ++i) text += (i ? L", " : L"") + Describe(entry.arguments[i]);
  return text + L")";
}

OpenDocument& SimCad::State::Document(uint64_t serial) {
  for (OpenDocument& document : documents)
    if (document.serial == serial) return document;
  throw AutomationError(hresult::Fail, L"the drawing is no longer open");
}

SimCad::SimCad(Drawing drawing) : FState(std::make_shared<State>()) {
  CreateApplicationObject(FState);
  Load(std::move(drawing));
}

void SimCad::Load(Drawing drawing, DocumentNames names) {
  FState->documents.clear();
  FState->journal.clear();
  Open(std::move(drawing), std::move(names));
}

size_t SimCad::Open(Drawing drawing, DocumentNames names) {
  OpenDocument document;
  document.serial = ++FState->lastSerial;
  document.view = drawing.view;
  document.drawing = std::move(drawing);
  document.names = std::move(names);
  CreateDocumentObjects(FState, document);
  FState->documents.push_back(std::move(document));
  FState->active = FState->documents.size() - 1;
  return FState->active;
}

void SimCad::Activate(size_t index) {
  if (index >= FState->documents.size()) throw std::out_of_range("no open document at that index");
  FState->active = index;
}

size_t SimCad::ActiveIndex() const { return FState->active; }

size_t SimCad::DocumentCount() const { return FState->documents.size(); }

const DocumentNames& SimCad::ActiveNames() const { return FState->Active().names; }

const Drawing& SimCad::CurrentDrawing() const { return FState->Active().drawing; }

DispatchPtr SimCad::Application() { return FState->application; }

const std::vector<JournalEntry>& SimCad::Journal() const { return FState->journal; }

void SimCad::ClearJournal() { FState->journal.clear(); }

std::vector<std::wstring> SimCad::JournalMembers() const {
  std::vector<std::wstring> members;
  for (const JournalEntry& entry : FState->journal) members.push_back(entry.member);
  return members;
}

View SimCad::CurrentView() const { return FState->Active().view; }

void SimCad::SetViewCentre(double x, double y) {
  FState->Active().view.centreX = x;
  FState->Active().view.centreY = y;
}

int64_t SimCad::WindowHandle() const { return FState->windowHandle; }

void SimCad::SetWindowHandle(int64_t window) { FState->windowHandle = window; }

bool SimCad::Minimized() const { return FState->minimized; }

void SimCad::SetMinimized(bool minimized) {
  FState->minimized = minimized;
  if (minimized) FState->foreground = false;
}

bool SimCad::Foreground() const { return FState->foreground; }

void SimCad::FailOn(const std::wstring& member, int nthCall, HResult code) { FState->FailOn(member, nthCall, code); }

void SimCad::StallOn(const std::wstring& member, int nthCall, std::chrono::milliseconds duration) {
  FState->StallOn(member, nthCall, duration);
}

void SimCad::ReturnWrongType(const std::wstring& member) { FState->ReturnValue(member, Variant(L"wrong type")); }

void SimCad::ReturnValue(const std::wstring& member, Variant value) { FState->ReturnValue(member, std::move(value)); }

void SimCad::ClearFaults() { FState->ClearFaults(); }

void SimObjectTable::RegisterClass(const std::wstring& progId) { FRegistered[ClassKey(progId)] = true; }

void SimObjectTable::Run(const std::wstring& progId, SimCad& cad) {
  RegisterClass(progId);
  FRunning[ClassKey(progId)] = &cad;
}

void SimObjectTable::Stop(const std::wstring& progId) { FRunning.erase(ClassKey(progId)); }

bool SimObjectTable::IsActive(const std::wstring& progId) {
  const std::wstring key = ClassKey(progId);
  if (!FRegistered.contains(key))
    throw AutomationError(hresult::InvalidClassString, L"無効なクラス文字列です (" + progId + L")");
  return FRunning.contains(key);
}

DispatchPtr SimObjectTable::GetActive(const std::wstring& progId) {
  if (!IsActive(progId))
    throw AutomationError(hresult::Unavailable, L"操作を実行できません (" + progId + L" は実行されていません)");
  return FRunning.at(ClassKey(progId))->Application();
}

// A handle that is not the CAD's window changes nothing, as with a stale
// handle on Windows.
SimCad::State& SimWindowControl::Record(const wchar_t* operation, int64_t window) {
  SimCad::State& state = *FCad.FState;
  state.journal.push_back(JournalEntry{L"Window", operation, {Variant(window)}});
  return state;
}

bool SimWindowControl::IsIconic(int64_t window) {
  const SimCad::State& state = Record(L"IsIconic", window);
  return window == state.windowHandle && state.minimized;
}

void SimWindowControl::OpenIcon(int64_t window) {
  SimCad::State& state = Record(L"OpenIcon", window);
  if (window == state.windowHandle) state.minimized = false;
}

void SimWindowControl::SetForegroundWindow(int64_t window) {
  SimCad::State& state = Record(L"SetForegroundWindow", window);
  if (window == state.windowHandle) state.foreground = true;
}

const LayoutPlotSettings& SimCad::PlotSettings() const { return FState->Active().plotSettings; }

int16_t SimCad::BackgroundPlot() const { return FState->Active().backgroundPlot; }

bool SimCad::QuietErrorMode() const { return FState->Active().quietErrorMode; }

void SimCad::ShowPaperSpace(bool paperSpace) { FState->Active().paperSpace = paperSpace; }

void SimCad::RefusePlotOn(int nthCall) {
  if (nthCall < 1) throw std::invalid_argument("RefusePlotOn counts calls from 1");
  FState->refusedPlots.push_back(FState->plotCalls + nthCall);
}

}  // namespace sim
