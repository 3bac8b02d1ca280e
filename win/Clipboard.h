// Unicode text on the clipboard.
#pragma once

#include <string>

#include "win/Win32Api.h"

// Replaces the clipboard's contents with the text (CF_UNICODETEXT), the
// window their owner. False when the clipboard could not take it.
bool PutTextOnClipboard(HWND owner, const std::wstring& text);
