#include "pages/DrawingPages.h"

#include <algorithm>

#include "common/AsciiCase.h"

KeptDrawings Drawings;

bool SameDrawing(std::wstring_view a, std::wstring_view b) { return EqualIgnoringAsciiCase(a, b); }

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
                       bool upperLeft) {
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

void KeptDrawings::Clear() {
  FCurrent = {};
  FKept.clear();
  WakuList.clear();
  PageNames.clear();
}
