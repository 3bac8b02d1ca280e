// Block references in the simulated CAD: their extents through placement
// and nesting, selection by block name, and GetBoundingBox's out
// parameters.
#include <gtest/gtest.h>

#include <array>

#include "SimFixture.h"
#include "sim/Geometry.h"

namespace {

// FRAME: a 420 x 297 border from its base point (20, 10), and a LOGO
// reference at its upper right corner whose line reaches 10 right and 5 up.
sim::Drawing FramedDrawing() {
  sim::Drawing drawing;
  sim::Entity logoLine{L"LINE", L"0", {}, false};
  logoLine.sketch = {0, 0, 10, 5};
  drawing.blocks.push_back(sim::Block{L"LOGO", 0, 0, {logoLine}});
  drawing.blocks.push_back(
      sim::Block{L"FRAME",
                 20,
                 10,
                 {sim::Rectangle(L"0", 20, 10, 440, 307), sim::BlockReference(L"logo", L"0", {440, 307, 1, 1, 0})}});
  sim::Entity selfLine = logoLine;
  drawing.blocks.push_back(sim::Block{L"LOOP", 0, 0, {selfLine, sim::BlockReference(L"LOOP", L"0", {1, 1, 1, 1, 0})}});
  return drawing;
}

void ExpectBox(const std::optional<sim::Box>& box, sim::Box expected) {
  ASSERT_TRUE(box);
  EXPECT_NEAR(box->minx, expected.minx, 1e-9);
  EXPECT_NEAR(box->miny, expected.miny, 1e-9);
  EXPECT_NEAR(box->maxx, expected.maxx, 1e-9);
  EXPECT_NEAR(box->maxy, expected.maxy, 1e-9);
}

}  // namespace

TEST(BlockGeometryTest, AReferenceBoxFollowsItsPlacementAndNestedBlocks) {
  const sim::Drawing drawing = FramedDrawing();
  const auto box = [&](sim::Placement placement) {
    return sim::BoundingBox(drawing, sim::BlockReference(L"FRAME", L"0", placement));
  };
  // Relative to the base point the block spans 0..430 by 0..302, the logo included.
  ExpectBox(box({1000, 0, 1, 1, 0}), {1000, 0, 1430, 302});
  ExpectBox(box({0, 0, 1, 1, 90}), {-302, 0, 0, 430});
  ExpectBox(box({0, 0, 1, 1, -270}), {-302, 0, 0, 430});
  ExpectBox(box({0, 0, -1, 1, 0}), {-430, 0, 0, 302});
  ExpectBox(box({100, 100, 2, 0.5, 0}), {100, 100, 960, 251});
  ExpectBox(box({0, 0, 1, 1, 180}), {-430, -302, 0, 0});

  // A block that holds itself is followed once; an unknown block has no extents.
  ExpectBox(sim::BoundingBox(drawing, sim::BlockReference(L"LOOP", L"0", {})), {0, 0, 10, 5});
  EXPECT_FALSE(sim::BoundingBox(drawing, sim::BlockReference(L"MISSING", L"0", {})));
}

class BlockReferenceTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    sim::Drawing drawing = FramedDrawing();
    drawing.entities = {sim::BlockReference(L"FRAME", L"TITLE", {1000, 0, 1, 1, 0}),
                        sim::BlockReference(L"LOGO", L"0", {}), sim::Rectangle(L"FRAME", 0, 0, 1, 1),
                        sim::Entity{L"LINE", L"0", {}, false}};
    drawing.entities.back().sketch = {0, 0, 1, 1};
    cad.Load(drawing);
    selection = GetObjectValue(*GetObjectValue(*cad.Application(), L"ActiveDocument"), L"ActiveSelectionSet");
  }

  int32_t SelectBlocks(const std::wstring& pattern) {
    CallMethod(*selection, L"Clear");
    const std::array<Variant, 5> arguments{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                           Variant::ByRef(BlockFilterType()), Variant::ByRef(BlockFilterData(pattern))};
    CallMethod(*selection, L"Select", arguments);
    return GetValue(*selection, L"Count").ToInt32();
  }

  DispatchPtr Item(int32_t index) {
    const std::array<Variant, 1> arguments{Variant(index)};
    return CallMethod(*selection, L"Item", arguments).AsObject();
  }

  DispatchPtr selection;
};

