#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/Dxf.h"

using sim::DxfError;
using sim::ReadDxf;

namespace {

// "0|SECTION|2|ENTITIES" as DXF lines, each line ended by the given text.
std::string Lines(std::string_view compact, std::string_view lineEnd = "\n") {
  std::string text;
  size_t start = 0;
  while (true) {
    const size_t bar = compact.find('|', start);
    text += compact.substr(start, bar - start);
    text += lineEnd;
    if (bar == std::string_view::npos) return text;
    start = bar + 1;
  }
}

std::string Header(std::string_view version, std::string_view codePage = "ANSI_1252") {
  return Lines("0|SECTION|2|HEADER|9|$ACADVER|1|" + std::string(version) + "|9|$DWGCODEPAGE|3|" +
               std::string(codePage) + "|0|ENDSEC");
}

std::string Entities(std::string_view compact) {
  return Lines("0|SECTION|2|ENTITIES|" + std::string(compact) + "|0|ENDSEC");
}

const std::string kEof = Lines("0|EOF");

// A closed old-style rectangle, vertices at elevation 5.
const std::string kOldRectangle =
    "0|POLYLINE|8|Frames|66|1|10|0.0|20|0.0|30|5.0|70|1|"
    "0|VERTEX|8|Frames|10|0|20|0|30|0|0|VERTEX|8|Frames|10|420|20|0|30|0|"
    "0|VERTEX|8|Frames|10|420|20|297|30|0|0|VERTEX|8|Frames|10|0|20|297|30|0|0|SEQEND";

std::string ErrorOf(const std::string& bytes) {
  try {
    ReadDxf(bytes);
  } catch (const DxfError& error) {
    return error.what();
  }
  return "no error";
}

}  // namespace

TEST(DxfReaderTest, ReadsLightweightPolylinesWithLayerAndClosedBit) {
  const std::string dxf = Header("AC1015") +
                          Entities(
                              "0|LWPOLYLINE|8|Kestra|90|4|70|129|10|1.5|20|2|10|4|20|2|10|4|20|3|10|1.5|20|3|"
                              "0|LWPOLYLINE|8|KESTRA|70|128|10|0|20|0|10|1|20|1") +
                          kEof;
  const sim::Drawing drawing = ReadDxf(dxf);
  ASSERT_EQ(drawing.entities.size(), 2u);
  EXPECT_EQ(drawing.entities[0].type, L"LWPOLYLINE");
  EXPECT_EQ(drawing.entities[0].layer, L"Kestra");
  EXPECT_TRUE(drawing.entities[0].closed);
  EXPECT_EQ(drawing.entities[0].coordinates, (std::vector<double>{1.5, 2, 4, 2, 4, 3, 1.5, 3}));
  EXPECT_FALSE(drawing.entities[1].closed);
}

TEST(DxfReaderTest, AcceptsCrLfLineEndsAndPaddedGroupCodes) {
  const std::string dxf = Lines(
      "  0|SECTION|  2|ENTITIES|  0|LWPOLYLINE|  8|A|  70|     1| 10|  7.25  | 20|-1e2|"
      "  0|ENDSEC|  0|EOF",
      "\r\n");
  const sim::Drawing drawing = ReadDxf(dxf);
  ASSERT_EQ(drawing.entities.size(), 1u);
  EXPECT_EQ(drawing.entities[0].layer, L"A");
  EXPECT_TRUE(drawing.entities[0].closed);
  EXPECT_EQ(drawing.entities[0].coordinates, (std::vector<double>{7.25, -100}));
}

