#include "sim/SimObjects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "sim/Geometry.h"
#include "sim/SelectionFilter.h"
#include "sim/SimObject.h"
#include "sim/SimPlotObjects.h"

namespace sim {

namespace {

constexpr int32_t kSelectAll = 5;  // acSelectionSetAll

// A point as the CAD reports one: x, y and z as three doubles.
Variant PointOf(double x, double y) {
  return Variant::ArrayOf(VariantKind::Double, 0, {Variant(x), Variant(y), Variant(0.0)});
}

Variant CoordinateOf(VariantKind kind, double value) {
  if (kind == VariantKind::Int32) return Variant(static_cast<int32_t>(value));
  if (kind == VariantKind::String) return Variant(std::to_wstring(value));
  return Variant(value);
}

// The entity an object stands for; the objects of a drawing that is no
// longer open are refused.
const Entity& EntityOf(SimCad::State& state, size_t index, uint64_t document) {
  return state.Document(document).drawing.entities[index];
}

class AttributeObject : public SimObject {
 public:
  AttributeObject(std::weak_ptr<SimCad::State> state, size_t entity, size_t attribute, uint64_t document)
      : SimObject(std::move(state), L"Attribute"), FEntity(entity), FAttribute(attribute), FDocument(document) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 2> kMembers{{{L"TagString", true}, {L"TextString", true}}};
    return kMembers;
  }

  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant>) override {
    const Attribute& attribute = EntityOf(state, FEntity, FDocument).attributes[FAttribute];
    return Variant(member == L"TagString" ? attribute.tag : attribute.label.text);
  }

 private:
  size_t FEntity, FAttribute;
  uint64_t FDocument;
};

class EntityObject : public SimObject {
 public:
  EntityObject(std::weak_ptr<SimCad::State> state, const Entity& entity, size_t index, uint64_t document)
      : SimObject(std::move(state), L"Entity"),
        FKind(entity.IsPolyline()         ? Kind::Polyline
              : entity.IsBlockReference() ? Kind::BlockReference
                                          : Kind::Other),
        FIndex(index),
        FDocument(document) {}

 protected:
  // Each kind of entity knows its own members only, as a real server's
  // objects do.
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 4> kPolyline{
        {{L"Coordinates", true}, {L"Closed", true}, {L"Layer", true}, {L"GetBoundingBox", false, 2}}};
    static constexpr std::array<Member, 4> kBlockReference{
        {{L"Layer", true}, {L"GetBoundingBox", false, 2}, {L"EffectiveName", true}, {L"GetAttributes", false}}};
    static constexpr std::array<Member, 1> kOther{{{L"Layer", true}}};
    switch (FKind) {
      case Kind::Polyline: return kPolyline;
      case Kind::BlockReference: return kBlockReference;
      case Kind::Other: break;
    }
    return kOther;
  }

  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) override {
    const Drawing& drawing = state.Document(FDocument).drawing;
    const Entity& entity = drawing.entities[FIndex];
    if (member == L"Layer") return Variant(entity.layer);
    if (member == L"GetBoundingBox") return GetBoundingBox(drawing, entity, arguments);
    if (member == L"EffectiveName") return Variant(drawing.EffectiveName(entity));
    if (member == L"GetAttributes") return GetAttributes(entity);
    if (member == L"Closed") return Variant(entity.closed);
    std::vector<Variant> values;
    for (const double value : entity.coordinates) values.push_back(CoordinateOf(entity.coordinatesKind, value));
    return Variant::ArrayOf(entity.coordinatesKind, entity.coordinatesLowerBound, std::move(values));
  }

 private:
  enum class Kind { Polyline, BlockReference, Other };

  // The two corners come back through out parameters, which a late-bound
  // client passes as by-reference variants; anything else is a mismatch,
  // as with a server whose type library declares them VARIANT*.
  static Variant GetBoundingBox(const Drawing& drawing, const Entity& entity, std::span<const Variant> corners) {
    for (const Variant& corner : corners)
      if (!corner.IsByRef())
        throw AutomationError(hresult::TypeMismatch,
                              L"GetBoundingBox: the corners are out parameters, got " + Describe(corner));
    const std::optional<Box> box = BoundingBox(drawing, entity);
    if (!box) throw AutomationError(hresult::Fail, L"GetBoundingBox: the entity has no extents");
    corners[0].Store(PointOf(box->minx, box->miny));
    corners[1].Store(PointOf(box->maxx, box->maxy));
    return Variant();
  }

  // A variant array of attribute objects, empty for a reference without
  // attributes.
  Variant GetAttributes(const Entity& entity) const {
    std::vector<Variant> attributes;
    attributes.reserve(entity.attributes.size());
    for (size_t i = 0; i < entity.attributes.size(); ++i)
      attributes.emplace_back(DispatchPtr(std::make_shared<AttributeObject>(WeakState(), FIndex, i, FDocument)));
    return Variant::ArrayOf(VariantKind::Variant, 0, std::move(attributes));
  }

  Kind FKind;
  size_t FIndex;
  uint64_t FDocument;
};

