#include "pages/PageCommands.h"

#include <array>
#include <exception>
#include <vector>

#include "cad/TargetCad.h"
#include "pages/Waku.h"

namespace {

struct ViewCentre {
  double x, y;
};

ViewCentre ReadViewCentre(DispatchObject& document) {
  const std::array<Variant, 1> name{Variant(L"VIEWCTR")};
  const Variant centre = CallMethod(document, L"GetVariable", name);
  const VariantArray& values = centre.AsArray();
  // Elements 0 and 1 by index, whatever the array's lower bound.
  const auto element = [&values](int32_t index) {
    const int64_t offset = int64_t{index} - values.lowerBound;
    if (offset < 0 || offset >= static_cast<int64_t>(values.elements.size()))
      throw AutomationError(hresult::BadIndex, L"VIEWCTR の値が不正です");
    return values.elements[static_cast<size_t>(offset)].ToDouble();
  };
  return {element(0), element(1)};
}

std::vector<double> ReadCoordinates(DispatchObject& entity) {
  const Variant coordinates = GetValue(entity, L"Coordinates");
  const VariantArray& array = coordinates.AsArray();
  std::vector<double> values;
  values.reserve(array.elements.size());
  for (const Variant& value : array.elements) values.push_back(value.ToDouble());
  return values;
}

// Reads every entity of the selection into a new frame list, in the
// gathering call order. Only closed four-vertex polylines give frames.
TWakuList GatherFrames(DispatchObject& selection) {
  const int32_t count = GetValue(selection, L"Count").ToInt32();
  const int32_t last = GetValue(selection, L"Count").ToInt32() - 1;
  TWakuList frames;
  frames.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t i = 0; i <= last; ++i) {
    const std::array<Variant, 1> index{Variant(i)};
    const DispatchPtr entity = CallMethod(selection, L"Item", index).AsObject();
    const std::vector<double> coordinates = ReadCoordinates(*entity);
    const bool closed = GetValue(*entity, L"Closed").ToBool();
    if (const auto waku = WakuFromPolyline(coordinates, closed)) frames.push_back(*waku);
  }
  return frames;
}

ZoomRect AreaOf(const TsvWaku& waku) { return ZoomRect{waku.minx, waku.miny, waku.maxx, waku.maxy}; }

std::wstring PageStatus(int page, int count) { return std::to_wstring(page) + L" / " + std::to_wstring(count); }

// The end of every move: the status k+1 / n, then the zoom to frame k.
void ShowPage(PagerView& view, DispatchObject& application, DispatchObject& document, int k, int n,
              WindowControl& windows) {
  view.SetPageStatus(PageStatus(k + 1, n));
  ZoomToWaku(application, document, AreaOf(WakuList[static_cast<size_t>(k)]), windows);
}

}  // namespace

void GetCommand(PagerView& view, CadAccess cad) {
  if (!IsTargetRunning(cad.objects)) return;
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
    if (!(GetValue(*selection, L"Count").ToInt64() > 0)) return;

    // Built aside so that a failure while reading leaves the last list.
    TWakuList frames = GatherFrames(*selection);
    CallMethod(*selection, L"Clear");

    WakuList = std::move(frames);
    view.SetPageStatus(std::to_wstring(WakuList.size()));
    if (WakuList.empty()) return;

    SortWakuList(WakuList, view.UpperLeft());
    const int pages = static_cast<int>(WakuList.size());
    const ViewCentre centre = ReadViewCentre(*document);
    const int k = LocateWaku(WakuList, centre.x, centre.y, pages);
    if (k < 0) return;
    view.SetPageStatus(PageStatus(k + 1, pages));
    ZoomToWaku(*application, *document, AreaOf(WakuList[static_cast<size_t>(k)]), cad.windows);
  } catch (const std::exception&) {
    // A busy, closing or unusual CAD ends the command silently.
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
    ShowPage(view, *application, *document, k, n, cad.windows);
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
    ShowPage(view, *application, *document, k, n, cad.windows);
  } catch (const std::exception&) {
    // As a step: the command simply stops.
  }
}
