// What the pager asks of the target CAD: whether it runs, attaching to it,
// restoring and raising its window, the frame selection filter and the zoom.
#pragma once

#include <string>

#include "cad/Automation.h"
#include "cad/CadPlatform.h"

// The target CAD's ProgID and display name; empty until the pager window
// gives them their defaults.
extern std::wstring TargetProgId;
extern std::wstring TargetAppName;

inline constexpr wchar_t kDefaultProgId[] = L"BricscadApp.AcadApplication";
inline constexpr wchar_t kDefaultAppName[] = L"BricsCAD";

bool IsTargetRunning(ObjectTable& objects);
DispatchPtr AttachTarget(ObjectTable& objects);

// The CAD's main window, as HWND reports it.
int64_t TargetWindow(DispatchObject& application);

// Restores the CAD window when it is minimized; no foreground change.
// Returns the window.
int64_t RestoreTargetWindow(DispatchObject& application, WindowControl& windows);

// A collection's Count (a selection set, the layers, the blocks, a block's
// entities), refused (hresult::TooLarge) outside 0 to kMostEntities: a
// CAD's answer beyond that is no number of items.
inline constexpr int32_t kMostEntities = 10'000'000;
int32_t CollectionCount(DispatchObject& collection);

// FilterType [8, 0] and FilterData [layer, "*POLYLINE"].
Variant FrameFilterType();
Variant FrameFilterData(const std::wstring& layer);

// FilterType [0, 2] and FilterData ["INSERT", pattern]: block references
// whose block name matches the pattern, on any layer.
Variant BlockFilterType();
Variant BlockFilterData(const std::wstring& pattern);

// The drawing area a zoom shows: lower-left and upper-right corners.
struct ZoomRect {
  double minx, miny, maxx, maxy;
};

// "'ZOOM W x1,y1 x2,y2" and a carriage return, three decimals, '.' always,
// every digit of a large value written.
std::wstring ZoomCommandText(const ZoomRect& area);

// Raises the CAD window and zooms its view to the frame's area, by command
// text or ZoomWindow as the target's ProgID requires. Throws
// AutomationError, calling nothing, for an area that is not finite or has
// no finite width or height.
void ZoomToWaku(DispatchObject& application, DispatchObject& document, const ZoomRect& area, WindowControl& windows);
// The same on the CAD window read before.
void ZoomToWaku(DispatchObject& application, DispatchObject& document, const ZoomRect& area, WindowControl& windows,
                int64_t window);

// Whether ZoomToWaku takes the area: finite, with a finite width and height.
bool IsZoomable(const ZoomRect& area);