TEST(DxfReaderTest, OldPolylinesBecomeLightweightOnlyWhenA2dPolylineComesFromR12) {
  const sim::Drawing r12 = ReadDxf(Header("AC1009") + Entities(kOldRectangle) + kEof);
  ASSERT_EQ(r12.entities.size(), 1u);
  EXPECT_EQ(r12.entities[0].type, L"LWPOLYLINE");
  EXPECT_EQ(r12.entities[0].layer, L"Frames");
  EXPECT_TRUE(r12.entities[0].closed);
  EXPECT_EQ(r12.entities[0].coordinates, (std::vector<double>{0, 0, 420, 0, 420, 297, 0, 297}));

  // No header at all is an R12 file too.
  EXPECT_EQ(ReadDxf(Entities(kOldRectangle) + kEof).entities[0].type, L"LWPOLYLINE");

  const sim::Drawing r2000 = ReadDxf(Header("AC1015") + Entities(kOldRectangle) + kEof);
  EXPECT_EQ(r2000.entities[0].type, L"POLYLINE");
  EXPECT_TRUE(r2000.entities[0].closed);
  // x, y and the polyline's elevation for each vertex.
  EXPECT_EQ(r2000.entities[0].coordinates, (std::vector<double>{0, 0, 5, 420, 0, 5, 420, 297, 5, 0, 297, 5}));
}

TEST(DxfReaderTest, ThreeDimensionalAndFittedPolylinesStayOldStyleInR12) {
  const std::string polyline3d =
      "0|POLYLINE|8|P|66|1|70|9|0|VERTEX|10|1|20|2|30|3|70|32|0|VERTEX|10|4|20|5|30|6|70|32|0|SEQEND";
  const sim::Drawing drawing3d = ReadDxf(Header("AC1009") + Entities(polyline3d) + kEof);
  EXPECT_EQ(drawing3d.entities[0].type, L"POLYLINE");
  EXPECT_EQ(drawing3d.entities[0].coordinates, (std::vector<double>{1, 2, 3, 4, 5, 6}));

  // A spline-fitted polyline keeps its fitted vertices; its frame points
  // (vertex flag 16) are not vertices of the shape.
  const std::string splined =
      "0|POLYLINE|8|P|66|1|70|4|0|VERTEX|10|9|20|9|70|16|0|VERTEX|10|1|20|1|70|8|0|VERTEX|10|2|20|2|70|8|0|SEQEND";
  const sim::Drawing fitted = ReadDxf(Header("AC1009") + Entities(splined) + kEof);
  EXPECT_EQ(fitted.entities[0].type, L"POLYLINE");
  EXPECT_EQ(fitted.entities[0].coordinates, (std::vector<double>{1, 1, 0, 2, 2, 0}));
}

TEST(DxfReaderTest, ReadsBlocksAndReferencesWithTheirPlacementAttributesAndDecodedNames) {
  const std::string blocks = Lines(
      "0|SECTION|2|BLOCKS|0|BLOCK|8|0|2|\\U+56F3\\U+67A0A3|70|0|10|20|20|10|"
      "0|LWPOLYLINE|8|0|70|1|10|20|20|10|10|440|20|10|0|INSERT|8|0|2|LOGO|10|400|20|20|0|TEXT|8|0|10|30|20|15|1|T|"
      "0|ENDBLK|8|0|0|BLOCK|8|0|2|LOGO|10|0|20|0|0|ENDBLK|0|ENDSEC");
  const std::string dxf = Header("AC1015") + blocks +
                          Entities(
                              "0|LINE|8|BORDER|10|0|20|0|11|5|21|5|0|TEXT|1|no layer given|"
                              "0|INSERT|8|\\U+67A0|66|1|2|\\U+56F3\\U+67A0A3|10|100|20|200|41|-2|42|0.5|50|90|"
                              "0|ATTRIB|8|TB|1|value|0|ATTRIB|8|TB|1|value|0|SEQEND|0|INSERT|2|LOGO|0|CIRCLE|8|C") +
                          kEof;
  const sim::Drawing drawing = ReadDxf(dxf);
  ASSERT_EQ(drawing.entities.size(), 5u) << "attributes are part of their reference";
  EXPECT_EQ(drawing.entities[0].type, L"LINE");
  EXPECT_EQ(drawing.entities[1].layer, L"0");
  EXPECT_EQ(drawing.entities[4].type, L"CIRCLE");

  const sim::Entity& frame = drawing.entities[2];
  EXPECT_TRUE(frame.IsBlockReference());
  EXPECT_EQ(frame.layer, L"枠");
  EXPECT_EQ(frame.blockName, L"図枠A3");
  EXPECT_EQ(frame.placement.x, 100);
  EXPECT_EQ(frame.placement.y, 200);
  EXPECT_EQ(frame.placement.xScale, -2);
  EXPECT_EQ(frame.placement.yScale, 0.5);
  EXPECT_EQ(frame.placement.rotation, 90);
  const sim::Placement plain = drawing.entities[3].placement;
  EXPECT_EQ((std::array{plain.xScale, plain.yScale, plain.rotation}), (std::array{1.0, 1.0, 0.0}));

  ASSERT_EQ(drawing.blocks.size(), 2u);
  const sim::Block* block = drawing.FindBlock(L"図枠a3");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->baseX, 20);
  EXPECT_EQ(block->baseY, 10);
  ASSERT_EQ(block->entities.size(), 3u);
  EXPECT_EQ(block->entities[0].coordinates, (std::vector<double>{20, 10, 440, 10}));
  EXPECT_EQ(block->entities[1].blockName, L"LOGO");
  EXPECT_EQ(block->entities[2].sketch, (std::vector<double>{30, 15})) << "a text stands at its insertion point";
  EXPECT_TRUE(drawing.blocks[1].entities.empty());

  EXPECT_NE(ErrorOf(Header("AC1015") + Lines("0|SECTION|2|BLOCKS|0|BLOCK|2|OPEN|0|LINE|0|ENDSEC") + kEof)
                .find("BLOCK without ENDBLK"),
            std::string::npos);
}

