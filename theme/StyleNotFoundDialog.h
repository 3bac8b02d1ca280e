// The error dialog for a visual style the program does not carry.
#pragma once

#include <string>

// Shows the message with a stop icon and a single Close button and returns
// the button's ID (IDCLOSE) once it is closed.
int ShowStyleNotFound(const std::wstring& styleName);
