#include "cad/TargetCad.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "common/AsciiCase.h"

std::wstring TargetProgId;
std::wstring TargetAppName;

namespace {

Variant PointArray(double x, double y) { return Variant::ArrayOf(VariantKind::Double, 0, {Variant(x), Variant(y)}); }

// Fixed point with three decimals and '.', independent of the locale, every
// digit written however large the value.
std::wstring FormatCoordinate(double value) {
  // The largest double has 309 integer digits.
  std::array<char, 400> buffer{};
  const auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 3);
  if (error != std::errc{}) throw AutomationError(hresult::InvalidArg, L"a zoom corner cannot be written");
  return std::wstring(buffer.data(), end);
}

}  // namespace

bool IsZoomable(const ZoomRect& area) {
  const double width = area.maxx - area.minx;
  const double height = area.maxy - area.miny;
  return std::isfinite(area.minx) && std::isfinite(area.miny) && std::isfinite(area.maxx) && std::isfinite(area.maxy) &&
         std::isfinite(width) && std::isfinite(height) && width > 0.0 && height > 0.0;
}

int64_t TargetWindow(DispatchObject& application) { return GetValue(application, L"HWND").ToInt64(); }

bool IsTargetRunning(ObjectTable& objects) { return objects.IsActive(TargetProgId); }

DispatchPtr AttachTarget(ObjectTable& objects) { return objects.GetActive(TargetProgId); }

// Get restores the window here, at its start, and the zoom restores it again
// before it brings it forward: a step restores only there, and the user may
// minimize the CAD while a long Get reads. Both are meant.
int64_t RestoreTargetWindow(DispatchObject& application, WindowControl& windows) {
  const int64_t window = TargetWindow(application);
  if (windows.IsIconic(window)) windows.OpenIcon(window);
  return window;
}

int32_t CollectionCount(DispatchObject& collection) {
  return NamingMember(L"Count", [&] {
    const int64_t count = GetValue(collection, L"Count").ToInt64();
    if (count < 0 || count > kMostEntities)
      throw AutomationError(hresult::TooLarge, L"数 " + std::to_wstring(count) + L" は範囲外です");
    return static_cast<int32_t>(count);
  });
}

Variant FrameFilterType() {
  return Variant::ArrayOf(VariantKind::Int16, 0, {Variant(int16_t{8}), Variant(int16_t{0})});
}

Variant FrameFilterData(const std::wstring& layer) {
  return Variant::ArrayOf(VariantKind::Variant, 0, {Variant(layer), Variant(L"*POLYLINE")});
}

Variant BlockFilterType() {
  return Variant::ArrayOf(VariantKind::Int16, 0, {Variant(int16_t{0}), Variant(int16_t{2})});
}

Variant BlockFilterData(const std::wstring& pattern) {
  return Variant::ArrayOf(VariantKind::Variant, 0, {Variant(L"INSERT"), Variant(pattern)});
}

std::wstring ZoomCommandText(const ZoomRect& waku) {
  return L"'ZOOM W " + FormatCoordinate(waku.minx) + L"," + FormatCoordinate(waku.miny) + L" " +
         FormatCoordinate(waku.maxx) + L"," + FormatCoordinate(waku.maxy) + L"\r";
}

namespace {

void RefuseUnzoomable(const ZoomRect& area) {
  if (!IsZoomable(area)) throw AutomationError(hresult::InvalidArg, L"the zoom window is not finite or has no area");
}

}  // namespace

void ZoomToWaku(DispatchObject& application, DispatchObject& document, const ZoomRect& waku, WindowControl& windows) {
  RefuseUnzoomable(waku);
  ZoomToWaku(application, document, waku, windows, TargetWindow(application));
}

void ZoomToWaku(DispatchObject& application, DispatchObject& document, const ZoomRect& waku, WindowControl& windows,
                int64_t window) {
  RefuseUnzoomable(waku);
  if (windows.IsIconic(window)) windows.OpenIcon(window);
  windows.SetForegroundWindow(window);

  const std::array<Variant, 2> corners{Variant::ByRef(PointArray(waku.minx, waku.miny)),
                                       Variant::ByRef(PointArray(waku.maxx, waku.maxy))};
  const std::wstring progId = UpperAscii(TargetProgId);
  if (progId.starts_with(L"AUTOCAD")) {
    const std::array<Variant, 1> text{Variant(ZoomCommandText(waku))};
    CallMethod(document, L"SendCommand", text);
  } else {
    CallMethod(application, L"ZoomWindow", corners);
  }
  // Deliberately a second zoom, after the one above, for a GCAD ProgID:
  // that is how PAGE has always zoomed GstarCAD, not a slip to remove.
  if (progId.find(L"GCAD") != std::wstring::npos) CallMethod(application, L"ZoomWindow", corners);
}
