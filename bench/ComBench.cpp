// Prints how long Get takes through real COM against simcad.exe for
// drawings of 12, 100 and 1,000 frames, 1,000 frames of block references
// without and with names, and 1,000 sheets among 1,000 anonymous
// references, and how much of that time is our own work rather than
// waiting for the CAD; then what the settings dialog's reads of a drawing
// of 200 layers and 300 block definitions cost. Not a test: it asserts nothing
// and only reports figures.
//
// own share = (wall - member calls x round trip) / wall, where a round trip
// is one member call measured in the same run (name lookup and invoke of
// HWND, as the pager makes every call). Item and Coordinates round trips
// are shown beside it: Item hands out a new object each time, which COM
// marshals and the pager releases again, so it costs more than HWND. The
// last figure times every member call and every release of a CAD object
// from the pager's side, so that what remains is our own work alone.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "SimCadProcess.h"
#include "cad/ComScoped.h"
#include "cad/MessageFilter.h"
#include "cad/WindowsCad.h"
#include "common/Unicode.h"
#include "pages/DrawingContents.h"
#include "pages/PageCommands.h"
#include "pages/Pages.h"
#include "pages/Waku.h"
#include "plot/PlotJob.h"
#include "ui/WinPlotFiles.h"

namespace {

constexpr wchar_t kProgId[] = L"PageBench.SimCad";
constexpr int kRoundTrips = 1000;

class QuietView : public PagerView {
 public:
  explicit QuietView(std::wstring blocks = {}, std::vector<std::wstring> tags = {})
      : FBlocks(std::move(blocks)), FTags(std::move(tags)) {}
  std::wstring LayerName() const override { return L"KESTRA"; }
  bool UpperLeft() const override { return false; }
  std::wstring PageStatus() const override { return {}; }
  std::wstring BlockPattern() const override { return FBlocks; }
  std::vector<std::wstring> NameTags() const override { return FTags; }
  void SetPageStatus(const std::wstring&) override {}

 private:
  std::wstring FBlocks;
  std::vector<std::wstring> FTags;
};

class Stopwatch {
 public:
  Stopwatch() {
    QueryPerformanceFrequency(&FFrequency);
    QueryPerformanceCounter(&FStart);
  }
  double Milliseconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - FStart.QuadPart) / static_cast<double>(FFrequency.QuadPart);
  }

 private:
  LARGE_INTEGER FFrequency{}, FStart{};
};

enum class Framing { Polylines, BlockReferences, NamedBlockReferences, PolylinesAmongAnonymousReferences };

