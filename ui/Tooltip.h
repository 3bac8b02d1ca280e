// One tooltip control showing the hints of a window's controls. The
// tooltip is owned by the window and destroyed with it.
#pragma once

#include "ui/Win32Api.h"

class Tooltip {
 public:
  bool Create(HWND owner);
  HWND Handle() const { return FHandle; }
  void Add(HWND control, const wchar_t* hint);

 private:
  HWND FHandle = nullptr;
};