class SelectionSetObject : public SimObject {
 public:
  SelectionSetObject(std::weak_ptr<SimCad::State> state, uint64_t document)
      : SimObject(std::move(state), L"SelectionSet"), FDocument(document) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 4> kMembers{
        {{L"Clear", false}, {L"Select", false, 1, 4}, {L"Count", true}, {L"Item", false, 1}}};
    return kMembers;
  }

  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) override {
    OpenDocument& document = state.Document(FDocument);
    std::vector<size_t>& selection = document.selection;
    if (member == L"Clear") {
      selection.clear();
    } else if (member == L"Select") {
      Select(document, arguments);
    } else if (member == L"Count") {
      return Variant(static_cast<int32_t>(selection.size()));
    } else {
      const int32_t index = IntegerArgument(member, arguments[0]);
      if (index < 0 || static_cast<size_t>(index) >= selection.size())
        InvalidArgument(member, L"index " + std::to_wstring(index) + L" is outside the set of " +
                                    std::to_wstring(selection.size()));
      const size_t entity = selection[static_cast<size_t>(index)];
      return Variant(DispatchPtr(
          std::make_shared<EntityObject>(WeakState(), document.drawing.entities[entity], entity, FDocument)));
    }
    return Variant();
  }

 private:
  static void Select(OpenDocument& state, std::span<const Variant> arguments) {
    const int32_t mode = IntegerArgument(L"Select", arguments[0]);
    if (mode != kSelectAll)
      InvalidArgument(L"Select", L"mode " + std::to_wstring(mode) + L" is not simulated; only 5 (all) is");
    const Variant missing = Variant::Missing();
    const SelectionFilter filter(arguments.size() > 3 ? arguments[3] : missing,
                                 arguments.size() > 4 ? arguments[4] : missing);
    // Select adds to the set; an entity is in it at most once.
    std::vector<bool> selected(state.drawing.entities.size(), false);
    for (const size_t i : state.selection) selected[i] = true;
    for (size_t i = 0; i < state.drawing.entities.size(); ++i)
      if (!selected[i] && filter.Matches(state.drawing.entities[i])) state.selection.push_back(i);
  }

  uint64_t FDocument;
};

// What the Blocks collection lists: the drawing's blocks, after the two
// layouts every drawing has when the file names none.
struct ListedBlock {
  std::wstring name;
  const Block* block;  // none for a layout the file did not name
};

bool IsLayoutName(std::wstring_view name) {
  for (const std::wstring_view layout : {L"*Model_Space", L"*Paper_Space", L"$MODEL_SPACE", L"$PAPER_SPACE"})
    if (name.size() >= layout.size() && SameName(name.substr(0, layout.size()), layout)) return true;
  return false;
}

std::vector<ListedBlock> ListedBlocks(const Drawing& drawing) {
  std::vector<ListedBlock> listed;
  if (std::none_of(drawing.blocks.begin(), drawing.blocks.end(), [](const Block& b) { return IsLayoutName(b.name); }))
    listed = {{L"*Model_Space", nullptr}, {L"*Paper_Space", nullptr}};
  for (const Block& block : drawing.blocks) listed.push_back({block.name, &block});
  return listed;
}

// A collection's Item takes an index from 0 or a name in any letter case.
size_t ItemIndex(const Variant& argument, const std::vector<std::wstring>& names) {
  if (argument.Kind() == VariantKind::String) {
    for (size_t i = 0; i < names.size(); ++i)
      if (SameName(names[i], argument.AsString())) return i;
    InvalidArgument(L"Item", L"no item is named " + argument.AsString());
  }
  const int32_t index = IntegerArgument(L"Item", argument);
  if (index < 0 || static_cast<size_t>(index) >= names.size())
    InvalidArgument(L"Item", L"index " + std::to_wstring(index) + L" is outside the collection of " +
                                 std::to_wstring(names.size()));
  return static_cast<size_t>(index);
}

std::wstring ObjectNameOf(const Entity& entity) {
  static const std::array<std::pair<std::wstring_view, std::wstring_view>, 9> kNames{{
      {L"LWPOLYLINE", L"AcDbPolyline"},
      {L"POLYLINE", L"AcDb2dPolyline"},
      {L"LINE", L"AcDbLine"},
      {L"CIRCLE", L"AcDbCircle"},
      {L"ARC", L"AcDbArc"},
      {L"TEXT", L"AcDbText"},
      {L"MTEXT", L"AcDbMText"},
      {L"ATTDEF", L"AcDbAttributeDefinition"},
      {L"INSERT", L"AcDbBlockReference"},
  }};
  for (const auto& [type, name] : kNames)
    if (entity.type == type) return std::wstring(name);
  return L"AcDbEntity";
}

