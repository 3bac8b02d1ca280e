// The pages: what PAGE got in this run, per drawing. The current drawing's
// frames (WakuList), their names, the order they are in and the drawing
// they belong to; the other drawings got wait here until the CAD shows them
// again. Nothing of it is written to a file.
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
  // The document's FullName, or its Name when never saved; nothing when
  // the pages belong to no drawing and serve whatever drawing the CAD
  // shows, as before drawings were told apart.
  std::optional<std::wstring> identity;
  TWakuList frames;             // in page order
  std::vector<PageName> names;  // one per page
  bool upperLeft = false;       // the order they are in
};

// What following the drawing the CAD shows found.
enum class DrawingFollowed {
  Current,   // its pages are the current ones, or the pages belong to no drawing
  Switched,  // its kept pages became the current ones
  NotGot,    // its pages were never got: Get is to run on it
};

class PageStore {
 public:
  static constexpr size_t kMostDrawings = 16;

  // The current drawing's frames, in page order, and their names.
  const TWakuList& WakuList() const { return FCurrent.frames; }
  const std::vector<PageName>& Names() const { return FCurrent.names; }
  const std::optional<std::wstring>& CurrentIdentity() const { return FCurrent.identity; }
  bool HasKept() const { return !FKept.empty(); }

  // A Get's pages become the current ones; the drawing that was current
  // is kept. window is the CAD's main window they were got from.
  void Got(std::optional<std::wstring> identity, TWakuList frames, std::vector<PageName> names, bool upperLeft,
           int64_t window);

  // Whether the pages were got from a CAD whose main window was another:
  // that CAD was closed and started anew since, and its drawings, even one
  // of the same name, are not the ones kept.
  bool FromAnotherCad(int64_t window) const { return FWindow && *FWindow != window; }

  // Makes the pages of the drawing the CAD shows the current ones when
  // they are kept, in the order asked for (put in it from their frames and
  // names, without the CAD). A drawing the CAD cannot name, or pages that
  // belong to no drawing, go on as the current ones.
  DrawingFollowed Follow(const std::optional<std::wstring>& identity, bool upperLeft, bool byName);

  // Forgets every drawing.
  void Clear();

 private:
  bool IsCurrent(std::wstring_view identity) const;
  bool SwitchTo(std::wstring_view identity);
  void PutInOrder(bool upperLeft, bool byName);
  void KeepCurrent();

  DrawingPages FCurrent;
  std::vector<DrawingPages> FKept;  // the most recently used first
  std::optional<int64_t> FWindow;   // of the CAD every page was got from
};

// The process-wide pages.
extern PageStore Pages;

// Identities name one drawing in any letter case, as Windows compares file
// names.
bool SameDrawing(std::wstring_view a, std::wstring_view b);

// The target chosen in the CAD dialog. Another ProgID drops every drawing
// kept: their pages came from another CAD.
void ChangeTarget(const std::wstring& progId, const std::wstring& appName);

// The identity's file name without its folder: what the page menu shows.
std::wstring DrawingTitle(std::wstring_view identity);
