#include "sim/Dxf.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include "common/AsciiCase.h"
#include "sim/DxfText.h"

namespace sim {

namespace {

struct Group {
  int code;
  std::string_view value;
  size_t line;  // of the group code; the value is on the next line

  size_t ValueLine() const { return line + 1; }
};

using Record = std::span<const Group>;

[[noreturn]] void Fail(size_t line, const std::string& what) {
  throw DxfError("line " + std::to_string(line) + ": " + what);
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Quoted(std::string_view text) {
  constexpr size_t kShown = 40;
  std::string quoted(1, '\'');
  quoted.append(text.substr(0, kShown));
  quoted.append(text.size() > kShown ? "...'" : "'");
  return quoted;
}

bool Is(const Group& group, int code, std::string_view value) {
  return group.code == code && Trim(group.value) == value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) { return EqualIgnoringAsciiCase(a, b); }

double ParseDouble(const Group& group) {
  std::string_view text = Trim(group.value);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
    Fail(group.ValueLine(),
         "a number is expected for group code " + std::to_string(group.code) + ", found " + Quoted(group.value));
  return value;
}

long long ParseInteger(const Group& group) {
  std::string_view text = Trim(group.value);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size())
    Fail(group.ValueLine(),
         "an integer is expected for group code " + std::to_string(group.code) + ", found " + Quoted(group.value));
  return value;
}

// The code/value pairs up to and including 0/EOF, comments left out.
std::vector<Group> ReadGroups(std::string_view bytes) {
  if (bytes.starts_with("AutoCAD Binary DXF"))
    throw DxfError("binary DXF is not supported: save the drawing as ASCII DXF");
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);

  std::vector<Group> groups;
  size_t position = 0;
  size_t lineNumber = 0;
  const auto nextLine = [&]() -> std::optional<std::string_view> {
    if (position >= bytes.size()) return std::nullopt;
    const size_t end = bytes.find('\n', position);
    std::string_view line =
        bytes.substr(position, end == std::string_view::npos ? std::string_view::npos : end - position);
    position = end == std::string_view::npos ? bytes.size() : end + 1;
    ++lineNumber;
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
  };

  while (const auto codeLine = nextLine()) {
    const size_t line = lineNumber;
    const std::string_view codeText = Trim(*codeLine);
    int code = 0;
    const auto [end, error] = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
    if (codeText.empty() || error != std::errc{} || end != codeText.data() + codeText.size())
      Fail(line, "a group code is expected, found " + Quoted(*codeLine));
    const auto value = nextLine();
    if (!value) Fail(line, "group code " + std::to_string(code) + " has no value");
    if (code == 999) continue;
    groups.push_back(Group{code, *value, line});
    if (Is(groups.back(), 0, "EOF")) return groups;
  }
  throw DxfError("line " + std::to_string(lineNumber) + ": the file ends without EOF (is it cut short?)");
}

// Splits a section's groups into records, each starting at a group code 0.
std::vector<Record> Records(std::span<const Group> groups) {
  std::vector<Record> records;
  size_t start = groups.size();
  for (size_t i = 0; i < groups.size(); ++i) {
    if (groups[i].code != 0) continue;
    if (start < i) records.push_back(groups.subspan(start, i - start));
    start = i;
  }
  if (start < groups.size()) records.push_back(groups.subspan(start));
  return records;
}

std::string_view RecordType(const Record& record) { return Trim(record.front().value); }

struct Header {
  std::string_view acadVersion;
  std::string_view codePage;
  std::optional<double> viewCentreX, viewCentreY, viewSize;
};

Header ReadHeader(std::span<const Group> groups) {
  Header header;
  std::string_view variable;
  for (const Group& group : groups) {
    if (group.code == 9) {
      variable = Trim(group.value);
    } else if (variable == "$ACADVER" && group.code == 1) {
      header.acadVersion = Trim(group.value);
    } else if (variable == "$DWGCODEPAGE" && group.code == 3) {
      header.codePage = Trim(group.value);
    } else if (variable == "$VIEWCTR" && group.code == 10) {
      header.viewCentreX = ParseDouble(group);
    } else if (variable == "$VIEWCTR" && group.code == 20) {
      header.viewCentreY = ParseDouble(group);
    } else if (variable == "$VIEWSIZE" && group.code == 40) {
      header.viewSize = ParseDouble(group);
    }
  }
  return header;
}

// The view of the first VPORT entry named *ACTIVE, in any letter case.
std::optional<View> ReadActiveViewport(std::span<const Group> groups) {
  for (const Record& record : Records(groups)) {
    if (RecordType(record) != "VPORT") continue;
    bool active = false;
    View view;
    double aspect = 1.0;
    for (const Group& group : record.subspan(1)) {
      switch (group.code) {
        case 2: active = EqualsIgnoringCase(Trim(group.value), "*ACTIVE"); break;
        case 12: view.centreX = ParseDouble(group); break;
        case 22: view.centreY = ParseDouble(group); break;
        case 40: view.height = ParseDouble(group); break;
        case 41: aspect = ParseDouble(group); break;
        default: break;
      }
    }
    // A degenerate entry cannot be shown; the next source of a view is used.
    if (active && view.height > 0.0 && aspect > 0.0) {
      view.width = view.height * aspect;
      return view;
    }
  }
  return std::nullopt;
}

constexpr long long kClosed = 1;
constexpr long long kCurveFit = 2;
constexpr long long kSplineFit = 4;
constexpr long long k3dPolyline = 8;
constexpr long long kPolygonMesh = 16;
constexpr long long kPolyfaceMesh = 64;
constexpr long long kSplineFrameVertex = 16;
constexpr long long kMeshVertex = 64;
constexpr long long kFaceRecord = 128;

// Counter-clockwise from start to end, in degrees, in 64 steps at most.
std::vector<double> ArcOutline(double x, double y, double radius, double start, double end) {
  constexpr double kDegree = 3.14159265358979323846 / 180.0;
  double sweep = std::fmod(end - start, 360.0);
  if (sweep <= 0.0) sweep += 360.0;
  const int steps = std::max(4, static_cast<int>(sweep / 360.0 * 64.0));
  std::vector<double> outline;
  outline.reserve(2 * static_cast<size_t>(steps + 1));
  for (int i = 0; i <= steps; ++i) {
    const double angle = (start + sweep * i / steps) * kDegree;
    outline.push_back(x + radius * std::cos(angle));
    outline.push_back(y + radius * std::sin(angle));
  }
  return outline;
}

class EntityReader {
 public:
  EntityReader(const DxfTextDecoder& decoder, bool convertsOldPolylines)
      : FDecoder(decoder), FConvertsOldPolylines(convertsOldPolylines) {}

