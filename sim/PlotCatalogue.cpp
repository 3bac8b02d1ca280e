#include "sim/PlotCatalogue.h"

#include "sim/Drawing.h"

namespace sim {

const std::vector<std::wstring>& PlotDeviceNames() {
  static const std::vector<std::wstring> kDevices{kNoDevice, kPdfDevice, L"Default Windows System Printer.pc3"};
  return kDevices;
}

const std::vector<Paper>& Papers() {
  static const std::vector<Paper> kPapers = [] {
    struct Size {
      const wchar_t* name;
      double shorter, longer;
    };
    static constexpr Size kSizes[] = {{L"A4", 210, 297}, {L"A3", 297, 420}, {L"A2", 420, 594}, {L"A1", 594, 841}};
    std::vector<Paper> papers;
    for (const Size& size : kSizes)
      for (const bool across : {false, true}) {
        const double width = across ? size.longer : size.shorter;
        const double height = across ? size.shorter : size.longer;
        const std::wstring w = std::to_wstring(static_cast<int>(width)) + L".00";
        const std::wstring h = std::to_wstring(static_cast<int>(height)) + L".00";
        papers.push_back({L"ISO_full_bleed_" + std::wstring(size.name) + L"_(" + w + L"_x_" + h + L"_MM)",
                          L"ISO full bleed " + std::wstring(size.name) + L" (" + w + L" x " + h + L" mm)", width,
                          height});
      }
    return papers;
  }();
  return kPapers;
}

const Paper* FindPaper(std::wstring_view canonicalName) {
  for (const Paper& paper : Papers())
    if (SameName(paper.canonicalName, canonicalName)) return &paper;
  return nullptr;
}

const std::vector<std::wstring>& PlotStyleTableNames() {
  static const std::vector<std::wstring> kTables{L"acad.ctb", L"monochrome.ctb", L"grayscale.ctb"};
  return kTables;
}

}  // namespace sim