class LayerObject : public SimObject {
 public:
  LayerObject(std::weak_ptr<SimCad::State> state, std::wstring name)
      : SimObject(std::move(state), L"Layer"), FName(std::move(name)) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 1> kMembers{{{L"Name", true}}};
    return kMembers;
  }
  Variant Call(SimCad::State&, std::wstring_view, std::span<const Variant>) override { return Variant(FName); }

 private:
  std::wstring FName;
};

class LayersObject : public SimObject {
 public:
  LayersObject(std::weak_ptr<SimCad::State> state, uint64_t document)
      : SimObject(std::move(state), L"Layers"), FDocument(document) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 2> kMembers{{{L"Count", true}, {L"Item", false, 1}}};
    return kMembers;
  }
  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) override {
    const std::vector<std::wstring> names = state.Document(FDocument).drawing.LayerNames();
    if (member == L"Count") return Variant(static_cast<int32_t>(names.size()));
    return Variant(DispatchPtr(std::make_shared<LayerObject>(WeakState(), names[ItemIndex(arguments[0], names)])));
  }

 private:
  uint64_t FDocument;
};

// An entity of a block definition.
class BlockEntityObject : public SimObject {
 public:
  BlockEntityObject(std::weak_ptr<SimCad::State> state, const Entity& entity)
      : SimObject(std::move(state), L"BlockEntity"), FEntity(entity) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 3> kAttributeDefinition{
        {{L"ObjectName", true}, {L"Layer", true}, {L"TagString", true}}};
    static constexpr std::array<Member, 2> kOther{{{L"ObjectName", true}, {L"Layer", true}}};
    if (FEntity.type == L"ATTDEF") return kAttributeDefinition;
    return kOther;
  }
  Variant Call(SimCad::State&, std::wstring_view member, std::span<const Variant>) override {
    if (member == L"ObjectName") return Variant(ObjectNameOf(FEntity));
    if (member == L"Layer") return Variant(FEntity.layer);
    return Variant(FEntity.tag);
  }

 private:
  // A copy: the drawing of an open document does not change.
  Entity FEntity;
};

class BlockObject : public SimObject {
 public:
  BlockObject(std::weak_ptr<SimCad::State> state, uint64_t document, size_t listed)
      : SimObject(std::move(state), L"Block"), FDocument(document), FListed(listed) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 5> kMembers{
        {{L"Name", true}, {L"IsLayout", true}, {L"IsXRef", true}, {L"Count", true}, {L"Item", false, 1}}};
    return kMembers;
  }
  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) override {
    const ListedBlock block = ListedBlocks(state.Document(FDocument).drawing)[FListed];
    if (member == L"Name") return Variant(block.name);
    if (member == L"IsLayout") return Variant(IsLayoutName(block.name));
    if (member == L"IsXRef") return Variant(block.block && block.block->externalReference);
    const size_t count = block.block ? block.block->entities.size() : 0;
    if (member == L"Count") return Variant(static_cast<int32_t>(count));
    const int32_t index = IntegerArgument(member, arguments[0]);
    if (index < 0 || static_cast<size_t>(index) >= count)
      InvalidArgument(member,
                      L"index " + std::to_wstring(index) + L" is outside the block of " + std::to_wstring(count));
    return Variant(DispatchPtr(
        std::make_shared<BlockEntityObject>(WeakState(), block.block->entities[static_cast<size_t>(index)])));
  }

 private:
  uint64_t FDocument;
  size_t FListed;
};

class BlocksObject : public SimObject {
 public:
  BlocksObject(std::weak_ptr<SimCad::State> state, uint64_t document)
      : SimObject(std::move(state), L"Blocks"), FDocument(document) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 2> kMembers{{{L"Count", true}, {L"Item", false, 1}}};
    return kMembers;
  }
  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) override {
    std::vector<std::wstring> names;
    for (const ListedBlock& block : ListedBlocks(state.Document(FDocument).drawing)) names.push_back(block.name);
    if (member == L"Count") return Variant(static_cast<int32_t>(names.size()));
    return Variant(DispatchPtr(std::make_shared<BlockObject>(WeakState(), FDocument, ItemIndex(arguments[0], names))));
  }

 private:
  uint64_t FDocument;
};

void ZoomTo(OpenDocument& document, double x1, double y1, double x2, double y2) {
  if (const auto view = WindowView(x1, y1, x2, y2)) document.view = *view;
}