TEST(DxfReaderTest, OutlinesLinesCirclesAndArcsForTheViewerOnly) {
  const sim::Drawing drawing = ReadDxf(Header("AC1015") +
                                       Entities("0|LINE|8|0|10|1|20|2|11|3|21|4|"
                                                "0|CIRCLE|8|0|10|10|20|20|40|5|"
                                                "0|ARC|8|0|10|0|20|0|40|2|50|0|51|90|"
                                                "0|CIRCLE|8|0|10|0|20|0|40|-1") +
                                       kEof);
  ASSERT_EQ(drawing.entities.size(), 4u);
  EXPECT_EQ(drawing.entities[0].sketch, (std::vector<double>{1, 2, 3, 4}));
  for (const sim::Entity& entity : drawing.entities) EXPECT_TRUE(entity.coordinates.empty());

  const std::vector<double>& circle = drawing.entities[1].sketch;
  ASSERT_GE(circle.size(), 8u);
  for (size_t i = 0; i + 1 < circle.size(); i += 2)
    EXPECT_NEAR(std::hypot(circle[i] - 10, circle[i + 1] - 20), 5.0, 1e-9);
  EXPECT_NEAR(circle.front(), circle[circle.size() - 2], 1e-9);  // closes on itself

  const std::vector<double>& arc = drawing.entities[2].sketch;
  EXPECT_NEAR(arc[0], 2.0, 1e-9);               // from 0 degrees
  EXPECT_NEAR(arc[arc.size() - 2], 0.0, 1e-9);  // to 90 degrees
  EXPECT_NEAR(arc.back(), 2.0, 1e-9);

  EXPECT_TRUE(drawing.entities[3].sketch.empty());  // no radius, nothing to draw
  // Outlines never widen the initial view, which comes from the frames.
  EXPECT_EQ(sim::Extents(drawing).width, 1.0);
}

