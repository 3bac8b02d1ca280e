// A window's controls as a table: created once, placed and given their
// fonts again whenever the window's dpi changes.
#pragma once

#include <span>
#include <vector>

#include "win/Handles.h"
#include "win/Win32Api.h"

struct ControlRect {
  int left, top, width, height;
};

struct ControlDefinition {
  int id;
  const wchar_t* windowClass;
  DWORD style;  // WS_CHILD | WS_VISIBLE are added
  DWORD exStyle;
  ControlRect bounds;  // client coordinates at 96 dpi
  const wchar_t* text;
  int fontHeight;  // logical height at 96 dpi, negative for character height
};

// Tahoma in the few heights the windows use, for one dpi.
class FontSet {
 public:
  void SetDpi(UINT dpi);
  HFONT Font(int height96);

 private:
  struct Entry {
    int height96;
    UniqueFont font;
  };
  UINT FDpi = 96;
  std::vector<Entry> FFonts;
};

// In table order, which is the tab order. Returns false when a control
// could not be created.
bool CreateControls(HWND parent, std::span<const ControlDefinition> controls);
void LayoutControls(HWND parent, std::span<const ControlDefinition> controls, UINT dpi, FontSet& fonts);
// Widens the control to its text in its font; never narrows it.
void FitWidthToText(HWND control);
