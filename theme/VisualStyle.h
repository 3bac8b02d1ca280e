// The program's visual style: the dark "Windows10 Dark" style carried as a
// resource, or the platform's default look when it cannot be found.
#pragma once

#include <optional>
#include <string>

#include "theme/StylePalette.h"
#include "win/Handles.h"
#include "win/Win32Api.h"

inline constexpr wchar_t kDarkStyleName[] = L"Windows10 Dark";

class VisualStyle {
 public:
  // Without a palette, the platform's default look.
  explicit VisualStyle(std::optional<StylePalette> palette = std::nullopt);

  bool Dark() const { return FPalette.has_value(); }
  // The background of windows and dialogs.
  HBRUSH WindowBrush() const;
  HBRUSH FieldBrush() const { return FFieldBrush.Get(); }

  // A dark caption bar where the platform offers one.
  void StyleTopLevel(HWND window) const;
  // Edit borders, group box frames, tooltip colours; list boxes are made
  // owner-drawn by their creator (ListBoxStyle).
  void StyleControl(HWND control) const;
  // Extra styles a list box needs to be drawn in this style.
  DWORD ListBoxStyle() const;
  // The parent's share of the drawing: WM_CTLCOLOR*, the buttons'
  // NM_CUSTOMDRAW, the list box's WM_DRAWITEM and the menu items'
  // WM_MEASUREITEM and WM_DRAWITEM (StyledMenu). True when handled.
  bool HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

 private:
  std::optional<StylePalette> FPalette;
  UniqueBrush FWindowBrush;
  UniqueBrush FFieldBrush;
};

// The palette held in an RCDATA resource of the module; nothing when the
// resource is missing or malformed.
std::optional<StylePalette> LoadStyleResource(HMODULE module, const std::wstring& resourceName);

// The style in use: the default look until ApplyVisualStyle finds one.
const VisualStyle& CurrentStyle();

// Makes the named style current. When the module does not carry it, says
// so in an error dialog with a single Close button and keeps the default
// look; returns false then.
bool ApplyVisualStyle(HMODULE module, const std::wstring& styleName);
