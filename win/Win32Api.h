// The Win32 headers the windows use, in the order they need: the others
// depend on the declarations of windows.h.
#pragma once

#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <imm.h>
#include <uxtheme.h>
