// Screenshots for people to look at: a window's rectangle of the screen,
// or the whole screen, saved as PNG through the Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

// A window just shown or uncovered may not have painted yet: this paints it
// at once, also when it belongs to another process.
void PaintNow(HWND window);

// Throws std::runtime_error when the picture cannot be taken or saved.
void SaveScreenShot(const RECT& area, const std::wstring& path);
// Paints the window first.
void SaveWindowShot(HWND window, const std::wstring& path);
void SaveDesktopShot(const std::wstring& path);
