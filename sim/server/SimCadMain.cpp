// simcad.exe: the simulated CAD as an out-of-process COM automation server.
//
//   simcad.exe --progid <ProgID> [--progid <ProgID> ...] [--drawing <file.dxf> ...]
//              [--frame-layer <layer>] [--frame-blocks <pattern>] [--minimized]
//              [--ready-file <path>]
//
// Every drawing given is opened, the first one active. Its application
// object is put in the running object table under every ProgID given. Once it is there, the manual-reset event
// "simcad-ready-<process id>" is set (a launcher may create it first) and
// the ready file, when asked for, is written with the process id.
#include <windows.h>
// CommandLineToArgvW; needs windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cad/ComScoped.h"
#include "common/Unicode.h"
#include "sim/SimObjects.h"
#include "sim/server/DispatchServer.h"
#include "sim/server/SimCadServer.h"
#include "sim/server/SimCadServerFilter.h"
#include "sim/server/SimCadServerRegistration.h"
#include "sim/server/SimCadViewer.h"
#include "win/Handles.h"

namespace {

struct Options {
  std::vector<std::wstring> progIds;
  std::vector<std::wstring> drawings;
  std::wstring frameLayer = L"KESTRA";
  std::wstring frameBlocks;
  std::wstring readyFile;
  bool minimized = false;
};

Options ParseOptions() {
  int count = 0;
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &count),
                                                                &LocalFree);
  if (!arguments) throw std::runtime_error("cannot read the command line");
  Options options;
  for (int i = 1; i < count; ++i) {
    const std::wstring option = arguments.get()[i];
    const auto value = [&]() -> std::wstring {
      if (i + 1 >= count) throw std::runtime_error(ToUtf8(option) + " needs a value");
      return arguments.get()[++i];
    };
    if (option == L"--progid")
      options.progIds.push_back(value());
    else if (option == L"--drawing")
      options.drawings.push_back(value());
    else if (option == L"--frame-layer")
      options.frameLayer = value();
    else if (option == L"--frame-blocks")
      options.frameBlocks = value();
    else if (option == L"--ready-file")
      options.readyFile = value();
    else if (option == L"--minimized")
      options.minimized = true;
    else
      throw std::runtime_error("unknown option " + ToUtf8(option));
  }
  if (options.progIds.empty()) throw std::runtime_error("at least one --progid is needed");
  return options;
}

class Host : public SimCadHost {
 public:
  Host(sim::SimCad& cad, SimCadViewer& viewer, SimCadServerFilter& filter)
      : FCad(cad), FViewer(viewer), FFilter(filter) {}

  void LoadDrawing(const std::wstring& path) override {
    FCad.Load(ReadDrawingFile(path), DocumentNamesOf(path));
    ShowActive();
  }
  size_t OpenDrawing(const std::wstring& path) override {
    const size_t index = FCad.Open(ReadDrawingFile(path), DocumentNamesOf(path));
    ShowActive();
    return index;
  }
  void ActivateDocument(size_t index) override {
    FCad.Activate(index);
    ShowActive();
  }
  void Minimize() override { ShowWindow(FViewer.Window(), SW_MINIMIZE); }
  bool IsMinimized() const override { return IsIconic(FViewer.Window()) != FALSE; }
  bool IsForeground() const override { return GetForegroundWindow() == FViewer.Window(); }
  void Quit() override { FViewer.Close(); }
  void RefuseCalls(int count, int answer) override { FFilter.Refuse(count, static_cast<DWORD>(answer)); }
  void BusyFor(std::chrono::milliseconds duration) override { FViewer.BusyFor(duration); }
  int FilterConsulted() const override { return FFilter.Consulted(); }

 private:
  void ShowActive() { FViewer.ShowDrawing(FCad.ActiveNames().name); }

  sim::SimCad& FCad;
  SimCadViewer& FViewer;
  SimCadServerFilter& FFilter;
};

void WriteReadyFile(const std::wstring& path) {
  const UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + ToUtf8(path));
  const std::string text = std::to_string(GetCurrentProcessId()) + "\n";
  DWORD written = 0;
  if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
    throw std::runtime_error("cannot write " + ToUtf8(path));
}

int Run() {
  const Options options = ParseOptions();
  const ScopedApartment apartment;
  SimCadServerFilter filter;
  const ScopedMessageFilter installedFilter(&filter);
  sim::SimCad cad;
  SimCadViewer viewer(cad, FrameMarks{options.frameLayer, options.frameBlocks});
  cad.SetWindowHandle(static_cast<int64_t>(reinterpret_cast<intptr_t>(viewer.Window())));
  Host host(cad, viewer, filter);
  if (options.drawings.empty()) {
    viewer.ShowDrawing(L"(no drawing)");
  } else {
    host.LoadDrawing(options.drawings.front());
    for (size_t i = 1; i < options.drawings.size(); ++i) host.OpenDrawing(options.drawings[i]);
    host.ActivateDocument(0);
  }

  const auto application = std::make_shared<SimCadApplication>(cad, host);
  const std::shared_ptr<DispatchServer> server = DispatchServer::Create(
      [application](const DispatchObject& object, std::wstring_view member) {
        if (&object == application.get()) return application->HasMember(member);
        return sim::KnowsMember(object, member);
      },
      [&viewer] { viewer.Refresh(); });
  const ComPtr<IDispatch> exported = server->Export(application);

  // Active objects are revoked before their classes are unregistered.
  std::vector<std::unique_ptr<ClassRegistration>> classes;
  std::vector<std::unique_ptr<ActiveObjectRegistration>> activeObjects;
  for (const std::wstring& progId : options.progIds) {
    classes.push_back(std::make_unique<ClassRegistration>(progId));
    activeObjects.push_back(std::make_unique<ActiveObjectRegistration>(exported.Get(), classes.back()->ClassId()));
  }

  viewer.Show(options.minimized);
  const UniqueHandle ready(
      CreateEventW(nullptr, TRUE, FALSE, (L"simcad-ready-" + std::to_wstring(GetCurrentProcessId())).c_str()));
  if (!options.readyFile.empty()) WriteReadyFile(options.readyFile);
  if (ready.Get()) SetEvent(ready.Get());

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  server->Shut();
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    return Run();
  } catch (const AutomationError& error) {
    std::fprintf(stderr, "simcad: %s\n", ToUtf8(error.Text()).c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "simcad: %s\n", error.what());
  }
  return 1;
}
