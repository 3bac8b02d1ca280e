// The one run-time loader of system functions. A DLL the process has
// already loaded is taken as it is (comctl32 is then the side-by-side
// version the manifest binds); any other is loaded from the system folder
// only, so that a file of the same name beside the program (often a
// Downloads folder) is never loaded instead. A DLL stays loaded for the
// life of the process once looked up.
#pragma once

#include "win/Win32Api.h"

// The function's address, or nullptr when the DLL or the function is not
// there. One thread, the user interface's, looks functions up.
FARPROC SystemFunction(const wchar_t* library, const char* function);

template <typename FunctionPointer>
FunctionPointer FindSystemFunction(const wchar_t* library, const char* function) {
  return reinterpret_cast<FunctionPointer>(reinterpret_cast<void*>(SystemFunction(library, function)));
}

// UxTheme's functions; without UxTheme they do nothing and find no theme.
HTHEME ThemeOpenData(HWND window, const wchar_t* classList);
void ThemeCloseData(HTHEME theme);
void ThemeSetWindow(HWND window, const wchar_t* subApplication, const wchar_t* idList);

// Dwmapi's DwmSetWindowAttribute; nothing without it.
void DwmSetAttribute(HWND window, DWORD attribute, const void* value, DWORD size);
