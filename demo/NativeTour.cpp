// Pages through a drawing with the simulated CAD in process and prints
// what the pager would show: Get, Next, Next, Previous, then Get again
// with the upper-left option.
#include <cstdio>
#include <exception>
#include <string>

#include "common/Unicode.h"
#include "pages/PageCommands.h"
#include "sim/Dxf.h"
#include "sim/SimCad.h"

namespace {

class PrintingView : public PagerView {
 public:
  bool upperLeft = false;
  std::wstring status;
  std::wstring LayerName() const override { return L"KESTRA"; }
  bool UpperLeft() const override { return upperLeft; }
  void SetPageStatus(const std::wstring& text) override { status = text; }
};

void Report(const char* action, const PrintingView& view, const sim::SimCad& cad) {
  const sim::View shown = cad.CurrentView();
  std::printf("%-22s status %-8s view centre (%8.2f, %8.2f), height %7.2f\n", action, ToUtf8(view.status).c_str(),
              shown.centreX, shown.centreY, shown.height);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s drawing.dxf\n", argv[0]);
    return 2;
  }
  try {
    sim::SimCad cad(sim::ReadDxfFile(argv[1]));
    sim::SimObjectTable objects;
    sim::SimWindowControl windows(cad);
    TargetProgId = kDefaultProgId;
    objects.Run(TargetProgId, cad);
    PrintingView view;
    const CadAccess access{objects, windows};

    Report("start", view, cad);
    GetCommand(view, access);
    Report("Get", view, cad);
    StepCommand(view, access, StepDirection::Forward);
    Report("Next", view, cad);
    StepCommand(view, access, StepDirection::Forward);
    Report("Next", view, cad);
    StepCommand(view, access, StepDirection::Backward);
    Report("Previous", view, cad);
    view.upperLeft = true;
    GetCommand(view, access);
    Report("Get (upper left)", view, cad);
    std::printf("%zu calls made to the CAD\n", cad.Journal().size());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