  std::vector<Entity> Read(std::span<const Group> groups) const {
    const std::vector<Record> records = Records(groups);
    std::vector<Entity> entities;
    for (size_t r = 0; r < records.size();) {
      const Record& record = records[r];
      const std::string_view type = RecordType(record);
      if (type == "POLYLINE") {
        size_t end = r + 1;
        while (end < records.size() && RecordType(records[end]) == "VERTEX") ++end;
        if (end >= records.size() || RecordType(records[end]) != "SEQEND")
          Fail(record.front().line, "POLYLINE without SEQEND");
        entities.push_back(OldPolyline(record, std::span(records).subspan(r + 1, end - r - 1)));
        r = end + 1;
      } else if (type == "VERTEX" || type == "SEQEND" || type == "ATTRIB") {
        Fail(record.front().line, std::string(type) + " outside a POLYLINE or INSERT");
      } else if (type == "INSERT") {
        size_t end = r + 1;
        while (end < records.size() && RecordType(records[end]) == "ATTRIB") ++end;
        entities.push_back(Insert(record, std::span(records).subspan(r + 1, end - r - 1)));
        r = AfterAttributes(records, r + 1, end);
      } else {
        entities.push_back(type == "LWPOLYLINE" ? LightweightPolyline(record) : Sketched(record, type));
        ++r;
      }
    }
    return entities;
  }

 private:
  const DxfTextDecoder& FDecoder;
  bool FConvertsOldPolylines;

  Entity Noise(const Record& record) const {
    Entity entity;
    entity.type = FDecoder.Decode(RecordType(record), record.front().ValueLine());
    entity.layer = L"0";
    for (const Group& group : record.subspan(1)) {
      if (group.code == 8) {
        entity.layer = FDecoder.Decode(group.value, group.ValueLine());
        break;
      }
    }
    return entity;
  }

