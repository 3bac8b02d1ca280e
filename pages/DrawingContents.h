// What the settings dialog offers to choose from: the active drawing's
// layers, its block definitions and the attribute tags of a definition.
#pragma once

#include <string>
#include <vector>

#include "cad/Automation.h"
#include "cad/CadPlatform.h"

// The active document of the target CAD, or why there is none to read.
struct ActiveDrawing {
  DispatchPtr document;
  std::wstring reason;  // empty when document is set
};

// The running check, the attach and ActiveDocument; every error, an
// unregistered ProgID's too, becomes the reason.
ActiveDrawing AttachActiveDrawing(ObjectTable& objects);

// Layers, Count, then Item and Name per layer, in the CAD's order.
std::vector<std::wstring> ReadLayerNames(DispatchObject& document);

// Blocks, Count, then per definition Item and Name, and IsLayout and
// IsXRef for a name that does not begin with '*': layouts, external
// references and anonymous blocks are left out.
std::vector<std::wstring> ReadBlockNames(DispatchObject& document);

// Blocks, Item with the name, Count, then per entity Item and ObjectName,
// and TagString for an AcDbAttributeDefinition: the tags in the
// definition's order, each once in any letter case.
std::vector<std::wstring> ReadAttributeTags(DispatchObject& document, const std::wstring& block);
