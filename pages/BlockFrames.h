// Get's passes over block references: sheets framed by title-block
// references rather than by polylines, and the title blocks that name them.
#pragma once

#include <string>
#include <vector>

#include "cad/Automation.h"
#include "pages/EntityProgress.h"
#include "pages/SheetNames.h"
#include "pages/Waku.h"

// What Get reads: frames, and the title marks that name them.
struct SheetsRead {
  TWakuList frames;
  std::vector<TitleMark> marks;
  int unreadReferences = 0;  // left out because their own answers failed
};

struct BlockPatterns {
  std::wstring frames;             // [Waku] Blocks; empty: no block frames
  std::wstring titles;             // the title blocks; empty: no names
  std::vector<std::wstring> tags;  // [Waku] Names; empty: no names
};

// On the selection set, each pass Clear, Select, each reference read,
// Clear: the block pass (references whose name matches the frame pattern;
// when the title pattern is the same, their attributes are read in the
// same loop), the dynamic pass (anonymous references, matched by their
// EffectiveName; one that cannot tell it is skipped) and the title pass
// (references of a title pattern of its own). Passes without a pattern
// are left out. A reference whose box or texts cannot be read (an empty
// block, an unloaded external reference, a proxy) is left out and counted
// in unreadReferences; a call the CAD did not answer ends Get. Counts each
// reference read in progress. True when a selection held anything.
bool GatherBlockSheets(DispatchObject& selection, const BlockPatterns& patterns, SheetsRead& read,
                       EntityProgress& progress);
