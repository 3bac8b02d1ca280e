// COM result codes turned into AutomationError, with the system's text.
#pragma once

#include <windows.h>

#include <string>

#include "cad/Automation.h"

// The system's message for the code, without the trailing line break;
// a generic text with the code in hexadecimal when the system has none.
std::wstring SystemMessage(HRESULT code);

AutomationError ComError(HRESULT code);

inline void ThrowIfFailed(HRESULT code) {
  if (FAILED(code)) throw ComError(code);
}