  // Noise with the outline of a line, circle or arc, or a text's
  // insertion point, which is how far bounding boxes follow a text.
  Entity Sketched(const Record& record, std::string_view type) const {
    Entity entity = Noise(record);
    const bool text = type == "TEXT" || type == "MTEXT" || type == "ATTDEF";
    if (type != "LINE" && type != "CIRCLE" && type != "ARC" && !text) return entity;
    double x = 0, y = 0, x2 = 0, y2 = 0, radius = 0, start = 0, end = 360, extrusionZ = 1;
    for (const Group& group : record.subspan(1)) {
      switch (group.code) {
        case 1:
          if (type == "TEXT") entity.label.text = FDecoder.Decode(group.value, group.ValueLine());
          break;
        case 2:
          if (type == "ATTDEF") entity.tag = FDecoder.Decode(Trim(group.value), group.ValueLine());
          break;
        case 10: x = ParseDouble(group); break;
        case 20: y = ParseDouble(group); break;
        case 11: x2 = ParseDouble(group); break;
        case 21: y2 = ParseDouble(group); break;
        case 40: radius = ParseDouble(group); break;
        case 50: start = ParseDouble(group); break;
        case 51: end = ParseDouble(group); break;
        case 230: extrusionZ = ParseDouble(group); break;
        default: break;
      }
    }
    if (text) {
      // Groups 40 and 50 are a text's height and rotation.
      std::tie(entity.label.x, entity.label.y, entity.label.height, entity.label.rotation) =
          std::tie(x, y, radius, start);
      InDrawingAxes(entity.label, extrusionZ);
      entity.sketch = {entity.label.x, entity.label.y};
      if (type != "TEXT") entity.label = Label{};
    } else if (type == "LINE") {
      entity.sketch = {x, y, x2, y2};
    } else if (radius > 0.0) {
      entity.sketch = ArcOutline(x, y, radius, start, type == "ARC" ? end : start + 360.0);
    }
    return entity;
  }

  Entity Insert(const Record& record, std::span<const Record> attributes) const {
    Entity entity = Noise(record);
    for (const Record& attribute : attributes) entity.attributes.push_back(ReadAttribute(attribute));
    for (const Group& group : record.subspan(1)) {
      switch (group.code) {
        case 2: entity.blockName = FDecoder.Decode(Trim(group.value), group.ValueLine()); break;
        case 10: entity.placement.x = ParseDouble(group); break;
        case 20: entity.placement.y = ParseDouble(group); break;
        case 41: entity.placement.xScale = ParseDouble(group); break;
        case 42: entity.placement.yScale = ParseDouble(group); break;
        case 50: entity.placement.rotation = ParseDouble(group); break;
        default: break;
      }
    }
    return entity;
  }

  // A multi-line attribute carries its text as an embedded multi-line
  // text after group 101, in chunks of groups 3 ended by a group 1.
  Attribute ReadAttribute(const Record& record) const {
    Attribute attribute;
    double extrusionZ = 1;
    const Group* embedded = nullptr;
    std::string codes;
    for (const Group& group : record.subspan(1)) {
      if (embedded) {
        if (group.code == 3 || group.code == 1) codes += group.value;
        continue;
      }
      switch (group.code) {
        case 1: attribute.label.text = FDecoder.Decode(group.value, group.ValueLine()); break;
        case 2: attribute.tag = FDecoder.Decode(Trim(group.value), group.ValueLine()); break;
        case 10: attribute.label.x = ParseDouble(group); break;
        case 20: attribute.label.y = ParseDouble(group); break;
        case 40: attribute.label.height = ParseDouble(group); break;
        case 50: attribute.label.rotation = ParseDouble(group); break;
        case 101: embedded = &group; break;
        case 230: extrusionZ = ParseDouble(group); break;
        default: break;
      }
    }
    InDrawingAxes(attribute.label, extrusionZ);
    if (embedded) attribute.label.text = MultiLineText(FDecoder.Decode(codes, embedded->ValueLine()));
    return attribute;
  }

  // Texts stand in their own coordinate system; the one of extrusion
  // (0, 0, -1), which a mirrored reference gives its attributes, has its x
  // axis pointing the other way.
  static void InDrawingAxes(Label& label, double extrusionZ) {
    if (extrusionZ >= 0) return;
    label.x = -label.x;
    label.rotation = 180.0 - label.rotation;
    label.mirrored = true;
  }

  Entity LightweightPolyline(const Record& record) const {
    Entity entity = Noise(record);
    for (const Group& group : record.subspan(1)) {
      if (group.code == 70) {
        entity.closed = (ParseInteger(group) & kClosed) != 0;
      } else if (group.code == 10) {
        entity.coordinates.push_back(ParseDouble(group));
        entity.coordinates.push_back(0.0);
      } else if (group.code == 20) {
        if (entity.coordinates.empty()) Fail(group.line, "a vertex y (group code 20) comes before its x");
        entity.coordinates.back() = ParseDouble(group);
      }
    }
    return entity;
  }