TEST(DxfReaderTest, InitialViewComesFromTheActiveViewportThenTheHeaderThenTheExtents) {
  const std::string tables = Lines(
      "0|SECTION|2|TABLES|0|TABLE|2|VPORT|70|2|0|VPORT|2|Other|12|-1|22|-1|40|9|0|VPORT|2|*Active|12|100|22|50|40|"
      "20|41|1.5|0|ENDTAB|0|ENDSEC");
  const std::string header =
      Lines("0|SECTION|2|HEADER|9|$ACADVER|1|AC1009|9|$VIEWCTR|10|7|20|8|9|$VIEWSIZE|40|3|0|ENDSEC");
  const std::string entities = Entities("0|LWPOLYLINE|10|0|20|0|10|40|20|10");

  const sim::View fromViewport = ReadDxf(header + tables + entities + kEof).view;
  EXPECT_DOUBLE_EQ(fromViewport.centreX, 100);
  EXPECT_DOUBLE_EQ(fromViewport.centreY, 50);
  EXPECT_DOUBLE_EQ(fromViewport.height, 20);
  EXPECT_DOUBLE_EQ(fromViewport.width, 30);

  const sim::View fromHeader = ReadDxf(header + entities + kEof).view;
  EXPECT_DOUBLE_EQ(fromHeader.centreX, 7);
  EXPECT_DOUBLE_EQ(fromHeader.centreY, 8);
  EXPECT_DOUBLE_EQ(fromHeader.height, 3);

  const sim::View fromExtents = ReadDxf(Header("AC1015") + entities + kEof).view;
  EXPECT_DOUBLE_EQ(fromExtents.centreX, 20);
  EXPECT_DOUBLE_EQ(fromExtents.centreY, 5);
  EXPECT_DOUBLE_EQ(fromExtents.width, 40);
  EXPECT_DOUBLE_EQ(fromExtents.height, 10);
}

TEST(DxfReaderTest, AFileWithoutEntitiesIsAnEmptyDrawing) {
  const sim::Drawing drawing = ReadDxf(Header("AC1015") + kEof);
  EXPECT_TRUE(drawing.entities.empty());
  EXPECT_GT(drawing.view.height, 0.0);
}

TEST(DxfReaderTest, DecodesTextByTheFileVersionAndItsCodePage) {
  const std::string utf8Layer = "0|LINE|8|\xE6\x9E\xA0";  // 枠
  EXPECT_EQ(ReadDxf(Header("AC1024") + Entities(utf8Layer) + kEof).entities[0].layer, L"枠");

  const std::string latinLayer = "0|LINE|8|\xC9tage\x80";
  EXPECT_EQ(ReadDxf(Header("AC1015") + Entities(latinLayer) + kEof).entities[0].layer, L"Étage€");

  const std::string escapedLayer = "0|LINE|8|\\U+56F3\\U+9762 \\U+zz";
  EXPECT_EQ(ReadDxf(Header("AC1015") + Entities(escapedLayer) + kEof).entities[0].layer, L"図面 \\U+zz");

  // Without that code page's table the name cannot be read: an error, not
  // a wrong layer name that no filter finds.
  const std::string shiftJisLayer = "0|LINE|8|\x98\x67";
  EXPECT_NE(ErrorOf(Header("AC1015", "ANSI_932") + Entities(shiftJisLayer) + kEof).find("ANSI_932"), std::string::npos);
  EXPECT_EQ(ReadDxf(Header("AC1015", "ANSI_932") + Entities("0|LINE|8|ASCII") + kEof).entities[0].layer, L"ASCII");
}

