// The monitors as the platform reports them.
#pragma once

#include "settings/Settings.h"

class WinMonitors : public MonitorLayout {
 public:
  ScreenRect Primary() const override;
  ScreenRect NearestTo(const ScreenRect& window) const override;
};
