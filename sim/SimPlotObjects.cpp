#include "sim/SimPlotObjects.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

#include "sim/Geometry.h"
#include "sim/PdfWriter.h"
#include "sim/SimObject.h"

namespace sim {

namespace {

constexpr int32_t kWindowPlotType = 4;  // acWindow
constexpr int32_t kScaleToFit = 0;      // acScaleToFit
constexpr double kPointsPerMillimetre = 72.0 / 25.4;

Variant Strings(const std::vector<std::wstring>& names) {
  std::vector<Variant> elements(names.begin(), names.end());
  return Variant::ArrayOf(VariantKind::String, 0, std::move(elements));
}

Variant PlanarPoint(double x, double y) { return Variant::ArrayOf(VariantKind::Double, 0, {Variant(x), Variant(y)}); }

void RequireOutArguments(std::wstring_view member, std::span<const Variant> arguments) {
  for (const Variant& argument : arguments)
    if (!argument.IsByRef())
      throw AutomationError(hresult::TypeMismatch,
                            std::wstring(member) + L": the arguments are out parameters, got " + Describe(argument));
}

// Where the model's window goes on the paper: scaled, placed, turned by
// PlotRotation quarter turns counter-clockwise.
class PaperMapping {
 public:
  PaperMapping(const LayoutPlotSettings& settings, const Box& window, double paperWidth, double paperHeight)
      : FWindow(window), FWidth(paperWidth), FHeight(paperHeight), FTurns(settings.plotRotation & 3) {
    const bool across = FTurns % 2 == 1;
    const double areaWidth = across ? paperHeight : paperWidth;
    const double areaHeight = across ? paperWidth : paperHeight;
    const double windowWidth = window.maxx - window.minx, windowHeight = window.maxy - window.miny;
    FScale = settings.useStandardScale && settings.standardScale == kScaleToFit
                 ? std::min(areaWidth / windowWidth, areaHeight / windowHeight)
                 : kPointsPerMillimetre * settings.customNumerator / settings.customDenominator;
    FOffsetX = settings.centerPlot ? (areaWidth - windowWidth * FScale) / 2 : 0.0;
    FOffsetY = settings.centerPlot ? (areaHeight - windowHeight * FScale) / 2 : 0.0;
  }

  std::array<double, 2> Map(double x, double y) const {
    const double u = (x - FWindow.minx) * FScale + FOffsetX, v = (y - FWindow.miny) * FScale + FOffsetY;
    switch (FTurns) {
      case 1: return {FWidth - v, u};
      case 2: return {FWidth - u, FHeight - v};
      case 3: return {v, FHeight - u};
      default: return {u, v};
    }
  }
  double Scale() const { return FScale; }
  double TurnDegrees() const { return 90.0 * FTurns; }