class DocumentObject : public SimObject {
 public:
  DocumentObject(std::weak_ptr<SimCad::State> state, uint64_t document)
      : SimObject(std::move(state), L"Document"), FDocument(document) {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 10> kMembers{{{L"ActiveSelectionSet", true},
                                                      {L"GetVariable", false, 1},
                                                      {L"SendCommand", false, 1},
                                                      {L"FullName", true},
                                                      {L"Name", true},
                                                      {L"Layers", true},
                                                      {L"Blocks", true},
                                                      {L"ActiveLayout", true},
                                                      {L"Plot", true},
                                                      {L"SetVariable", false, 2}}};
    return kMembers;
  }

  Variant Call(SimCad::State& simulated, std::wstring_view member, std::span<const Variant> arguments) override {
    OpenDocument& state = simulated.Document(FDocument);
    if (member == L"ActiveSelectionSet") return Variant(state.selectionSet);
    if (member == L"ActiveLayout") return Variant(state.layout);
    if (member == L"Plot") return Variant(state.plot);
    if (member == L"SetVariable") return SetVariable(state, StringArgument(member, arguments[0]), arguments[1]);
    if (member == L"FullName") return Variant(state.names.fullName);
    if (member == L"Name") return Variant(state.names.name);
    if (member == L"Layers") return Variant(DispatchPtr(std::make_shared<LayersObject>(WeakState(), FDocument)));
    if (member == L"Blocks") return Variant(DispatchPtr(std::make_shared<BlocksObject>(WeakState(), FDocument)));
    if (member == L"GetVariable") return GetVariable(state, StringArgument(member, arguments[0]));
    // The CAD takes any text; what it cannot read it does not carry out.
    for (const ZoomCorners& zoom : state.commandLine.Feed(StringArgument(member, arguments[0])))
      ZoomTo(state, zoom.x1, zoom.y1, zoom.x2, zoom.y2);
    return Variant();
  }

 private:
  static Variant GetVariable(const OpenDocument& state, const std::wstring& name) {
    if (SameName(name, L"VIEWCTR")) return PointOf(state.view.centreX, state.view.centreY);
    if (SameName(name, L"VIEWSIZE")) return Variant(state.view.height);
    if (SameName(name, L"BACKGROUNDPLOT")) return Variant(state.backgroundPlot);
    InvalidArgument(L"GetVariable", L"system variable " + name + L" is not simulated");
  }

  // BACKGROUNDPLOT is the only one that can be set; it is a short (VT_I2)
  // of 0 to 3, and a value of another type is refused, as the CAD does.
  static Variant SetVariable(OpenDocument& state, const std::wstring& name, const Variant& value) {
    if (!SameName(name, L"BACKGROUNDPLOT"))
      InvalidArgument(L"SetVariable", L"system variable " + name + L" cannot be set here");
    if (value.Kind() != VariantKind::Int16 || value.ToInt32() < 0 || value.ToInt32() > 3)
      InvalidArgument(L"SetVariable", L"BACKGROUNDPLOT takes a short of 0 to 3, got " + Describe(value));
    state.backgroundPlot = static_cast<int16_t>(value.ToInt32());
    return Variant();
  }

  uint64_t FDocument;
};

class ApplicationObject : public SimObject {
 public:
  explicit ApplicationObject(std::weak_ptr<SimCad::State> state) : SimObject(std::move(state), L"Application") {}

 protected:
  std::span<const Member> Members() const override {
    static constexpr std::array<Member, 3> kMembers{
        {{L"HWND", true}, {L"ActiveDocument", true}, {L"ZoomWindow", false, 2}}};
    return kMembers;
  }

  Variant Call(SimCad::State& state, std::wstring_view member, std::span<const Variant> arguments) override {
    if (member == L"HWND") return Variant(state.windowHandle);
    // A CAD without an open drawing answers with no object.
    if (member == L"ActiveDocument") return state.documents.empty() ? Variant() : Variant(state.Active().object);
    const Point lowerLeft = PointArgument(member, arguments[0]);
    const Point upperRight = PointArgument(member, arguments[1]);
    if (!WindowView(lowerLeft.x, lowerLeft.y, upperRight.x, upperRight.y))
      InvalidArgument(member, L"the window has no extent");
    ZoomTo(state.Active(), lowerLeft.x, lowerLeft.y, upperRight.x, upperRight.y);
    return Variant();
  }
};

}  // namespace

void CreateApplicationObject(const std::shared_ptr<SimCad::State>& state) {
  state->application = std::make_shared<ApplicationObject>(state);
}

void CreateDocumentObjects(const std::shared_ptr<SimCad::State>& state, OpenDocument& document) {
  document.object = std::make_shared<DocumentObject>(state, document.serial);
  document.selectionSet = std::make_shared<SelectionSetObject>(state, document.serial);
  CreatePlotObjects(state, document);
}

bool KnowsMember(const DispatchObject& object, std::wstring_view member) {
  const auto* simulated = dynamic_cast<const SimObject*>(&object);
  return simulated && simulated->Knows(member);
}

}  // namespace sim
