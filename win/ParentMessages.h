// Controls whose own handling of the context menu or the wheel would keep
// them from the parent window, which handles them for the whole window.
#pragma once

#include "win/Win32Api.h"

// WM_CONTEXTMENU and WM_MOUSEWHEEL go to the parent, as they are.
void PassMenuAndWheelToParent(HWND control);