 private:
  Box FWindow;
  double FWidth, FHeight, FScale = 1.0, FOffsetX = 0.0, FOffsetY = 0.0;
  int32_t FTurns;
};

PdfPage PlotPage(const OpenDocument& document, const Box& window) {
  const LayoutPlotSettings& settings = document.plotSettings;
  const Paper& paper = *FindPaper(settings.canonicalMediaName);
  PdfPage page{paper.width * kPointsPerMillimetre, paper.height * kPointsPerMillimetre, {}, {}, {}};
  const PaperMapping mapping(settings, window, page.width, page.height);
  const auto lowerLeft = mapping.Map(window.minx, window.miny), upperRight = mapping.Map(window.maxx, window.maxy);
  page.clip = {std::min(lowerLeft[0], upperRight[0]), std::min(lowerLeft[1], upperRight[1]),
               std::abs(upperRight[0] - lowerLeft[0]), std::abs(upperRight[1] - lowerLeft[1])};
  const Drawing& drawing = document.drawing;
  for (const Entity& entity : drawing.entities) {
    ForEachOutline(drawing, entity, [&](const std::vector<double>& points, bool closed) {
      PdfStroke stroke{{}, closed};
      for (size_t i = 0; i + 1 < points.size(); i += 2) {
        const auto mapped = mapping.Map(points[i], points[i + 1]);
        stroke.points.insert(stroke.points.end(), mapped.begin(), mapped.end());
      }
      page.strokes.push_back(std::move(stroke));
    });
    ForEachLabel(drawing, entity, [&](const Label& label) {
      const auto at = mapping.Map(label.x, label.y);
      page.texts.push_back(
          {label.text, at[0], at[1], label.height * mapping.Scale(), label.rotation + mapping.TurnDegrees()});
    });
  }
  return page;
}

class LayoutObject : public SimObject {
 public:
  LayoutObject(std::weak_ptr<SimCad::State> state, uint64_t document)
      : SimObject(std::move(state), L"Layout"), FDocument(document) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 21> kMembers{{{L"Name", true},
                                                      {L"ModelType", true},
                                                      {L"ConfigName", true, 0, 0, true},
                                                      {L"CanonicalMediaName", true, 0, 0, true},
                                                      {L"PlotType", true, 0, 0, true},
                                                      {L"PlotRotation", true, 0, 0, true},
                                                      {L"CenterPlot", true, 0, 0, true},
                                                      {L"UseStandardScale", true, 0, 0, true},
                                                      {L"StandardScale", true, 0, 0, true},
                                                      {L"StyleSheet", true, 0, 0, true},
                                                      {L"PlotWithPlotStyles", true, 0, 0, true},
                                                      {L"GetWindowToPlot", false, 2},
                                                      {L"SetWindowToPlot", false, 2},
                                                      {L"GetCustomScale", false, 2},
                                                      {L"SetCustomScale", false, 2},
                                                      {L"GetPaperSize", false, 2},
                                                      {L"RefreshPlotDeviceInfo", false},
                                                      {L"GetPlotDeviceNames", false},
                                                      {L"GetCanonicalMediaNames", false},
                                                      {L"GetLocaleMediaName", false, 1},
                                                      {L"GetPlotStyleTableNames", false}}};
    return kMembers;
  }

  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) override {
    OpenDocument& document = state.Document(FDocument);
    LayoutPlotSettings& s = document.plotSettings;
    if (member == L"Name") return Variant(document.paperSpace ? L"Layout1" : L"Model");
    if (member == L"ModelType") return Variant(!document.paperSpace);
    if (member == L"ConfigName") return Variant(s.configName);
    if (member == L"CanonicalMediaName") return Variant(s.canonicalMediaName);
    if (member == L"PlotType") return Variant(s.plotType);
    if (member == L"PlotRotation") return Variant(s.plotRotation);
    if (member == L"CenterPlot") return Variant(s.centerPlot);
    if (member == L"UseStandardScale") return Variant(s.useStandardScale);
    if (member == L"StandardScale") return Variant(s.standardScale);
    if (member == L"StyleSheet") return Variant(s.styleSheet);
    if (member == L"PlotWithPlotStyles") return Variant(s.plotWithPlotStyles);
    if (member == L"GetPlotDeviceNames") return Strings(PlotDeviceNames());
    if (member == L"GetPlotStyleTableNames") return Strings(PlotStyleTableNames());
    if (member == L"GetCanonicalMediaNames") {
      std::vector<std::wstring> names;
      for (const Paper& paper : Papers()) names.push_back(paper.canonicalName);
      return Strings(names);
    }
    if (member == L"GetLocaleMediaName") {
      const Paper* paper = FindPaper(StringArgument(member, arguments[0]));
      if (!paper) InvalidArgument(member, L"the device has no paper " + arguments[0].AsString());
      return Variant(paper->localeName);
    }
    if (member == L"RefreshPlotDeviceInfo") return Variant();
    if (member == L"SetWindowToPlot") {
      const Point lowerLeft = PointArgument(member, arguments[0], true);
      const Point upperRight = PointArgument(member, arguments[1], true);
      s.windowMinX = lowerLeft.x, s.windowMinY = lowerLeft.y, s.windowMaxX = upperRight.x, s.windowMaxY = upperRight.y;
      return Variant();
    }
    if (member == L"SetCustomScale") {
      const double numerator = arguments[0].ToDouble(), denominator = arguments[1].ToDouble();
      if (!(numerator > 0) || !(denominator > 0)) InvalidArgument(member, L"a scale is positive");
      s.customNumerator = numerator, s.customDenominator = denominator;
      s.useStandardScale = false;
      return Variant();
    }
    RequireOutArguments(member, arguments);
    if (member == L"GetWindowToPlot") {
      arguments[0].Store(PlanarPoint(s.windowMinX, s.windowMinY));
      arguments[1].Store(PlanarPoint(s.windowMaxX, s.windowMaxY));
    } else if (member == L"GetCustomScale") {
      arguments[0].Store(Variant(s.customNumerator));
      arguments[1].Store(Variant(s.customDenominator));
    } else {
      const Paper& paper = *FindPaper(s.canonicalMediaName);
      arguments[0].Store(Variant(paper.width));
      arguments[1].Store(Variant(paper.height));
    }
    return Variant();
  }