// Frames of 420 x 297 in rows of 25, a title block in each, and the view
// on the first frame, so that Get also zooms. Framed by block references,
// each sheet is one reference of a block FRAME holding both rectangles,
// named or not by two attributes. Among anonymous references, each
// polyline sheet holds a reference of an anonymous block that is no frame.
std::wstring WriteSheets(const std::wstring& folder, int count, Framing framing) {
  const bool blocks = framing == Framing::BlockReferences || framing == Framing::NamedBlockReferences;
  const bool named = framing == Framing::NamedBlockReferences;
  const bool anonymous = framing == Framing::PolylinesAmongAnonymousReferences;
  const std::wstring path = folder +
                            (named       ? L"named-"
                             : anonymous ? L"anonymous-"
                             : blocks    ? L"blocks-"
                                         : L"sheets-") +
                            std::to_wstring(count) + L".dxf";
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  const auto pair = [&out](int code, const std::string& value) { out << code << "\r\n" << value << "\r\n"; };
  const auto rectangle = [&](const char* layer, double x1, double y1, double x2, double y2) {
    pair(0, "LWPOLYLINE");
    pair(8, layer);
    pair(90, "4");
    pair(70, "1");
    for (const auto& [x, y] : {std::pair{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}) {
      pair(10, std::to_string(x));
      pair(20, std::to_string(y));
    }
  };
  pair(0, "SECTION");
  pair(2, "HEADER");
  pair(9, "$ACADVER");
  pair(1, "AC1015");
  pair(0, "ENDSEC");
  pair(0, "SECTION");
  pair(2, "TABLES");
  pair(0, "TABLE");
  pair(2, "VPORT");
  pair(0, "VPORT");
  pair(2, "*ACTIVE");
  pair(12, "210.0");
  pair(22, "148.5");
  pair(40, "297.0");
  pair(41, "1.414");
  pair(0, "ENDTAB");
  pair(0, "ENDSEC");
  if (blocks || anonymous) {
    pair(0, "SECTION");
    pair(2, "BLOCKS");
    pair(0, "BLOCK");
    pair(2, anonymous ? "*U1" : "FRAME");
    if (anonymous) {
      rectangle("0", 0, 0, 9, 20);
    } else {
      rectangle("0", 0, 0, 420, 297);
      rectangle("0", 250, 10, 410, 60);
    }
    pair(0, "ENDBLK");
    pair(0, "ENDSEC");
  }
  const auto attribute = [&](const char* tag, const std::string& text, double x, double y) {
    pair(0, "ATTRIB");
    pair(8, "0");
    pair(10, std::to_string(x));
    pair(20, std::to_string(y));
    pair(40, "3.5");
    pair(1, text);
    pair(2, tag);
  };
  pair(0, "SECTION");
  pair(2, "ENTITIES");
  for (int i = 0; i < count; ++i) {
    const double x = 500.0 * (i % 25), y = -400.0 * (i / 25);
    if (blocks) {
      pair(0, "INSERT");
      pair(8, "0");
      if (named) pair(66, "1");
      pair(2, "FRAME");
      pair(10, std::to_string(x));
      pair(20, std::to_string(y));
      if (named) {
        attribute("DWGNO", "A-" + std::to_string(i + 1), x + 260, y + 40);
        attribute("TITLE", "SHEET " + std::to_string(i + 1), x + 260, y + 20);
        pair(0, "SEQEND");
      }
    } else {
      rectangle("KESTRA", x, y, x + 420, y + 297);
      rectangle("TITLE", x + 250, y + 10, x + 410, y + 60);
    }
    if (anonymous) {
      pair(0, "INSERT");
      pair(8, "0");
      pair(2, "*U1");
      pair(10, std::to_string(x + 100));
      pair(20, std::to_string(y + 100));
    }
  }
  pair(0, "ENDSEC");
  pair(0, "EOF");
  if (!out) throw std::runtime_error("cannot write " + ToUtf8(path));
  return path;
}

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  std::wstring folder = std::wstring(buffer, length) + L"page-com-bench\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// What the settings dialog reads: 200 layers, and 300 block definitions
// of a rectangle and two attribute definitions each.
std::wstring WriteContents(const std::wstring& folder, int layers, int blocks) {
  const std::wstring path = folder + L"contents.dxf";
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  const auto pair = [&out](int code, const std::string& value) { out << code << "\r\n" << value << "\r\n"; };
  pair(0, "SECTION");
  pair(2, "TABLES");
  pair(0, "TABLE");
  pair(2, "LAYER");
  for (int i = 0; i < layers; ++i) {
    pair(0, "LAYER");
    pair(2, "LAYER-" + std::to_string(i));
    pair(70, "0");
  }
  pair(0, "ENDTAB");
  pair(0, "ENDSEC");
  pair(0, "SECTION");
  pair(2, "BLOCKS");
  for (int i = 0; i < blocks; ++i) {
    pair(0, "BLOCK");
    pair(2, "BLOCK-" + std::to_string(i));
    pair(70, "0");
    pair(0, "LWPOLYLINE");
    pair(8, "0");
    pair(90, "4");
    pair(70, "1");
    for (const auto& [x, y] : {std::pair{0, 0}, {420, 0}, {420, 297}, {0, 297}}) {
      pair(10, std::to_string(x));
      pair(20, std::to_string(y));
    }
    for (const char* tag : {"DWGNO", "TITLE"}) {
      pair(0, "ATTDEF");
      pair(8, "0");
      pair(10, "300");
      pair(20, "10");
      pair(40, "3.5");
      pair(1, "");
      pair(2, tag);
    }
    pair(0, "ENDBLK");
  }
  pair(0, "ENDSEC");
  pair(0, "EOF");
  return path;
}

// One read of the settings dialog: wall time and member calls.
template <class Read>
void MeasureRead(const char* what, DispatchObject& application, int items, Read read) {
  ComObjectTable objects;
  const ActiveDrawing drawing = AttachActiveDrawing(objects);
  if (!drawing.document) throw std::runtime_error(ToUtf8(drawing.reason));
  SimCall(application, L"SimClearJournal");
  const Stopwatch watch;
  const size_t found = read(*drawing.document);
  const double wall = watch.Milliseconds();
  const double calls = static_cast<double>(SimJournal(application).size());
  std::printf("%-24s %7d %7zu %10.1f %7.0f %14.2f\n", what, items, found, wall, calls, calls / items);
}

// Adds the time spent in each member call, and in those of the objects
// it returns, to a total.
class TimedDispatch : public DispatchObject {
 public:
  TimedDispatch(DispatchPtr inner, double& total) : FInner(std::move(inner)), FTotal(total) {}
  TimedDispatch(const TimedDispatch&) = delete;
  TimedDispatch& operator=(const TimedDispatch&) = delete;
  // Releasing the last reference to a proxy is a call into the CAD too.
  ~TimedDispatch() override {
    const Stopwatch watch;
    FInner.reset();
    FTotal += watch.Milliseconds();
  }

  Variant Invoke(std::wstring_view member, CallKind kind, std::span<const Variant> arguments) override {
    const Stopwatch watch;
    Variant result = FInner->Invoke(member, kind, arguments);
    FTotal += watch.Milliseconds();
    if (result.Kind() == VariantKind::Object && result.AsObject()) return Timed(result.AsObject());
    // GetAttributes: an array of attribute objects.
    if (result.Kind() == VariantKind::Array || result.Kind() == VariantKind::Variant) {
      VariantArray array = result.AsArray();
      for (Variant& element : array.elements)
        if (element.Deref().Kind() == VariantKind::Object) element = Timed(element.AsObject());
      return Variant(std::move(array));
    }
    return result;
  }

 private:
  Variant Timed(const DispatchPtr& object) const {
    return Variant(DispatchPtr(std::make_shared<TimedDispatch>(object, FTotal)));
  }

  DispatchPtr FInner;
  double& FTotal;
};

class TimedObjectTable : public ObjectTable {
 public:
  explicit TimedObjectTable(double& total) : FTotal(total) {}
  bool IsActive(const std::wstring& progId) override { return FObjects.IsActive(progId); }
  DispatchPtr GetActive(const std::wstring& progId) override {
    return std::make_shared<TimedDispatch>(FObjects.GetActive(progId), FTotal);
  }

 private:
  ComObjectTable FObjects;
  double& FTotal;
};

template <class Call>
double RoundTripMilliseconds(Call call) {
  const Stopwatch watch;
  for (int i = 0; i < kRoundTrips; ++i) call(i);
  return watch.Milliseconds() / kRoundTrips;
}

struct RoundTrips {
  double trivial, item, coordinates;
};

// With the frames selected as Get selects them.
RoundTrips MeasureRoundTrips(DispatchObject& application, int frames) {
  const DispatchPtr document = GetValue(application, L"ActiveDocument").AsObject();
  const DispatchPtr selection = GetValue(*document, L"ActiveSelectionSet").AsObject();
  CallMethod(*selection, L"Clear");
  const std::vector<Variant> select{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                    Variant::ByRef(FrameFilterType()), Variant::ByRef(FrameFilterData(L"KESTRA"))};
  CallMethod(*selection, L"Select", select);
  const auto item = [&](int i) {
    const std::vector<Variant> index{Variant(int32_t{i % frames})};
    return CallMethod(*selection, L"Item", index).AsObject();
  };
  const DispatchPtr entity = item(0);
  RoundTrips trips{};
  trips.trivial = RoundTripMilliseconds([&](int) { GetValue(application, L"HWND"); });
  trips.item = RoundTripMilliseconds(item);
  trips.coordinates = RoundTripMilliseconds([&](int) { GetValue(*entity, L"Coordinates"); });
  CallMethod(*selection, L"Clear");
  return trips;
}

struct GetTimes {
  double wall;     // median of the runs, ms
  double calls;    // member calls per run
  double outside;  // share of all runs spent outside member calls
};

GetTimes TimeGet(DispatchObject& application, QuietView view, int frames) {
  SimCall(application, L"SimClearJournal");
  double inCalls = 0.0;
  TimedObjectTable objects(inCalls);
  Win32WindowControl windows;
  const int runs = frames >= 1000 ? 3 : 10;
  std::vector<double> walls;
  for (int run = 0; run < runs; ++run) {
    const Stopwatch watch;
    GetCommand(view, CadAccess{objects, windows});
    walls.push_back(watch.Milliseconds());
  }
  double totalWall = 0.0;
  for (const double wall : walls) totalWall += wall;
  const double calls = static_cast<double>(SimJournal(application).size()) / runs;
  std::sort(walls.begin(), walls.end());
  return {walls[walls.size() / 2], calls, (totalWall - inCalls) / totalWall};
}

void Measure(DispatchObject& application, const std::wstring& drawing, int frames) {
  SimCall(application, L"SimLoadDrawing", {Variant(drawing)});
  const RoundTrips trips = MeasureRoundTrips(application, frames);
  const GetTimes times = TimeGet(application, QuietView(), frames);
  const double waiting = times.calls * trips.trivial;
  std::printf("%7d %7zu %10.1f %7.0f %8.3f %8.3f %8.3f %9.1f%% %9.1f%%\n", frames, Pages.WakuList().size(), times.wall,
              times.calls, trips.trivial, trips.item, trips.coordinates, 100.0 * (times.wall - waiting) / times.wall,
              100.0 * times.outside);
}

// The same sheets framed by block references, found by the block pass.
void MeasureBlocks(DispatchObject& application, const std::wstring& drawing, int frames, const QuietView& view) {
  SimCall(application, L"SimLoadDrawing", {Variant(drawing)});
  const GetTimes times = TimeGet(application, view, frames);
  std::printf("%7d %7zu %10.1f %7.0f %14.2f %9.1f%%\n", frames, Pages.WakuList().size(), times.wall, times.calls,
              times.calls / frames, 100.0 * times.outside);
}

class QuietProgress : public PlotProgress {
 public:
  void Plotting(size_t, size_t, const PlotSheet&) override {}
  bool StopRequested() override { return false; }
};

// Every page of the last Get plotted to PDF files in a fresh folder.
void MeasurePlot(DispatchObject& application, const std::wstring& drawing, int frames, const std::wstring& folder) {
  SimCall(application, L"SimLoadDrawing", {Variant(drawing)});
  double inCalls = 0.0;
  TimedObjectTable objects(inCalls);
  Win32WindowControl windows;
  QuietView view;
  GetCommand(view, CadAccess{objects, windows});
  std::vector<PlotSheet> sheets;
  for (size_t i = 0; i < Pages.WakuList().size(); ++i)
    sheets.push_back({Pages.WakuList()[i], static_cast<int>(i + 1), L"", std::to_wstring(i + 1)});
  const std::wstring output = folder + L"plot-" + std::to_wstring(frames);
  std::filesystem::remove_all(output);
  std::filesystem::create_directories(output);
  const PlotChoices choices{PlotOutput::PdfFile,
                            L"Print As PDF.pc3",
                            L"ISO_full_bleed_A3_(420.00_x_297.00_MM)",
                            L"",
                            PlotOrientation::Auto,
                            output};
  SimCall(application, L"SimClearJournal");
  WinPlotFiles files;
  QuietProgress progress;
  const Stopwatch watch;
  const PlotReport report =
      RunPlotJob(*AttachTarget(objects), {kProgId, {}}, choices, sheets, files, progress, RunUnwatched);
  const double wall = watch.Milliseconds();
  const size_t calls = SimJournal(application).size();
  const size_t perSheet = 4 * sheets.size();
  std::printf("%7zu %7d %10.1f %7zu %12zu %10zu\n", sheets.size(), report.plotted, wall, calls, calls - perSheet,
              perSheet);
}

}  // namespace

