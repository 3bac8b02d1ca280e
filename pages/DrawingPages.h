// The pages PAGE got in this run, per drawing: the current drawing's frames
// and names are WakuList and PageNames; the other drawings' wait here until
// the CAD shows them again. Nothing of it is written to a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/SheetNames.h"
#include "pages/Waku.h"

// Everything a Get leaves for one drawing.
struct DrawingPages {
  std::wstring identity;        // the document's FullName, or its Name when never saved
  TWakuList frames;             // in page order
  std::vector<PageName> names;  // one per page
  bool upperLeft = false;       // the order in force when got
};

class KeptDrawings {
 public:
  static constexpr size_t kMostDrawings = 16;

  // A Get's pages become the current ones (into WakuList and PageNames);
  // the drawing that was current is kept. Without an identity the pages
  // belong to no drawing and serve whatever drawing the CAD shows, as
  // before drawings were told apart. window is the CAD's main window the
  // pages were got from.
  void Got(std::optional<std::wstring> identity, TWakuList frames, std::vector<PageName> names, bool upperLeft,
           int64_t window);

  // Whether the pages were got from a CAD whose main window was another:
  // that CAD was closed and started anew since, and its drawings, even one
  // of the same name, are not the ones kept.
  bool FromAnotherCad(int64_t window) const { return FWindow && *FWindow != window; }

  // Whether the current pages are the drawing's.
  bool IsCurrent(std::wstring_view identity) const;
  bool HasKept() const { return !FKept.empty(); }

  // Makes the drawing's kept pages the current ones, keeping those that
  // were; false when none are kept for it.
  bool SwitchTo(std::wstring_view identity);

  // Puts the current pages in reading order from the upper left, or from
  // the lower left, when they were got in the other one, and then in name
  // order when byName: from their frames and names, without the CAD.
  void PutInOrder(bool upperLeft, bool byName);

  // The current drawing's identity; nothing when its pages belong to none.
  const std::optional<std::wstring>& CurrentIdentity() const { return FCurrent.identity; }

  // Forgets every drawing and empties WakuList and PageNames.
  void Clear();

 private:
  struct Current {
    std::optional<std::wstring> identity;
    bool upperLeft = false;
  };

  // Moves the current pages out of WakuList and PageNames into the kept
  // drawings.
  void KeepCurrent();

  Current FCurrent;
  std::vector<DrawingPages> FKept;  // the most recently used first
  std::optional<int64_t> FWindow;   // of the CAD every page was got from
};

// The process-wide pages, beside WakuList.
extern KeptDrawings Drawings;

// Identities name one drawing in any letter case, as Windows compares file
// names.
bool SameDrawing(std::wstring_view a, std::wstring_view b);

// The target chosen in the CAD dialog. Another ProgID drops every drawing
// kept: their pages came from another CAD.
void ChangeTarget(const std::wstring& progId, const std::wstring& appName);

// The identity's file name without its folder: what the page menu shows.
std::wstring DrawingTitle(std::wstring_view identity);