  Entity OldPolyline(const Record& polyline, std::span<const Record> vertices) const {
    Entity entity = Noise(polyline);
    long long flags = 0;
    double elevation = 0.0;
    for (const Group& group : polyline.subspan(1)) {
      if (group.code == 70) flags = ParseInteger(group);
      if (group.code == 30) elevation = ParseDouble(group);
    }
    entity.closed = (flags & kClosed) != 0;
    const bool is2d = (flags & (k3dPolyline | kPolygonMesh | kPolyfaceMesh)) == 0;
    // A CAD turns old 2D polylines into lightweight ones on opening, unless
    // they are curve or spline fitted, which lightweight ones cannot hold.
    const bool lightweight = FConvertsOldPolylines && is2d && (flags & (kCurveFit | kSplineFit)) == 0;
    if (lightweight) entity.type = L"LWPOLYLINE";

    for (const Record& vertex : vertices) {
      double x = 0.0, y = 0.0, z = 0.0;
      long long vertexFlags = 0;
      for (const Group& group : vertex.subspan(1)) {
        switch (group.code) {
          case 10: x = ParseDouble(group); break;
          case 20: y = ParseDouble(group); break;
          case 30: z = ParseDouble(group); break;
          case 70: vertexFlags = ParseInteger(group); break;
          default: break;
        }
      }
      // Spline frame points and polyface face records are not vertices of
      // the shape.
      if ((vertexFlags & kSplineFrameVertex) != 0) continue;
      if ((vertexFlags & kFaceRecord) != 0 && (vertexFlags & kMeshVertex) == 0) continue;
      entity.coordinates.push_back(x);
      entity.coordinates.push_back(y);
      if (!lightweight) entity.coordinates.push_back(is2d ? elevation : z);
    }
    return entity;
  }

  // An INSERT's attributes, from next up to end, are closed by SEQEND.
  static size_t AfterAttributes(const std::vector<Record>& records, size_t next, size_t end) {
    if (end < records.size() && RecordType(records[end]) == "SEQEND") return end + 1;
    if (end > next) Fail(records[next - 1].front().line, "INSERT attributes without SEQEND");
    return end;
  }
};

constexpr long long kExternalReference = 4;
constexpr long long kOverlay = 8;

// Each BLOCK with its name, base point and entities up to ENDBLK.
std::vector<Block> ReadBlocks(std::span<const Group> groups, const EntityReader& reader,
                              const DxfTextDecoder& decoder) {
  const std::vector<Record> records = Records(groups);
  std::vector<Block> blocks;
  for (size_t r = 0; r < records.size(); ++r) {
    if (RecordType(records[r]) != "BLOCK") continue;
    size_t end = r + 1;
    while (end < records.size() && RecordType(records[end]) != "ENDBLK" && RecordType(records[end]) != "BLOCK") ++end;
    if (end >= records.size() || RecordType(records[end]) != "ENDBLK")
      Fail(records[r].front().line, "BLOCK without ENDBLK");
    Block block;
    for (const Group& group : records[r].subspan(1)) {
      switch (group.code) {
        case 2: block.name = decoder.Decode(Trim(group.value), group.ValueLine()); break;
        case 70: block.externalReference = (ParseInteger(group) & (kExternalReference | kOverlay)) != 0; break;
        case 10: block.baseX = ParseDouble(group); break;
        case 20: block.baseY = ParseDouble(group); break;
        default: break;
      }
    }
    const Group* first = records[r].data() + records[r].size();
    block.entities = reader.Read(std::span<const Group>(first, records[end].data()));
    blocks.push_back(std::move(block));
    r = end;
  }
  return blocks;
}

// Each anonymous block's name with the name of the dynamic block it
// stands for: its BLOCK_RECORD's extended data of AcDbBlockRepBTag holds
// the handle (1005) of the dynamic block's BLOCK_RECORD.
std::vector<std::pair<std::wstring, std::wstring>> ReadDynamicBlockLinks(std::span<const Group> groups,
                                                                         const DxfTextDecoder& decoder) {
  struct BlockRecord {
    std::string handle;
    std::wstring name;
    std::string linked;
  };
  std::vector<BlockRecord> blockRecords;
  for (const Record& record : Records(groups)) {
    if (RecordType(record) != "BLOCK_RECORD") continue;
    BlockRecord blockRecord;
    bool inLink = false;
    for (const Group& group : record.subspan(1)) {
      if (group.code == 1001) inLink = Trim(group.value) == "AcDbBlockRepBTag";
      if (group.code == 5 && blockRecord.handle.empty()) blockRecord.handle = UpperAscii(Trim(group.value));
      if (group.code == 2) blockRecord.name = decoder.Decode(Trim(group.value), group.ValueLine());
      if (group.code == 1005 && inLink) blockRecord.linked = UpperAscii(Trim(group.value));
    }
    blockRecords.push_back(std::move(blockRecord));
  }
  std::vector<std::pair<std::wstring, std::wstring>> links;
  for (const BlockRecord& anonymous : blockRecords) {
    if (anonymous.linked.empty()) continue;
    const auto dynamic = std::find_if(blockRecords.begin(), blockRecords.end(),
                                      [&](const BlockRecord& other) { return other.handle == anonymous.linked; });
    if (dynamic != blockRecords.end()) links.emplace_back(anonymous.name, dynamic->name);
  }
  return links;
}

// The LAYER table's names.
std::vector<std::wstring> ReadLayers(std::span<const Group> groups, const DxfTextDecoder& decoder) {
  std::vector<std::wstring> layers;
  for (const Record& record : Records(groups)) {
    if (RecordType(record) != "LAYER") continue;
    for (const Group& group : record.subspan(1))
      if (group.code == 2) layers.push_back(decoder.Decode(Trim(group.value), group.ValueLine()));
  }
  return layers;
}

// Lightweight polylines came with R14 (AC1014).
bool ConvertsOldPolylines(std::string_view acadVersion) { return acadVersion.empty() || acadVersion < "AC1014"; }

struct Section {
  std::string_view name;
  std::span<const Group> groups;  // between the name and ENDSEC
};

std::vector<Section> Sections(const std::vector<Group>& groups) {
  std::vector<Section> sections;
  const std::span<const Group> all(groups);
  size_t i = 0;
  while (!Is(groups[i], 0, "EOF")) {
    if (!Is(groups[i], 0, "SECTION")) Fail(groups[i].line, "SECTION expected, found " + Quoted(groups[i].value));
    const size_t sectionLine = groups[i].line;
    if (groups[i + 1].code != 2) Fail(groups[i + 1].line, "a section name (group code 2) is expected");
    const std::string_view name = Trim(groups[i + 1].value);
    size_t end = i + 2;
    while (groups[end].code != 0 || (Trim(groups[end].value) != "ENDSEC" && Trim(groups[end].value) != "SECTION" &&
                                     Trim(groups[end].value) != "EOF"))
      ++end;
    if (!Is(groups[end], 0, "ENDSEC")) Fail(sectionLine, "section " + Quoted(name) + " is not closed by ENDSEC");
    sections.push_back(Section{name, all.subspan(i + 2, end - i - 2)});
    i = end + 1;
  }
  return sections;
}

}  // namespace

