// Block references in the simulated CAD: their extents through placement
// and nesting, selection by block name, GetBoundingBox's out parameters,
// and the effective name and attributes of title blocks.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "SimFixture.h"
#include "sim/Dxf.h"
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
    Load(std::move(drawing));
  }

  // A drawing loaded is a new document, with a selection set of its own.
  void Load(sim::Drawing drawing) {
    cad.Load(std::move(drawing));
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
  Load(drawing);
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

TEST_F(BlockReferenceTest, ReferencesAnswerTheirEffectiveNameAndTheirAttributes) {
  Load(sim::ReadDxfFile(std::string(PAGE_TEST_DATA) + "/drawings/titles/titles-1-00.dxf"));
  ASSERT_EQ(SelectBlocks(L"`*U2,FRAME-A1,`*U1"), 3);
  EXPECT_EQ(GetValue(*Item(0), L"EffectiveName"), Variant(L"図枠A2"));
  EXPECT_EQ(GetValue(*Item(1), L"EffectiveName"), Variant(L"FRAME-A1"));

  const DispatchPtr titleBlock = Item(1);
  cad.ClearJournal();
  const Variant attributes = CallMethod(*titleBlock, L"GetAttributes");
  ASSERT_EQ(attributes.Kind(), VariantKind::Array);
  EXPECT_EQ(attributes.AsArray().elementKind, VariantKind::Variant);
  EXPECT_EQ(attributes.AsArray().lowerBound, 0);
  std::vector<std::wstring> read;
  for (const Variant& attribute : attributes.AsArray().elements) {
    read.push_back(GetValue(*attribute.AsObject(), L"TagString").AsString());
    read.push_back(GetValue(*attribute.AsObject(), L"TextString").AsString());
  }
  EXPECT_EQ(read, (std::vector<std::wstring>{L"DWG-NO", L"K-462", L"尺度", L"1:100", L"図名", L"平面図\t(参考)",
                                             L"図番", L"A-33"}));
  ASSERT_EQ(cad.Journal().size(), 9u);
  EXPECT_EQ(sim::Describe(cad.Journal()[0]), L"Entity.GetAttributes()");
  EXPECT_EQ(sim::Describe(cad.Journal()[1]), L"Attribute.TagString()");
  EXPECT_EQ(sim::Describe(cad.Journal()[2]), L"Attribute.TextString()");

  // A reference without attributes answers an empty array.
  EXPECT_EQ(CallMethod(*Item(2), L"GetAttributes"), Variant::ArrayOf(VariantKind::Variant, 0, {}));
}

TEST_F(BlockReferenceTest, TheNewMembersAreRefusedAsARealServerRefusesThem) {
  sim::Drawing drawing = FramedDrawing();
  drawing.entities = {sim::BlockReference(L"FRAME", L"0", {}), sim::Rectangle(L"0", 0, 0, 1, 1)};
  drawing.entities[0].attributes = {sim::Attribute{L"NO", {L"A-1", 0, 0, 1}}};
  Load(drawing);
  CallMethod(*selection, L"Select", std::array<Variant, 1>{Variant(int32_t{5})});
  const DispatchPtr reference = Item(0);
  const DispatchPtr polyline = Item(1);
  const DispatchPtr attribute = CallMethod(*reference, L"GetAttributes").AsArray().At(0).AsObject();

  EXPECT_EQ(CodeOf([&] { GetValue(*reference, L"GetAttributes"); }), hresult::MemberNotFound);
  EXPECT_EQ(CodeOf([&] { CallMethod(*reference, L"GetAttributes", std::array<Variant, 1>{Variant(true)}); }),
            hresult::BadParamCount);
  EXPECT_EQ(CodeOf([&] { CallMethod(*reference, L"EffectiveName"); }), hresult::MemberNotFound);
  EXPECT_EQ(CodeOf([&] { GetValue(*polyline, L"EffectiveName"); }), hresult::UnknownName);
  EXPECT_EQ(CodeOf([&] { CallMethod(*polyline, L"GetAttributes"); }), hresult::UnknownName);
  EXPECT_EQ(CodeOf([&] { GetValue(*reference, L"TagString"); }), hresult::UnknownName);
  EXPECT_EQ(CodeOf([&] { GetValue(*attribute, L"Layer"); }), hresult::UnknownName);
  EXPECT_EQ(CodeOf([&] { CallMethod(*attribute, L"TextString"); }), hresult::MemberNotFound);
  EXPECT_EQ(GetValue(*attribute, L"textstring"), Variant(L"A-1"));

  cad.Load(drawing);
  EXPECT_EQ(CodeOf([&] { GetValue(*attribute, L"TagString"); }), hresult::Fail) << "its drawing is no longer open";
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

TEST(BlockGeometryTest, TextsGoThroughTheirReferencesPlacementAttributesStandWhereTheyAre) {
  sim::Drawing drawing;
  sim::Entity text{L"TEXT", L"0", {}, false};
  text.label = sim::Label{L"図番", 10, 5, 2, 0};
  drawing.blocks.push_back(sim::Block{L"TB", 0, 0, {text}});
  sim::Entity turned = sim::BlockReference(L"TB", L"0", {100, 200, 2, 2, 90});
  turned.attributes = {sim::Attribute{L"NO", {L"A-1", 1, 1, 3, 0}}};
  drawing.entities = {turned, sim::BlockReference(L"TB", L"0", {0, 0, -1, 1, 0})};

  std::vector<sim::Label> labels;
  for (const sim::Entity& entity : drawing.entities)
    sim::ForEachLabel(drawing, entity, [&](const sim::Label& label) { labels.push_back(label); });
  ASSERT_EQ(labels.size(), 3u);
  const auto expect = [&](size_t i, std::wstring_view text, std::array<double, 4> place) {
    EXPECT_EQ(labels[i].text, text);
    EXPECT_NEAR(labels[i].x, place[0], 1e-9) << i;
    EXPECT_NEAR(labels[i].y, place[1], 1e-9) << i;
    EXPECT_NEAR(labels[i].height, place[2], 1e-9) << i;
    EXPECT_NEAR(labels[i].rotation, place[3], 1e-9) << i;
  };
  expect(0, L"A-1", {1, 1, 3, 0});
  expect(1, L"図番", {90, 220, 4, 90});
  expect(2, L"図番", {-10, 5, 2, 180});  // a mirrored text runs the other way
  EXPECT_EQ((std::array{labels[0].mirrored, labels[1].mirrored, labels[2].mirrored}), (std::array{false, false, true}));
}