TEST(DxfReaderTest, RejectsWhatIsNotAReadableAsciiDxfWithTheLine) {
  const std::string body = Header("AC1015");
  EXPECT_EQ(ErrorOf(""), "the file is empty");
  EXPECT_NE(ErrorOf("AutoCAD Binary DXF\r\n\x1a" + std::string(1, '\0') + "rest").find("binary DXF is not supported"),
            std::string::npos);
  EXPECT_EQ(ErrorOf(Lines("0|SECTION|x|HEADER")), "line 3: a group code is expected, found 'x'");
  EXPECT_EQ(ErrorOf(Lines("0|SECTION|2")), "line 3: group code 2 has no value");
  EXPECT_NE(ErrorOf(body).find("ends without EOF"), std::string::npos);
  EXPECT_NE(ErrorOf(Lines("0|SECTION|2|ENTITIES|0|LINE|0|EOF")).find("not closed by ENDSEC"), std::string::npos);
  EXPECT_NE(ErrorOf(Lines("0|LINE|0|EOF")).find("SECTION expected"), std::string::npos);
  EXPECT_EQ(ErrorOf(Entities("0|LWPOLYLINE|10|abc") + kEof),
            "line 8: a number is expected for group code 10, found 'abc'");
  EXPECT_NE(ErrorOf(Entities("0|LWPOLYLINE|10|nan") + kEof).find("a number is expected"), std::string::npos);
  EXPECT_NE(ErrorOf(Entities("0|LWPOLYLINE|10|1e999") + kEof).find("a number is expected"), std::string::npos);
  EXPECT_NE(ErrorOf(Entities("0|LWPOLYLINE|70|one") + kEof).find("an integer is expected"), std::string::npos);
  EXPECT_NE(ErrorOf(Entities("0|LWPOLYLINE|20|1") + kEof).find("comes before its x"), std::string::npos);
  EXPECT_NE(ErrorOf(Entities("0|POLYLINE|70|1|0|VERTEX|10|0|20|0|0|LINE") + kEof).find("POLYLINE without SEQEND"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Entities("0|VERTEX|10|0|20|0") + kEof).find("VERTEX outside"), std::string::npos);
  EXPECT_NE(ErrorOf(Entities("0|INSERT|0|ATTRIB|0|LINE") + kEof).find("without SEQEND"), std::string::npos);
}

TEST(DxfReaderTest, AVertexCountFromTheFileIsNotTrusted) {
  const sim::Drawing drawing =
      ReadDxf(Entities("0|LWPOLYLINE|90|2000000000|70|1|10|0|20|0|10|1|20|0|10|1|20|1|10|0|20|1") + kEof);
  EXPECT_EQ(drawing.entities[0].coordinates.size(), 8u);
}

TEST(DxfReaderTest, ReadingAMissingFileNamesIt) {
  try {
    sim::ReadDxfFile("/nonexistent/drawing.dxf");
    FAIL() << "no error for a missing file";
  } catch (const DxfError& error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent/drawing.dxf"), std::string::npos);
  }
}

namespace {

const std::string kTitles = std::string(PAGE_TEST_DATA) + "/drawings/titles/";

// The n-th reference (0-based) of the block in the drawing's entities.
const sim::Entity& ReferenceOf(const sim::Drawing& drawing, std::wstring_view block, size_t n = 0) {
  for (const sim::Entity& entity : drawing.entities)
    if (entity.blockName == block && n-- == 0) return entity;
  throw std::runtime_error("no such reference");
}

std::vector<std::wstring> Tags(const sim::Entity& reference) {
  std::vector<std::wstring> tags;
  for (const sim::Attribute& attribute : reference.attributes) tags.push_back(attribute.tag);
  return tags;
}

}  // namespace

TEST(DxfReaderTest, KeepsEachReferencesAttributesInTheirOrderWithTagTextAndPlace) {
  const sim::Drawing drawing = sim::ReadDxfFile(kTitles + "titles-1-00.dxf");
  // Mirrored: its attributes stand in a coordinate system whose x axis
  // points left (extrusion 0, 0, -1).
  const sim::Entity& mirrored = ReferenceOf(drawing, L"図枠A2");
  ASSERT_EQ(Tags(mirrored), (std::vector<std::wstring>{L"尺度", L"図名", L"図番", L"日付"}));
  EXPECT_EQ(mirrored.attributes[0].label.text, L"1:50");
  EXPECT_EQ(mirrored.attributes[1].label.text, L"詳細図\r\n(その1)") << "a multi-line text's lines joined by CR LF";
  const sim::Label number = mirrored.attributes[2].label;
  EXPECT_EQ(number.text, L"A-8");
  EXPECT_EQ((std::array{number.x, number.y, number.height, number.rotation}),
            (std::array{-7907.5, 1256.75, 1.75, 180.0}));
  EXPECT_TRUE(number.mirrored);
  EXPECT_FALSE(ReferenceOf(drawing, L"*U2").attributes[0].label.mirrored);

  const sim::Entity& anonymous = ReferenceOf(drawing, L"*U2");
  EXPECT_EQ(Tags(anonymous), (std::vector<std::wstring>{L"日付", L"図番", L"図名", L"尺度"}));
  EXPECT_EQ(ReferenceOf(drawing, L"FRAME-A1").attributes.at(2).label.text, L"平面図\t(参考)");
  EXPECT_TRUE(ReferenceOf(drawing, L"*U1").attributes.empty());
  EXPECT_TRUE(ReferenceOf(drawing, L"SYMBOL").attributes.empty());
  EXPECT_EQ(Tags(ReferenceOf(drawing, L"図枠A2", 3)), (std::vector<std::wstring>{L"尺度", L"図番", L"日付"}));
}

