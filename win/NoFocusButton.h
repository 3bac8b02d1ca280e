// Push buttons that never take the keyboard focus (the dialog's speed
// buttons): the mouse presses them, BM_CLICK clicks them, and the focus
// stays where it was.
#pragma once

#include "win/Win32Api.h"

void MakeNoFocusButton(HWND button);
