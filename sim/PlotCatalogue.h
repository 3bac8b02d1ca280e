// What the simulated CAD offers to plot with: its plot devices, their
// papers and the plot style tables, and the plot settings of a model layout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Paper {
  std::wstring canonicalName;  // CanonicalMediaName
  std::wstring localeName;     // GetLocaleMediaName
  double width, height;        // millimetres, as GetPaperSize reports them
};

inline constexpr wchar_t kPdfDevice[] = L"Print As PDF.pc3";
inline constexpr wchar_t kNoDevice[] = L"None";

const std::vector<std::wstring>& PlotDeviceNames();
// Every device offers the ISO papers A4 to A1, upright and across.
const std::vector<Paper>& Papers();
const Paper* FindPaper(std::wstring_view canonicalName);
const std::vector<std::wstring>& PlotStyleTableNames();

// A model layout's plot settings, as its members read and set them. The
// initial values are not the ones a plot uses, so that tests see whether
// a plot put them back.
struct LayoutPlotSettings {
  std::wstring configName = L"Default Windows System Printer.pc3";
  std::wstring canonicalMediaName = L"ISO_full_bleed_A3_(420.00_x_297.00_MM)";
  int32_t plotType = 0;  // acDisplay
  double windowMinX = 10.0, windowMinY = 20.0, windowMaxX = 110.0, windowMaxY = 220.0;
  int32_t plotRotation = 0;
  bool centerPlot = false;
  bool useStandardScale = false;
  int32_t standardScale = 16;  // ac1_1
  double customNumerator = 1.0, customDenominator = 50.0;
  std::wstring styleSheet = L"monochrome.ctb";
  bool plotWithPlotStyles = true;

  bool operator==(const LayoutPlotSettings&) const = default;
};

}  // namespace sim