Drawing ReadDxf(std::string_view bytes) {
  if (bytes.empty()) throw DxfError("the file is empty");
  const std::vector<Group> groups = ReadGroups(bytes);

  Header header;
  std::span<const Group> entityGroups;
  std::span<const Group> blockGroups;
  std::span<const Group> tableGroups;
  for (const Section& section : Sections(groups)) {
    if (section.name == "HEADER") header = ReadHeader(section.groups);
    if (section.name == "TABLES") tableGroups = section.groups;
    if (section.name == "BLOCKS") blockGroups = section.groups;
    if (section.name == "ENTITIES") entityGroups = section.groups;
  }

  const DxfTextDecoder decoder(header.acadVersion, header.codePage);
  const EntityReader reader(decoder, ConvertsOldPolylines(header.acadVersion));
  Drawing drawing;
  drawing.blocks = ReadBlocks(blockGroups, reader, decoder);
  for (const auto& [anonymous, dynamic] : ReadDynamicBlockLinks(tableGroups, decoder))
    for (Block& block : drawing.blocks)
      if (SameName(block.name, anonymous)) block.dynamicBlock = dynamic;
  drawing.entities = reader.Read(entityGroups);
  drawing.layers = ReadLayers(tableGroups, decoder);

  const std::optional<View> activeView = ReadActiveViewport(tableGroups);

  const View extents = Extents(drawing);
  if (activeView) {
    drawing.view = *activeView;
  } else if (header.viewCentreX && header.viewCentreY) {
    const double height = header.viewSize && *header.viewSize > 0.0 ? *header.viewSize : extents.height;
    drawing.view = View{*header.viewCentreX, *header.viewCentreY, height, height};
  } else {
    drawing.view = extents;
  }
  return drawing;
}

Drawing ReadDxfFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw DxfError("cannot open " + path);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw DxfError("cannot read " + path);
  try {
    return ReadDxf(bytes);
  } catch (const DxfError& error) {
    throw DxfError(path + ": " + error.what());
  }
}

}  // namespace sim
