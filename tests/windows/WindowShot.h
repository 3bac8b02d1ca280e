// Screenshots for people to look at: a window's rectangle of the screen,
// or the whole screen, saved as PNG through the Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

// Throws std::runtime_error when the picture cannot be taken or saved.
void SaveScreenShot(const RECT& area, const std::wstring& path);
void SaveWindowShot(HWND window, const std::wstring& path);
void SaveDesktopShot(const std::wstring& path);
