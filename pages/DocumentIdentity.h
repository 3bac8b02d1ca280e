// Which drawing a document is, as the commands tell drawings apart.
#pragma once

#include <optional>
#include <string>

#include "cad/Automation.h"

// The document's FullName, or its Name when it was never saved; nothing
// when the CAD cannot tell.
std::optional<std::wstring> ReadIdentity(DispatchObject& document);
