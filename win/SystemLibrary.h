// Functions of DLLs that are not among the system's known DLLs, loaded at
// run time from the system folder only: a file of the same name beside the
// program (often a Downloads folder) is never loaded instead. A DLL stays
// loaded for the life of the process once looked up.
#pragma once

#include "win/Win32Api.h"

// UxTheme's functions; without UxTheme they do nothing and find no theme.
HTHEME ThemeOpenData(HWND window, const wchar_t* classList);
void ThemeCloseData(HTHEME theme);
void ThemeSetWindow(HWND window, const wchar_t* subApplication, const wchar_t* idList);

// Dwmapi's DwmSetWindowAttribute; nothing without it.
void DwmSetAttribute(HWND window, DWORD attribute, const void* value, DWORD size);
