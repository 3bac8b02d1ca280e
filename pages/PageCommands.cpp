#include "pages/PageCommands.h"

#include <array>
#include <exception>
#include <optional>
#include <vector>

#include "cad/CallWait.h"
#include "cad/StopReason.h"
#include "cad/TargetCad.h"
#include "pages/BlockFrames.h"
#include "pages/DocumentIdentity.h"
#include "pages/Pages.h"
#include "pages/SheetNames.h"
#include "pages/StopReasons.h"
#include "pages/Waku.h"

namespace {

struct ViewCentre {
  double x, y;
};

ViewCentre ReadViewCentre(DispatchObject& document) {
  const std::array<Variant, 1> name{Variant(L"VIEWCTR")};
  return NamingMember(L"GetVariable", [&] {
    // x, y and z: nothing more is converted.
    constexpr ArrayUse kPoint{3, true};
    const Variant centre = CallMethod(document, L"GetVariable", name, kPoint);
    const VariantArray& values = centre.AsArray();
    return ViewCentre{values.At(0).ToDouble(), values.At(1).ToDouble()};
  });
}

// The eight values at index 0 to 7 when the array's upper bound is 7, so
// that a 1-based array of eight values is no frame; nothing otherwise. An
// array of more than 16 values, which could not end at 7 but from below
// -8, is not even converted.
std::vector<double> ReadFrameCoordinates(DispatchObject& entity) {
  constexpr int32_t kFrameUpperBound = 7;
  constexpr ArrayUse kFrameValues{16, false};
  Variant coordinates;
  try {
    coordinates = GetValue(entity, L"Coordinates", kFrameValues);
  } catch (const AutomationError& error) {
    if (error.Code() == hresult::TooLarge) return {};
    throw;
  }
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
  const int32_t count = CollectionCount(selection);
  const int32_t last = CollectionCount(selection) - 1;
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

bool IsCancelled(const AutomationError& error) { return error.Code() == hresult::CallCancelled; }

enum class Shown { Page, CadRestarted };

// The end of every move: the status k+1 / n, then the zoom to page k of
// the n pages; the status found is put back when the zoom fails, so that
// it never names a page the CAD does not show. A zoom given up only stops
// waiting: the CAD may still zoom, so the status then shows the count, on
// no page, until a command reads the view again. A page shown leaves no
// reason. The CAD window the zoom reads first tells a CAD started anew
// since the pages were got: nothing is shown then.
Shown ShowPage(PagerView& view, DispatchObject& application, DispatchObject& document, const TWakuList& pages, int k,
               WindowControl& windows) {
  const ZoomRect area = AreaOf(pages[static_cast<size_t>(k)]);
  // An area the zoom refuses is refused before the window is read.
  const std::optional<int64_t> window = IsZoomable(area) ? std::optional(TargetWindow(application)) : std::nullopt;
  if (window && Pages.FromAnotherCad(*window)) return Shown::CadRestarted;
  const std::wstring found = view.PageStatus();
  view.SetPageStatus(PageStatus(k + 1, static_cast<int>(pages.size())));
  try {
    if (window)
      ZoomToWaku(application, document, area, windows, *window);
    else
      ZoomToWaku(application, document, area, windows);
  } catch (const AutomationError& error) {
    view.SetPageStatus(IsCancelled(error) ? std::to_wstring(pages.size()) : found);
    throw;
  } catch (...) {
    view.SetPageStatus(found);
    throw;
  }
  ClearStopReason();
  return Shown::Page;
}

bool TargetRunning(ObjectTable& objects) {
  if (IsTargetRunning(objects)) return true;
  ReportStopReason(NotRunningReason(TargetAppName));
  return false;
}

// A busy CAD's refusal is told as the member's failure, by the guard.
DispatchPtr ActiveDocumentOf(DispatchObject& application) {
  try {
    return GetObjectValue(application, L"ActiveDocument");
  } catch (const AutomationError& error) {
    if (hresult::ServerGone(error.Code()))
      ReportStopReason(NotRunningReason(TargetAppName));
    else if (error.Code() == hresult::CallCancelled)
      ReportStopReason(CancelledReason(TargetAppName));
    else if (!hresult::CallUnanswered(error.Code()))
      ReportStopReason(NoDrawingReason(TargetAppName));
    throw;
  }
}

// Get's work on the active document, from the selection on, once the CAD
// window was read and restored. The drawing's pages and names are taken
// only once it has succeeded; a failure puts back the status it found.
// Pages got from a CAD that was started anew since are dropped first.
void CollectPages(PagerView& view, CadAccess cad, DispatchObject& application, DispatchObject& document,
                  std::optional<std::wstring> identity, int64_t window, const SteadyClock& now) {
  if (Pages.FromAnotherCad(window)) Pages.Clear();
  const std::wstring found = view.PageStatus();
  std::exception_ptr zoomGivenUp;
  try {
    EntityProgress progress(view, now);
    PagesFound pages = FindPages(document, view, progress);
    if (!pages.selected) {
      ReportStopReason(pages.reason);
      return;
    }

    TWakuList& frames = pages.frames;
    view.SetPageStatus(std::to_wstring(pages.gathered));
    if (frames.empty()) {
      ReportStopReason(pages.reason);
    } else {
      const int count = static_cast<int>(frames.size());
      const ViewCentre centre = ReadViewCentre(document);
      const int k = LocateWaku(frames, centre.x, centre.y, count);
      if (k < 0) {
        ReportStopReason(CentreOnNoPageReason());
      } else {
        try {
          ShowPage(view, application, document, frames, k, cad.windows);
          if (pages.unreadReferences > 0) ReportStopReason(UnreadReferencesReason(pages.unreadReferences));
        } catch (const AutomationError& error) {
          // Every frame was read: the pages are taken, shown on no page.
          if (!IsCancelled(error)) throw;
          zoomGivenUp = std::current_exception();
        }
      }
    }
    Pages.Got(std::move(identity), std::move(frames), std::move(pages.names), view.UpperLeft(), window);
  } catch (...) {
    if (view.PageStatus() != found) view.SetPageStatus(found);
    throw;
  }
  if (zoomGivenUp) std::rethrow_exception(zoomGivenUp);
}

// The drawing the CAD shows, for a step or a page choice, once the CAD
// runs: attached, and its kept pages made the current ones.
struct Followed {
  DispatchPtr application, document;
  DrawingFollowed state;
  std::optional<std::wstring> identity;
};

Followed AttachFollowingTheDrawing(const PagerView& view, CadAccess cad) {
  DispatchPtr application = AttachTarget(cad.objects);
  DispatchPtr document = ActiveDocumentOf(*application);
  std::optional<std::wstring> identity = ReadIdentity(*document);
  const DrawingFollowed state = Pages.Follow(identity, view.UpperLeft(), view.OrderByName());
  return Followed{std::move(application), std::move(document), state, std::move(identity)};
}

// Get on the drawing a step found, as the Get button runs it from the
// restore on: for a drawing whose pages were never got, or a CAD started
// anew since they were.
void GetInstead(PagerView& view, CadAccess cad, Followed& followed) {
  const int64_t window = RestoreTargetWindow(*followed.application, cad.windows);
  CollectPages(view, cad, *followed.application, *followed.document, std::move(followed.identity), window, SteadyNow);
}

// The move's page, or Get on a CAD started anew since the pages were got.
void ShowOrGetAnew(PagerView& view, CadAccess cad, Followed& followed, int k) {
  if (ShowPage(view, *followed.application, *followed.document, Pages.WakuList(), k, cad.windows) ==
      Shown::CadRestarted)
    GetInstead(view, cad, followed);
}

bool NoPagesAnywhere() {
  if (!Pages.WakuList().empty() || Pages.HasKept()) return false;
  ReportStopReason(NoPagesReason());
  return true;
}

}  // namespace

PagesFound FindPages(DispatchObject& document, const PagerView& view, EntityProgress& progress) {
  const std::array<Variant, 5> selectArguments{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                               Variant::ByRef(FrameFilterType()),
                                               Variant::ByRef(FrameFilterData(view.LayerName()))};

  const DispatchPtr selection = GetObjectValue(document, L"ActiveSelectionSet");
  CallMethod(*selection, L"Clear");
  CallMethod(*selection, L"Select", selectArguments);
  bool selected = CollectionCount(*selection) > 0;

  SheetsRead read;
  if (selected) {
    read.frames = GatherFrames(*selection, progress);
    CallMethod(*selection, L"Clear");
  }
  PagesFound found;
  found.selected = GatherBlockSheets(*selection, PatternsOf(view), read, progress) || selected;
  if (!found.selected) {
    found.reason = NothingSelectedReason(view.LayerName(), view.BlockPattern());
    return found;
  }
  found.gathered = read.frames.size();
  found.unreadReferences = read.unreadReferences;
  SortWakuList(read.frames, view.UpperLeft());
  found.names = NamePages(read.frames, read.marks);
  if (view.OrderByName()) OrderPagesByName(read.frames, found.names);
  if (read.frames.empty()) found.reason = NoFrameAmongReason(view.LayerName());
  found.frames = std::move(read.frames);
  return found;
}

void GetCommand(PagerView& view, CadAccess cad, const SteadyClock& now) {
  BeginStopReasons();
  if (!TargetRunning(cad.objects)) return;
  try {
    const DispatchPtr application = AttachTarget(cad.objects);
    const int64_t window = RestoreTargetWindow(*application, cad.windows);
    const DispatchPtr document = ActiveDocumentOf(*application);
    CollectPages(view, cad, *application, *document, ReadIdentity(*document), window, now);
  } catch (const std::exception& error) {
    // A busy, closing or unusual CAD ends the command without a message.
    ReportCallFailure(error);
  }
}

void StepCommand(PagerView& view, CadAccess cad, StepDirection direction) {
  BeginStopReasons();
  if (NoPagesAnywhere()) return;
  try {
    if (!TargetRunning(cad.objects)) return;
    Followed followed = AttachFollowingTheDrawing(view, cad);
    if (followed.state == DrawingFollowed::NotGot) {
      GetInstead(view, cad, followed);
      return;
    }
    const int n = static_cast<int>(Pages.WakuList().size());
    if (n <= 0) {
      ReportStopReason(NoPagesReason());
      return;
    }
    const ViewCentre centre = ReadViewCentre(*followed.document);
    int k = LocateWaku(Pages.WakuList(), centre.x, centre.y, n);
    if (k < 0) {
      k = 0;
    } else if (direction == StepDirection::Forward) {
      k = k + 1 >= n ? 0 : k + 1;
    } else {
      k = k - 1 < 0 ? n - 1 : k - 1;
    }
    ShowOrGetAnew(view, cad, followed, k);
  } catch (const std::exception& error) {
    // As in Get: the command simply stops.
    ReportCallFailure(error);
  }
}

void GoToPageCommand(PagerView& view, CadAccess cad, int k) {
  BeginStopReasons();
  if (NoPagesAnywhere()) return;
  if (k < 0 || k >= static_cast<int>(Pages.WakuList().size())) return;
  try {
    if (!TargetRunning(cad.objects)) return;
    Followed followed = AttachFollowingTheDrawing(view, cad);
    if (followed.state == DrawingFollowed::NotGot) {
      GetInstead(view, cad, followed);
      return;
    }
    const int n = static_cast<int>(Pages.WakuList().size());
    if (followed.state == DrawingFollowed::Current) {
      ShowOrGetAnew(view, cad, followed, k);
      return;
    }
    // The choice was among another drawing's pages: only where the view
    // lies in this drawing's.
    const ViewCentre centre = ReadViewCentre(*followed.document);
    const int shown = n > 0 ? LocateWaku(Pages.WakuList(), centre.x, centre.y, n) : -1;
    if (shown < 0) {
      view.SetPageStatus(std::to_wstring(n));
      ReportStopReason(n > 0 ? CentreOnNoPageReason() : NoPagesReason());
      return;
    }
    view.SetPageStatus(PageStatus(shown + 1, n));
    ClearStopReason();
  } catch (const std::exception& error) {
    // As a step: the command simply stops.
    ReportCallFailure(error);
  }
}
