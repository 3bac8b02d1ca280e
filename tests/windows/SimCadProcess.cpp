#include "SimCadProcess.h"

#include <stdexcept>

#include "cad/WindowsCad.h"
#include "common/Unicode.h"
#include "win/Handles.h"

namespace {

constexpr DWORD kReadyTimeout = 60000;
constexpr DWORD kQuitTimeout = 20000;

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring Quoted(const std::wstring& argument) { return L"\"" + argument + L"\""; }

// The build passes Unix paths; Wine shows the Unix root as drive Z.
std::wstring WinePath(const char* unixPath) {
  std::wstring path = FromUtf8Lenient(unixPath);
  if (path.starts_with(L"/")) path = L"Z:" + path;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

}  // namespace

SimCadProcess::SimCadProcess(const std::vector<std::wstring>& progIds, const std::vector<std::wstring>& drawings,
                             bool minimized)
    : FProgId(progIds.at(0)) {
  std::wstring commandLine = Quoted(ProgramFolder() + L"simcad.exe");
  for (const std::wstring& progId : progIds) commandLine += L" --progid " + Quoted(progId);
  for (const std::wstring& drawing : drawings) commandLine += L" --drawing " + Quoted(drawing);
  if (minimized) commandLine += L" --minimized";

  // Suspended until the ready event exists, so that its signal is never missed.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &process))
    throw std::runtime_error("cannot start simcad.exe: error " + std::to_string(GetLastError()));
  FProcess = process.hProcess;
  const UniqueHandle thread(process.hThread);
  const UniqueHandle ready(
      CreateEventW(nullptr, TRUE, FALSE, (L"simcad-ready-" + std::to_wstring(process.dwProcessId)).c_str()));
  ResumeThread(thread.Get());

  const HANDLE waits[] = {ready.Get(), FProcess};
  const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, kReadyTimeout);
  if (woken == WAIT_OBJECT_0) return;
  DWORD exitCode = 0;
  GetExitCodeProcess(FProcess, &exitCode);
  End();
  throw std::runtime_error(woken == WAIT_OBJECT_0 + 1 ? "simcad.exe ended with code " + std::to_string(exitCode)
                                                      : "simcad.exe did not get ready");
}

SimCadProcess::~SimCadProcess() {
  if (!FProcess) return;
  try {
    Quit();
  } catch (...) {
    // It is killed below.
  }
  End();
}

DWORD SimCadProcess::Quit() {
  {
    const DispatchPtr application = AttachSimCad(FProgId);
    SimCall(*application, L"SimQuit");
  }
  if (WaitForSingleObject(FProcess, kQuitTimeout) != WAIT_OBJECT_0) throw std::runtime_error("simcad.exe did not quit");
  DWORD exitCode = 0;
  GetExitCodeProcess(FProcess, &exitCode);
  return exitCode;
}

void SimCadProcess::End() noexcept {
  if (WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(FProcess, 99);
    WaitForSingleObject(FProcess, kQuitTimeout);
  }
  CloseHandle(FProcess);
  FProcess = nullptr;
}

DispatchPtr AttachSimCad(const std::wstring& progId) {
  ComObjectTable objects;
  return objects.GetActive(progId);
}

std::vector<std::wstring> SimJournal(DispatchObject& application) {
  std::vector<std::wstring> calls;
  const Variant journal = GetValue(application, L"SimJournal");
  for (const Variant& call : journal.AsArray().elements) calls.push_back(call.AsString());
  return calls;
}

std::vector<double> SimView(DispatchObject& application) {
  std::vector<double> view;
  const Variant values = GetValue(application, L"SimView");
  for (const Variant& value : values.AsArray().elements) view.push_back(value.ToDouble());
  return view;
}

void SimCall(DispatchObject& application, const wchar_t* member, std::vector<Variant> arguments) {
  CallMethod(application, member, arguments);
}

bool SimQuery(DispatchObject& application, const wchar_t* member) { return GetValue(application, member).ToBool(); }

std::vector<std::wstring> PolylineGetJournal(int polylines) {
  std::vector<std::wstring> journal{L"Application.HWND()",
                                    L"Application.ActiveDocument()",
                                    L"Document.FullName()",
                                    L"Document.ActiveSelectionSet()",
                                    L"SelectionSet.Clear()",
                                    L"SelectionSet.Select(I4 5, Missing, Missing, &[I2 0..1: I2 8, I2 0], "
                                    L"&[Variant 0..1: \"KESTRA\", \"*POLYLINE\"])",
                                    L"SelectionSet.Count()",
                                    L"SelectionSet.Count()",
                                    L"SelectionSet.Count()"};
  for (int i = 0; i < polylines; ++i)
    journal.insert(journal.end(),
                   {L"SelectionSet.Item(I4 " + std::to_wstring(i) + L")", L"Entity.Coordinates()", L"Entity.Closed()"});
  journal.insert(journal.end(), {L"SelectionSet.Clear()", L"Document.GetVariable(\"VIEWCTR\")"});
  return journal;
}

std::wstring SampleDrawingPath() { return WinePath(PAGE_SAMPLE_DRAWING); }

std::wstring BlockDrawingPath() { return WinePath(PAGE_BLOCK_DRAWING); }

std::wstring TestDataPath(const char* relative) {
  return WinePath((std::string(PAGE_TEST_DATA) + "/" + relative).c_str());
}

std::wstring TitlesDrawingPath() { return TestDataPath("drawings/titles/titles-1-00.dxf"); }
