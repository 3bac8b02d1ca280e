#include "settings/WinMonitors.h"

#include <windows.h>

ScreenRect WinMonitors::Primary() const { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

ScreenRect WinMonitors::NearestTo(const ScreenRect& window) const {
  const RECT rect{window.left, window.top, window.right, window.bottom};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return Primary();
  return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
}
