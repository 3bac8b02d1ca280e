#include "pages/Pages.h"

#include <algorithm>

#include "cad/TargetCad.h"
#include "common/AsciiCase.h"
#include "common/FileNameCase.h"

PageStore Pages;

bool SameDrawing(std::wstring_view a, std::wstring_view b) { return EqualIgnoringFileNameCase(a, b); }

void ChangeTarget(const std::wstring& progId, const std::wstring& appName) {
  if (!EqualIgnoringAsciiCase(std::wstring_view(progId), std::wstring_view(TargetProgId))) Pages.Clear();
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

void PageStore::KeepCurrent() {
  if (!FCurrent.identity) return;
  const std::wstring& identity = *FCurrent.identity;
  std::erase_if(FKept, [&](const DrawingPages& kept) { return SameDrawing(*kept.identity, identity); });
  FKept.insert(FKept.begin(), std::move(FCurrent));
  FCurrent = {};
  // The current drawing counts among the kept ones.
  if (FKept.size() > kMostDrawings - 1) FKept.resize(kMostDrawings - 1);
}

void PageStore::Got(std::optional<std::wstring> identity, TWakuList frames, std::vector<PageName> names, bool upperLeft,
                    int64_t window) {
  FWindow = window;
  if (!identity || !FCurrent.identity || !SameDrawing(*identity, *FCurrent.identity)) KeepCurrent();
  if (identity) std::erase_if(FKept, [&](const DrawingPages& kept) { return SameDrawing(*kept.identity, *identity); });
  FCurrent = DrawingPages{std::move(identity), std::move(frames), std::move(names), upperLeft};
}

bool PageStore::IsCurrent(std::wstring_view identity) const {
  return FCurrent.identity && SameDrawing(*FCurrent.identity, identity);
}

bool PageStore::SwitchTo(std::wstring_view identity) {
  const auto found = std::find_if(FKept.begin(), FKept.end(),
                                  [&](const DrawingPages& kept) { return SameDrawing(*kept.identity, identity); });
  if (found == FKept.end()) return false;
  DrawingPages pages = std::move(*found);
  FKept.erase(found);
  KeepCurrent();
  FCurrent = std::move(pages);
  return true;
}

void PageStore::PutInOrder(bool upperLeft, bool byName) {
  if (FCurrent.upperLeft == upperLeft) return;
  SortPagesWithNames(FCurrent.frames, FCurrent.names, upperLeft);
  if (byName) OrderPagesByName(FCurrent.frames, FCurrent.names);
  FCurrent.upperLeft = upperLeft;
}

DrawingFollowed PageStore::Follow(const std::optional<std::wstring>& identity, bool upperLeft, bool byName) {
  if (!identity || IsCurrent(*identity)) return DrawingFollowed::Current;
  if (SwitchTo(*identity)) {
    PutInOrder(upperLeft, byName);
    return DrawingFollowed::Switched;
  }
  if (!FCurrent.identity) return DrawingFollowed::Current;
  return DrawingFollowed::NotGot;
}

void PageStore::Clear() {
  FCurrent = {};
  FKept.clear();
  FWindow.reset();
}
