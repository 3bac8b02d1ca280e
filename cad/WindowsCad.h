// The Windows platform behind the pager's CAD interfaces: the running
// object table by ProgID, and the CAD main window's state.
#pragma once

#include "cad/TargetCad.h"

class ComObjectTable : public ObjectTable {
 public:
  bool IsActive(const std::wstring& progId) override;
  DispatchPtr GetActive(const std::wstring& progId) override;
};

class Win32WindowControl : public WindowControl {
 public:
  bool IsIconic(int64_t window) override;
  void OpenIcon(int64_t window) override;
  void SetForegroundWindow(int64_t window) override;
};
