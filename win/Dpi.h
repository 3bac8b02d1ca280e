// Per-monitor DPI: sizes are given at 96 dpi and scaled to the window's
// monitor. The newer user32 entry points are looked up at run time, so
// the program still starts where they are missing.
#pragma once

#include "win/Win32Api.h"

inline constexpr UINT kDesignDpi = 96;

UINT DpiForWindow(HWND window);
inline int ScaleForDpi(int value96, UINT dpi) { return MulDiv(value96, static_cast<int>(dpi), kDesignDpi); }

// Gives the window the outer size for its client area at the dpi; keeps its place.
void ResizeForClient(HWND window, int clientWidth96, int clientHeight96, UINT dpi);
// Moves and sizes the window to the rectangle WM_DPICHANGED suggests.
void MoveToSuggestedRect(HWND window, const RECT& suggested);
