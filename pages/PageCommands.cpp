#include "pages/PageCommands.h"

#include <array>
#include <exception>
#include <vector>

#include "cad/TargetCad.h"
#include "pages/BlockFrames.h"
#include "pages/SheetNames.h"
#include "pages/Waku.h"

namespace {

struct ViewCentre {
  double x, y;
};

ViewCentre ReadViewCentre(DispatchObject& document) {
  const std::array<Variant, 1> name{Variant(L"VIEWCTR")};
  const Variant centre = CallMethod(document, L"GetVariable", name);
  const VariantArray& values = centre.AsArray();
  return {values.At(0).ToDouble(), values.At(1).ToDouble()};
}

// The eight values at index 0 to 7 when the array's upper bound is 7, so
// that a 1-based array of eight values is no frame; nothing otherwise.
std::vector<double> ReadFrameCoordinates(DispatchObject& entity) {
  constexpr int32_t kFrameUpperBound = 7;
  const Variant coordinates = GetValue(entity, L"Coordinates");
  const VariantArray& array = coordinates.AsArray();
  if (array.UpperBound() != kFrameUpperBound || array.lowerBound > 0) return {};
  const auto first = array.elements.begin() + (0 - array.lowerBound);
  std::vector<double> values;
  values.reserve(kFrameUpperBound + 1);
  for (auto value = first; value != array.elements.end(); ++value) values.push_back(value->ToDouble());
  return values;
}

// Reads every entity of the selection into a new frame list, in the
// gathering call order. Only closed four-vertex polylines give frames.
TWakuList GatherFrames(DispatchObject& selection, EntityProgress& progress) {
  // Count is asked again for the length and for the last index rather
  // than reused: PAGE keeps the exact calls a CAD has always seen from it.
  const int32_t count = GetValue(selection, L"Count").ToInt32();
  const int32_t last = GetValue(selection, L"Count").ToInt32() - 1;
  TWakuList frames;
  frames.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t i = 0; i <= last; ++i) {
    const std::array<Variant, 1> index{Variant(i)};
    const DispatchPtr entity = CallMethod(selection, L"Item", index).AsObject();
    const std::vector<double> coordinates = ReadFrameCoordinates(*entity);
    const bool closed = GetValue(*entity, L"Closed").ToBool();
    if (const auto waku = WakuFromPolyline(coordinates, closed)) frames.push_back(*waku);
    progress.Read();
  }
  return frames;
}

BlockPatterns PatternsOf(const PagerView& view) {
  BlockPatterns patterns{view.BlockPattern(), view.TitleBlockPattern(), view.NameTags()};
  if (patterns.titles.empty()) patterns.titles = patterns.frames;
  return patterns;
}

ZoomRect AreaOf(const TsvWaku& waku) { return ZoomRect{waku.minx, waku.miny, waku.maxx, waku.maxy}; }

std::wstring PageStatus(int page, int count) { return std::to_wstring(page) + L" / " + std::to_wstring(count); }

// The end of every move: the status k+1 / n, then the zoom to page k of
// the n pages; the status found is put back when the zoom fails, so that
// it never names a page the CAD does not show.
void ShowPage(PagerView& view, DispatchObject& application, DispatchObject& document, const TWakuList& pages, int k,
              WindowControl& windows) {
  const std::wstring found = view.PageStatus();
  view.SetPageStatus(PageStatus(k + 1, static_cast<int>(pages.size())));
  try {
    ZoomToWaku(application, document, AreaOf(pages[static_cast<size_t>(k)]), windows);
  } catch (...) {
    view.SetPageStatus(found);
    throw;
  }
}

}  // namespace

void GetCommand(PagerView& view, CadAccess cad, const SteadyClock& now) {
  if (!IsTargetRunning(cad.objects)) return;
  const std::wstring found = view.PageStatus();
  try {
    const DispatchPtr application = AttachTarget(cad.objects);
    RestoreTargetWindow(*application, cad.windows);
    const DispatchPtr document = GetObjectValue(*application, L"ActiveDocument");
    const std::array<Variant, 5> selectArguments{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                                 Variant::ByRef(FrameFilterType()),
                                                 Variant::ByRef(FrameFilterData(view.LayerName()))};

    const DispatchPtr selection = GetObjectValue(*document, L"ActiveSelectionSet");
    CallMethod(*selection, L"Clear");
    CallMethod(*selection, L"Select", selectArguments);
    bool selected = GetValue(*selection, L"Count").ToInt64() > 0;

    // Built aside so that a failure while reading leaves the last list.
    EntityProgress progress(view, now);
    SheetsRead read;
    if (selected) {
      read.frames = GatherFrames(*selection, progress);
      CallMethod(*selection, L"Clear");
    }
    selected = GatherBlockSheets(*selection, PatternsOf(view), read, progress) || selected;
    if (!selected) return;

    // WakuList and PageNames take the new pages only once the command has
    // succeeded.
    TWakuList& frames = read.frames;
    view.SetPageStatus(std::to_wstring(frames.size()));
    SortWakuList(frames, view.UpperLeft());
    std::vector<PageName> names = NamePages(frames, read.marks);
    if (view.OrderByName()) OrderPagesByName(frames, names);
    if (!frames.empty()) {
      const int pages = static_cast<int>(frames.size());
      const ViewCentre centre = ReadViewCentre(*document);
      const int k = LocateWaku(frames, centre.x, centre.y, pages);
      if (k >= 0) ShowPage(view, *application, *document, frames, k, cad.windows);
    }
    WakuList = std::move(frames);
    PageNames = std::move(names);
  } catch (const std::exception&) {
    // A busy, closing or unusual CAD ends the command silently, with the
    // list and the status it found.
    if (view.PageStatus() != found) view.SetPageStatus(found);
  }
}

void StepCommand(PagerView& view, CadAccess cad, StepDirection direction) {
  const int n = static_cast<int>(WakuList.size());
  if (n <= 0) return;
  try {
    if (!IsTargetRunning(cad.objects)) return;
    const DispatchPtr application = AttachTarget(cad.objects);
    const DispatchPtr document = GetObjectValue(*application, L"ActiveDocument");
    const ViewCentre centre = ReadViewCentre(*document);
    int k = LocateWaku(WakuList, centre.x, centre.y, n);
    if (k < 0) {
      k = 0;
    } else if (direction == StepDirection::Forward) {
      k = k + 1 >= n ? 0 : k + 1;
    } else {
      k = k - 1 < 0 ? n - 1 : k - 1;
    }
    ShowPage(view, *application, *document, WakuList, k, cad.windows);
  } catch (const std::exception&) {
    // As in Get: the command simply stops.
  }
}

void GoToPageCommand(PagerView& view, CadAccess cad, int k) {
  const int n = static_cast<int>(WakuList.size());
  if (k < 0 || k >= n) return;
  try {
    if (!IsTargetRunning(cad.objects)) return;
    const DispatchPtr application = AttachTarget(cad.objects);
    const DispatchPtr document = GetObjectValue(*application, L"ActiveDocument");
    ShowPage(view, *application, *document, WakuList, k, cad.windows);
  } catch (const std::exception&) {
    // As a step: the command simply stops.
  }
}
