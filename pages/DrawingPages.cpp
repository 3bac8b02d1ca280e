#include "pages/DrawingPages.h"

#include <algorithm>

#include "cad/TargetCad.h"
#include "common/AsciiCase.h"
#include "common/FileNameCase.h"

KeptDrawings Drawings;

bool SameDrawing(std::wstring_view a, std::wstring_view b) { return EqualIgnoringFileNameCase(a, b); }

void ChangeTarget(const std::wstring& progId, const std::wstring& appName) {
  if (!EqualIgnoringAsciiCase(std::wstring_view(progId), std::wstring_view(TargetProgId))) Drawings.Clear();
  TargetProgId = progId;
  TargetAppName = appName;
}

namespace {

// Reading order again, the names following their frames. The frames were
// put in order once already, so none of them is a near-duplicate of
// another and each sorted frame is found again by its bounds.
void SortPagesWithNames(TWakuList& frames, std::vector<PageName>& names, bool upperLeft) {
  TWakuList sorted = frames;
  SortWakuList(sorted, upperLeft);
  std::vector<size_t> from;
  from.reserve(sorted.size());
  std::vector<bool> taken(frames.size(), false);
  for (const TsvWaku& waku : sorted) {
    size_t i = 0;
    while (i < frames.size() && (taken[i] || frames[i].minx != waku.minx || frames[i].miny != waku.miny ||
                                 frames[i].maxx != waku.maxx || frames[i].maxy != waku.maxy))
      ++i;
    if (i == frames.size()) return;  // not the frames of one Get: left as they are
    taken[i] = true;
    from.push_back(i);
  }
  std::vector<PageName> sortedNames;
  sortedNames.reserve(from.size());
  for (const size_t i : from) sortedNames.push_back(i < names.size() ? std::move(names[i]) : PageName());
  frames = std::move(sorted);
  names = std::move(sortedNames);
}

}  // namespace

std::wstring DrawingTitle(std::wstring_view identity) {
  const size_t separator = identity.find_last_of(L"\\/");
  return std::wstring(separator == std::wstring_view::npos ? identity : identity.substr(separator + 1));
}

void KeptDrawings::KeepCurrent() {
  if (!FCurrent.identity) return;
  const std::wstring& identity = *FCurrent.identity;
  std::erase_if(FKept, [&](const DrawingPages& kept) { return SameDrawing(kept.identity, identity); });
  FKept.insert(FKept.begin(), DrawingPages{identity, std::move(WakuList), std::move(PageNames), FCurrent.upperLeft});
  WakuList.clear();
  PageNames.clear();
  // The current drawing counts among the kept ones.
  if (FKept.size() > kMostDrawings - 1) FKept.resize(kMostDrawings - 1);
}

void KeptDrawings::Got(std::optional<std::wstring> identity, TWakuList frames, std::vector<PageName> names,
                       bool upperLeft, int64_t window) {
  FWindow = window;
  if (!identity || !FCurrent.identity || !SameDrawing(*identity, *FCurrent.identity)) KeepCurrent();
  if (identity) std::erase_if(FKept, [&](const DrawingPages& kept) { return SameDrawing(kept.identity, *identity); });
  FCurrent = Current{std::move(identity), upperLeft};
  WakuList = std::move(frames);
  PageNames = std::move(names);
}

bool KeptDrawings::IsCurrent(std::wstring_view identity) const {
  return FCurrent.identity && SameDrawing(*FCurrent.identity, identity);
}

bool KeptDrawings::SwitchTo(std::wstring_view identity) {
  const auto found = std::find_if(FKept.begin(), FKept.end(),
                                  [&](const DrawingPages& kept) { return SameDrawing(kept.identity, identity); });
  if (found == FKept.end()) return false;
  DrawingPages pages = std::move(*found);
  FKept.erase(found);
  KeepCurrent();
  FCurrent = Current{std::move(pages.identity), pages.upperLeft};
  WakuList = std::move(pages.frames);
  PageNames = std::move(pages.names);
  return true;
}

void KeptDrawings::PutInOrder(bool upperLeft, bool byName) {
  if (FCurrent.upperLeft == upperLeft) return;
  SortPagesWithNames(WakuList, PageNames, upperLeft);
  if (byName) OrderPagesByName(WakuList, PageNames);
  FCurrent.upperLeft = upperLeft;
}

void KeptDrawings::Clear() {
  FCurrent = {};
  FKept.clear();
  FWindow.reset();
  WakuList.clear();
  PageNames.clear();
}
