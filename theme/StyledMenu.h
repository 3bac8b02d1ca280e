// A popup menu in the program's visual style: in the dark style its items
// are owner-drawn in the palette's colours (drawn through the owner's
// VisualStyle::HandleParentMessage), in the default look they are the
// platform's own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "theme/StylePainting.h"
#include "win/Handles.h"
#include "win/Win32Api.h"

class StyledMenu {
 public:
  // The items' font and the dpi they are measured for.
  StyledMenu(HFONT font, UINT dpi);

  // ID 0 for an item that chooses nothing.
  void Add(UINT id, const std::wstring& text, bool checked, bool enabled, bool newColumn);
  // An item that runs a command, its access key marked with & (設定(&S)...).
  void AddCommand(UINT id, const std::wstring& text);
  void AddSeparator();
  // The width of a text in the items' font, in pixels.
  int TextWidth(std::wstring_view text) const;
  // The widest item text that keeps a menu of that many columns on the
  // monitor under the screen point.
  int TextWidthLimit(POINT screen, int columns) const;
  // Shows the menu with its top left corner at the screen point and
  // returns the chosen item's ID once it closes, 0 when none was chosen.
  UINT Track(HWND owner, POINT screen) const;

 private:
  UniqueMenu FMenu;
  HFONT FFont;
  UINT FDpi;
  // The owner-drawn items' data, where the menu points to it.
  std::vector<std::unique_ptr<StyledMenuItem>> FItems;
};
