// The thread's message loop, shared by the main loop and the modal
// dialog's nested loop.
#pragma once

#include "win/Win32Api.h"

// A window's keyboard shortcuts, for the keys pressed while the window or
// one of its controls has the focus.
struct WindowAccelerators {
  HWND window = nullptr;
  HACCEL table = nullptr;
};

// Waits for one message and delivers it, letting the window's shortcuts
// and then the active window's dialog navigation (Tab, Enter, Esc) see it
// first. False on WM_QUIT, whose exit code is then in quit.wParam.
bool PumpMessage(MSG& quit, WindowAccelerators accelerators = {});

// Until WM_QUIT; returns its exit code.
int RunMessageLoop(WindowAccelerators accelerators = {});
