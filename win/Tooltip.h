// One tooltip control showing the hints of a window's controls.
#pragma once

#include <string>

#include "win/Handles.h"
#include "win/Win32Api.h"

class Tooltip {
 public:
  // Not owned by the window: Wine drops the topmost band of an owner that
  // is put back into it above its owned topmost popups.
  bool Create(HINSTANCE instance);
  HWND Handle() const { return FWindow.Get(); }
  void Add(HWND control, const wchar_t* hint);
  // Replaces the control's hint; a line feed starts a second line.
  void SetHint(HWND control, const std::wstring& hint);
  // The widest a hint's line gets before it breaks, for the monitor's dpi.
  void ApplyDpi(UINT dpi);

 private:
  UniqueWindow FWindow;
};