int main() {
  try {
    const ScopedApartment apartment;
    // As page.exe runs its commands.
    const MessageFilterRegistration filter;
    TargetProgId = kProgId;
    const std::wstring folder = TempFolder();
    {
      SimCadProcess simCad({kProgId});
      const DispatchPtr application = AttachSimCad(kProgId);
      std::printf("Get through COM against simcad.exe (median wall time of the runs)\n");
      std::printf("%7s %7s %10s %7s %8s %8s %8s %10s %10s\n", "frames", "pages", "wall ms", "calls", "trip ms",
                  "Item ms", "Coord ms", "own share", "outside");
      for (const int frames : {12, 100, 1000})
        Measure(*application, WriteSheets(folder, frames, Framing::Polylines), frames);
      std::printf("\nGet on sheets framed by block references, with the block pattern set\n");
      std::printf("%7s %7s %10s %7s %14s %10s\n", "frames", "pages", "wall ms", "calls", "calls/frame", "outside");
      MeasureBlocks(*application, WriteSheets(folder, 1000, Framing::BlockReferences), 1000, QuietView(L"FRAME"));
      std::printf("\nThe same, each reference named by two attributes, with Names=DWGNO,TITLE\n");
      std::printf("%7s %7s %10s %7s %14s %10s\n", "frames", "pages", "wall ms", "calls", "calls/frame", "outside");
      MeasureBlocks(*application, WriteSheets(folder, 1000, Framing::NamedBlockReferences), 1000,
                    QuietView(L"FRAME", {L"DWGNO", L"TITLE"}));
      std::printf(
          "\n1,000 polyline sheets among 1,000 anonymous references that are no frames:\n"
          "without a block pattern, then with one (the dynamic pass reads each EffectiveName)\n");
      std::printf("%7s %7s %10s %7s %14s %10s\n", "frames", "pages", "wall ms", "calls", "calls/frame", "outside");
      const std::wstring anonymous = WriteSheets(folder, 1000, Framing::PolylinesAmongAnonymousReferences);
      MeasureBlocks(*application, anonymous, 1000, QuietView());
      MeasureBlocks(*application, anonymous, 1000, QuietView(L"FRAME"));
      std::printf("\nPlotting every page to PDF: the job's own calls and 4 per sheet\n");
      std::printf("%7s %7s %10s %7s %12s %10s\n", "sheets", "plotted", "wall ms", "calls", "job calls", "per sheet");
      for (const int frames : {12, 100})
        MeasurePlot(*application, WriteSheets(folder, frames, Framing::Polylines), frames, folder);

      std::printf("\nWhat the settings dialog reads of a drawing of 200 layers and 300 block definitions\n");
      std::printf("%-24s %7s %7s %10s %7s %14s\n", "read", "items", "found", "wall ms", "calls", "calls/item");
      SimCall(*application, L"SimLoadDrawing", {Variant(WriteContents(folder, 200, 300))});
      MeasureRead("layers", *application, 200, [](DispatchObject& d) { return ReadLayerNames(d).size(); });
      // The file names no layouts: the CAD lists its two as well.
      MeasureRead("block definitions", *application, 302, [](DispatchObject& d) { return ReadBlockNames(d).size(); });
      // Three entities: a rectangle and two attribute definitions.
      MeasureRead("tags of one block", *application, 3,
                  [](DispatchObject& d) { return ReadAttributeTags(d, L"BLOCK-7").size(); });
    }
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "page_com_bench: %s\n", error.what());
    return 1;
  }
}
