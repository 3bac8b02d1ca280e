// The thread's message loop, shared by the main loop and the modal
// dialog's nested loop.
#pragma once

#include "win/Win32Api.h"

// Waits for one message and delivers it, letting the active window's
// dialog navigation (Tab, Enter, Esc) see it first. False on WM_QUIT,
// whose exit code is then in quit.wParam.
bool PumpMessage(MSG& quit);

// Until WM_QUIT; returns its exit code.
int RunMessageLoop();
