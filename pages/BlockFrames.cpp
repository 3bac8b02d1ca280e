#include "pages/BlockFrames.h"

#include <array>
#include <cmath>
#include <optional>

#include "cad/TargetCad.h"
#include "cad/Wildcard.h"
#include "pages/TitleBlocks.h"

namespace {

// The anonymous blocks a CAD makes of dynamic blocks whose parameters
// were changed; the backquote keeps the '*' literal.
constexpr wchar_t kAnonymousBlocks[] = L"`*U*";

struct Corner {
  double x, y;
};

Corner CornerOf(const Variant& point) {
  const VariantArray& values = point.AsArray();
  return {values.At(0).ToDouble(), values.At(1).ToDouble()};
}

struct Box {
  Corner min, max;
};

// GetBoundingBox answers through its two out parameters, x, y and z each:
// nothing more is converted.
Box BoundingBox(DispatchObject& reference) {
  constexpr ArrayUse kPoint{3, true};
  const std::array<Variant, 2> corners{Variant::ByRef(Variant()), Variant::ByRef(Variant())};
  CallMethod(reference, L"GetBoundingBox", corners, kPoint);
  return {CornerOf(corners[0]), CornerOf(corners[1])};
}

class BlockPasses {
 public:
  BlockPasses(DispatchObject& selection, const BlockPatterns& patterns, SheetsRead& read, EntityProgress& progress)
      : FSelection(selection),
        FPatterns(patterns),
        FRead(read),
        FProgress(progress),
        FNames(!patterns.tags.empty() && !patterns.titles.empty()),
        FTitlesAreFrames(FNames && patterns.titles == patterns.frames),
        FTitles(patterns.tags) {}

  bool Run() {
    bool selected = false;
    if (!FPatterns.frames.empty())
      selected = Pass(FPatterns.frames, [this](DispatchObject& r) { ReadReference(r, true, FTitlesAreFrames, {}); });
    if (!FPatterns.frames.empty() || FNames)
      selected = Pass(kAnonymousBlocks, [this](DispatchObject& r) { ReadAnonymous(r); }) || selected;
    if (FNames && !FTitlesAreFrames)
      selected = Pass(FPatterns.titles, [this](DispatchObject& r) { ReadReference(r, false, true, {}); }) || selected;
    return selected;
  }

 private:
  template <typename ReadOne>
  bool Pass(const std::wstring& pattern, ReadOne readOne) {
    const std::array<Variant, 5> selectArguments{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                                 Variant::ByRef(BlockFilterType()),
                                                 Variant::ByRef(BlockFilterData(pattern))};
    CallMethod(FSelection, L"Clear");
    CallMethod(FSelection, L"Select", selectArguments);
    const int32_t count = CollectionCount(FSelection);
    for (int32_t i = 0; i < count; ++i) {
      const std::array<Variant, 1> index{Variant(i)};
      const DispatchPtr reference = CallMethod(FSelection, L"Item", index).AsObject();
      readOne(*reference);
      FProgress.Read();
    }
    CallMethod(FSelection, L"Clear");
    return count > 0;
  }

  // A CAD without the property cannot tell the block: the reference is
  // left out, and the rest of Get goes on.
  void ReadAnonymous(DispatchObject& reference) {
    std::wstring name;
    try {
      name = GetValue(reference, L"EffectiveName").AsString();
    } catch (const AutomationError& error) {
      if (hresult::CallUnanswered(error.Code())) throw;
      return;
    }
    const bool frame = !FPatterns.frames.empty() && WildcardMatch(FPatterns.frames, name);
    const bool title = FNames && WildcardMatch(FPatterns.titles, name);
    if (frame || title) ReadReference(reference, frame, title, name);
  }

  // Frame and mark are taken together, once everything of the reference
  // was read.
  void ReadReference(DispatchObject& reference, bool frame, bool title, const std::wstring& blockName) {
    std::optional<TsvWaku> waku;
    std::optional<TitleMark> mark;
    try {
      const Box box = BoundingBox(reference);
      if (frame) waku = WakuFromBoundingBox(box.min.x, box.min.y, box.max.x, box.max.y);
      if (title) mark = ReadMark(reference, box, blockName);
    } catch (const AutomationError& error) {
      if (hresult::CallUnanswered(error.Code())) throw;
      ++FRead.unreadReferences;
      return;
    }
    if (waku) FRead.frames.push_back(*waku);
    if (mark) FRead.marks.push_back(std::move(*mark));
  }

  std::optional<TitleMark> ReadMark(DispatchObject& reference, const Box& box, const std::wstring& blockName) {
    const double x = (box.min.x + box.max.x) / 2;
    const double y = (box.min.y + box.max.y) / 2;
    if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    if (auto texts = FTitles.Read(reference, blockName)) return TitleMark{x, y, std::move(*texts)};
    return std::nullopt;
  }

  DispatchObject& FSelection;
  const BlockPatterns& FPatterns;
  SheetsRead& FRead;
  EntityProgress& FProgress;
  const bool FNames;
  const bool FTitlesAreFrames;
  TitleReader FTitles;
};

}  // namespace

bool GatherBlockSheets(DispatchObject& selection, const BlockPatterns& patterns, SheetsRead& read,
                       EntityProgress& progress) {
  return BlockPasses(selection, patterns, read, progress).Run();
}