TEST(DxfReaderTest, AnAnonymousBlockLinkedToADynamicBlockAnswersItsName) {
  const sim::Drawing drawing = sim::ReadDxfFile(kTitles + "titles-1-00.dxf");
  for (const auto& [anonymous, dynamic] : std::vector<std::pair<std::wstring, std::wstring>>{
           {L"*U1", L"図枠A2"}, {L"*U2", L"図枠A2"}, {L"*U4", L"DOOR"}, {L"*U5", L"BORDER-DYN"}, {L"*U6", L""}}) {
    const sim::Block* block = drawing.FindBlock(anonymous);
    ASSERT_NE(block, nullptr) << anonymous;
    EXPECT_EQ(block->dynamicBlock, dynamic) << anonymous;
  }
  EXPECT_EQ(drawing.EffectiveName(ReferenceOf(drawing, L"*U2")), L"図枠A2");
  EXPECT_EQ(drawing.EffectiveName(ReferenceOf(drawing, L"*U6")), L"*U6") << "no link: its own name";
  EXPECT_EQ(drawing.EffectiveName(ReferenceOf(drawing, L"図枠A3")), L"図枠A3");
  EXPECT_EQ(drawing.EffectiveName(sim::BlockReference(L"NOSUCHBLOCK", L"0")), L"NOSUCHBLOCK");

  const sim::Drawing separate = sim::ReadDxfFile(kTitles + "titles-1-01.dxf");
  const sim::Entity& titleBlock = ReferenceOf(separate, L"*U1", 1);
  EXPECT_EQ(separate.EffectiveName(titleBlock), L"表題欄");
  ASSERT_EQ(Tags(titleBlock), (std::vector<std::wstring>{L"TITLE", L"DATE", L"DWG-NO"}));
  EXPECT_EQ(titleBlock.attributes[0].label.text, L"配置図\r\n(案)");
}

TEST(DxfReaderTest, AMultiLineAttributeJoinsItsChunksAndKeepsOtherCodes) {
  const std::string dxf =
      Header("AC1032") +
      Entities(
          "0|INSERT|2|B|66|1|0|ATTRIB|1|first|2|NOTE|101|Embedded Object|10|0|3|Floor\\P2|"
          "1|\\\\Plan\\~A\\P|0|ATTRIB|1|one line \\P|2|REF|0|SEQEND|0|TEXT|1|図番|10|4|20|5|40|2.5") +
      kEof;
  const sim::Drawing drawing = ReadDxf(dxf);
  ASSERT_EQ(drawing.entities.size(), 2u);
  ASSERT_EQ(Tags(drawing.entities[0]), (std::vector<std::wstring>{L"NOTE", L"REF"}));
  EXPECT_EQ(drawing.entities[0].attributes[0].label.text, L"Floor\r\n2\\\\Plan\\~A\r\n");
  EXPECT_EQ(drawing.entities[0].attributes[1].label.text, L"one line \\P") << "a single-line text has no codes";
  const sim::Label text = drawing.entities[1].label;
  EXPECT_EQ(text.text, L"図番");
  EXPECT_EQ((std::array{text.x, text.y, text.height}), (std::array{4.0, 5.0, 2.5}));
}
