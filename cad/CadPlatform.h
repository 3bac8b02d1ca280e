// The platform operations the pager needs around the CAD's automation
// objects: finding a running instance and handling its main window. The
// product implements them over COM and user32; the simulated CAD over its
// own state.
#pragma once

#include <cstdint>
#include <string>

#include "cad/Automation.h"

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