  // Assignments are checked as the CAD checks them: a device, paper or
  // table it does not have, a value out of range or of another type is
  // refused and changes nothing.
  void Put(SimCad::State& state, std::wstring_view member, const Variant& value) override {
    LayoutPlotSettings& s = state.Document(FDocument).plotSettings;
    if (member == L"ConfigName") {
      const std::wstring& name = StringArgument(member, value);
      const auto& devices = PlotDeviceNames();
      if (std::none_of(devices.begin(), devices.end(), [&](const std::wstring& d) { return SameName(d, name); }))
        InvalidArgument(member, L"no plot device " + name);
      s.configName = name;
    } else if (member == L"CanonicalMediaName") {
      if (!FindPaper(StringArgument(member, value))) InvalidArgument(member, L"no paper " + value.AsString());
      s.canonicalMediaName = value.AsString();
    } else if (member == L"PlotType") {
      const int32_t type = IntegerArgument(member, value);
      if (type < 0 || type > 5) InvalidArgument(member, L"no plot type " + std::to_wstring(type));
      if (type == kWindowPlotType && !(s.windowMaxX > s.windowMinX && s.windowMaxY > s.windowMinY))
        InvalidArgument(member, L"a window plot needs a window with extent");
      s.plotType = type;
    } else if (member == L"PlotRotation") {
      const int32_t rotation = IntegerArgument(member, value);
      if (rotation < 0 || rotation > 3) InvalidArgument(member, L"no rotation " + std::to_wstring(rotation));
      s.plotRotation = rotation;
    } else if (member == L"StandardScale") {
      const int32_t scale = IntegerArgument(member, value);
      if (scale < 0 || scale > 33) InvalidArgument(member, L"no standard scale " + std::to_wstring(scale));
      s.standardScale = scale;
    } else if (member == L"StyleSheet") {
      const std::wstring& name = StringArgument(member, value);
      const auto& tables = PlotStyleTableNames();
      if (!name.empty() &&
          std::none_of(tables.begin(), tables.end(), [&](const std::wstring& t) { return SameName(t, name); }))
        InvalidArgument(member, L"no plot style table " + name);
      s.styleSheet = name;
    } else if (member == L"CenterPlot") {
      s.centerPlot = BoolArgument(member, value);
    } else if (member == L"UseStandardScale") {
      s.useStandardScale = BoolArgument(member, value);
    } else {
      s.plotWithPlotStyles = BoolArgument(member, value);
    }
  }

 private:
  uint64_t FDocument;
};

class PlotObject : public SimObject {
 public:
  PlotObject(std::weak_ptr<SimCad::State> state, uint64_t document)
      : SimObject(std::move(state), L"Plot"), FDocument(document) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 3> kMembers{
        {{L"QuietErrorMode", true, 0, 0, true}, {L"PlotToFile", false, 1, 1}, {L"PlotToDevice", false, 0, 1}}};
    return kMembers;
  }

  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) override {
    OpenDocument& document = state.Document(FDocument);
    if (member == L"QuietErrorMode") return Variant(document.quietErrorMode);
    ++state.plotCalls;
    const bool refused =
        std::find(state.refusedPlots.begin(), state.refusedPlots.end(), state.plotCalls) != state.refusedPlots.end();
    if (refused || SameName(document.plotSettings.configName, kNoDevice)) return Variant(false);
    if (member == L"PlotToDevice") return Variant(true);
    return Variant(WritePlot(document, StringArgument(member, arguments[0])));
  }

  void Put(SimCad::State& state, std::wstring_view member, const Variant& value) override {
    state.Document(FDocument).quietErrorMode = BoolArgument(member, value);
  }

 private:
  // A file that exists is not replaced, as the CADs refuse to.
  static bool WritePlot(const OpenDocument& document, const std::wstring& path) {
    const std::filesystem::path file(path);
    std::error_code error;
    if (path.empty() || std::filesystem::exists(file, error)) return false;
    const LayoutPlotSettings& s = document.plotSettings;
    const Box window = s.plotType == kWindowPlotType ? Box{s.windowMinX, s.windowMinY, s.windowMaxX, s.windowMaxY}
                                                     : BoxOfView(document.view);
    const std::string bytes = PdfDocument(PlotPage(document, window));
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
  }

  static Box BoxOfView(const View& view) {
    return Box{view.centreX - view.width / 2, view.centreY - view.height / 2, view.centreX + view.width / 2,
               view.centreY + view.height / 2};
  }

  uint64_t FDocument;
};

}  // namespace

void CreatePlotObjects(const std::shared_ptr<SimCad::State>& state, OpenDocument& document) {
  document.layout = std::make_shared<LayoutObject>(state, document.serial);
  document.plot = std::make_shared<PlotObject>(state, document.serial);
}

}  // namespace sim