TEST_F(BlockReferenceTest, GroupCodeTwoSelectsReferencesByBlockNameOnAnyLayer) {
  EXPECT_EQ(SelectBlocks(L"fr*"), 1);  // not the polyline on layer FRAME
  EXPECT_EQ(GetValue(*Item(0), L"Layer"), Variant(L"TITLE"));
  EXPECT_EQ(SelectBlocks(L"FRAME,LOGO"), 2);
  EXPECT_EQ(SelectBlocks(L"~FRAME"), 1);
  EXPECT_EQ(SelectBlocks(L"BORDER"), 0);
}

TEST_F(BlockReferenceTest, GroupCodeTwoFindsAnonymousBlocksThroughTheBackquote) {
  sim::Drawing drawing;
  // Each on a layer that tells which it is.
  for (const wchar_t* name : {L"*U12", L"*U3", L"X*U1", L"U5", L"*D2"})
    drawing.entities.push_back(sim::BlockReference(name, name, {}));
  cad.Load(drawing);
  EXPECT_EQ(SelectBlocks(L"`*U*"), 2);
  EXPECT_EQ(GetValue(*Item(0), L"Layer"), Variant(L"*U12"));
  EXPECT_EQ(GetValue(*Item(1), L"Layer"), Variant(L"*U3"));
  // Without the backquote the star matches anything before the U.
  EXPECT_EQ(SelectBlocks(L"*U*"), 4);
}

TEST_F(BlockReferenceTest, GetBoundingBoxFillsItsTwoOutParametersWithThreeDoubles) {
  ASSERT_EQ(SelectBlocks(L"FRAME"), 1);
  const DispatchPtr reference = Item(0);
  cad.ClearJournal();
  const std::array<Variant, 2> corners{Variant::ByRef(Variant()), Variant::ByRef(Variant())};
  EXPECT_EQ(CallMethod(*reference, L"GetBoundingBox", corners).Kind(), VariantKind::Empty);
  const auto point = [](double x, double y) {
    return Variant::ArrayOf(VariantKind::Double, 0, {Variant(x), Variant(y), Variant(0.0)});
  };
  EXPECT_EQ(corners[0].Deref(), point(1000, 0));
  EXPECT_EQ(corners[1].Deref(), point(1430, 302));
  // The journal shows what was sent, not what came back.
  ASSERT_EQ(cad.Journal().size(), 1u);
  EXPECT_EQ(sim::Describe(cad.Journal()[0]), L"Entity.GetBoundingBox(&Empty, &Empty)");
}

TEST_F(BlockReferenceTest, GetBoundingBoxRefusesWhatARealServerRefuses) {
  CallMethod(*selection, L"Select", std::array<Variant, 1>{Variant(int32_t{5})});
  const DispatchPtr reference = Item(0);
  const Variant out = Variant::ByRef(Variant());
  EXPECT_EQ(CodeOf([&] {
              CallMethod(*reference, L"GetBoundingBox", std::array<Variant, 2>{Variant(), out});
            }),
            hresult::TypeMismatch);
  EXPECT_EQ(CodeOf([&] { CallMethod(*reference, L"GetBoundingBox", std::array<Variant, 1>{out}); }),
            hresult::BadParamCount);
  EXPECT_EQ(CodeOf([&] { GetValue(*reference, L"Coordinates"); }), hresult::UnknownName);
  EXPECT_EQ(CodeOf([&] { GetValue(*reference, L"Closed"); }), hresult::UnknownName);
  // Polylines answer it too; a line does not here.
  const std::array<Variant, 2> corners{out, Variant::ByRef(Variant())};
  CallMethod(*Item(2), L"GetBoundingBox", corners);
  EXPECT_EQ(corners[1].Deref().AsArray().At(0), Variant(1.0));
  EXPECT_EQ(CodeOf([&] { CallMethod(*Item(3), L"GetBoundingBox", corners); }), hresult::UnknownName);
}

TEST(BlockGeometryTest, ReferencesWidenTheDrawingExtentsOutlinesDoNot) {
  sim::Drawing drawing = FramedDrawing();
  drawing.entities = {sim::BlockReference(L"FRAME", L"0", {1000, 0, 1, 1, 0}), sim::Entity{L"LINE", L"0", {}, false}};
  drawing.entities.back().sketch = {-5000, -5000, 0, 0};
  const sim::View extents = sim::Extents(drawing);
  EXPECT_EQ(extents.centreX, 1215);
  EXPECT_EQ(extents.centreY, 151);
  EXPECT_EQ(extents.width, 430);
  EXPECT_EQ(extents.height, 302);
}
