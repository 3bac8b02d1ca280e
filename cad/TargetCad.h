// What the pager asks of the target CAD: whether it runs, attaching to it,
// restoring and raising its window, the frame selection filter and the zoom.
#pragma once

#include <cstdint>
#include <string>

#include "cad/Automation.h"
#include "pages/Waku.h"

// The target CAD's ProgID and display name; empty until the pager window
// gives them their defaults.
extern std::wstring TargetProgId;
extern std::wstring TargetAppName;

inline constexpr wchar_t kDefaultProgId[] = L"BricscadApp.AcadApplication";
inline constexpr wchar_t kDefaultAppName[] = L"BricsCAD";

// The running object table, looked up by ProgID.
class ObjectTable {
 public:
  virtual ~ObjectTable() = default;
  // Whether an instance of the ProgID's class is active. Throws
  // AutomationError when the ProgID is not registered.
  virtual bool IsActive(const std::wstring& progId) = 0;
  // The active instance's dispatch interface. Throws AutomationError when
  // none runs or it offers no dispatch interface.
  virtual DispatchPtr GetActive(const std::wstring& progId) = 0;
};

// The platform's operations on the CAD's main window.
class WindowControl {
 public:
  virtual ~WindowControl() = default;
  virtual bool IsIconic(int64_t window) = 0;
  virtual void OpenIcon(int64_t window) = 0;
  virtual void SetForegroundWindow(int64_t window) = 0;
};

struct CadAccess {
  ObjectTable& objects;
  WindowControl& windows;
};

bool IsTargetRunning(ObjectTable& objects);
DispatchPtr AttachTarget(ObjectTable& objects);

// Restores the CAD window when it is minimized; no foreground change.
void RestoreTargetWindow(DispatchObject& application, WindowControl& windows);

// FilterType [8, 0] and FilterData [layer, "*POLYLINE"].
Variant FrameFilterType();
Variant FrameFilterData(const std::wstring& layer);

// FilterType [0, 2] and FilterData ["INSERT", pattern]: block references
// whose block name matches the pattern, on any layer.
Variant BlockFilterType();
Variant BlockFilterData(const std::wstring& pattern);

// "'ZOOM W x1,y1 x2,y2" and a carriage return, three decimals, '.' always.
std::wstring ZoomCommandText(const TsvWaku& waku);

// Raises the CAD window and zooms its view to the frame, by command text
// or ZoomWindow as the target's ProgID requires.
void ZoomToWaku(DispatchObject& application, DispatchObject& document, const TsvWaku& waku, WindowControl& windows);
