// Drawing of the controls in a dark palette.
#pragma once

#include <string>

#include "theme/StylePalette.h"
#include "win/Win32Api.h"

inline COLORREF ToColorRef(StyleColor color) { return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF); }

// A rounded rectangle; without a fill only the outline is drawn.
void DrawRoundFrame(HDC dc, const RECT& rect, int radius, COLORREF outline, const COLORREF* fill);

// Push buttons and the buttons that take no focus, from NM_CUSTOMDRAW.
void DrawPushButton(const NMCUSTOMDRAW& draw, const StylePalette& palette);
void DrawCheckBox(const NMCUSTOMDRAW& draw, const StylePalette& palette);
// One row of an owner-drawn list box: the text before the first TAB and
// the rest in two aligned columns, each cut with an ellipsis when it does
// not fit.
void DrawListItem(const DRAWITEMSTRUCT& draw, const StylePalette& palette);

// What an owner-drawn menu item carries as its item data.
struct StyledMenuItem {
  std::wstring text;
  HFONT font;
  UINT dpi;
  bool separator = false;
  bool mnemonic = false;  // the text's & marks the item's access key
};

// A menu item's size and look: its text after a margin that holds the
// check mark, on the accent while it is highlighted; a separator a thin
// line in the disabled text's colour.
void MeasureMenuItem(MEASUREITEMSTRUCT& measure);
void DrawMenuItem(const DRAWITEMSTRUCT& draw, const StylePalette& palette);
// WM_MENUCHAR of a menu of owner-drawn items: the item whose access key the
// character is chosen, as the platform does for its own items.
bool ChooseMenuItemByKey(HMENU menu, wchar_t key, LRESULT& result);
