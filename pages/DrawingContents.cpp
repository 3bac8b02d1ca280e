#include "pages/DrawingContents.h"

#include <algorithm>
#include <array>

#include "cad/StopReason.h"
#include "cad/TargetCad.h"
#include "common/AsciiCase.h"
#include "pages/StopReasons.h"

namespace {

DispatchPtr ItemOf(DispatchObject& collection, Variant index) {
  const std::array<Variant, 1> arguments{std::move(index)};
  return NamingMember(L"Item", [&] { return CallMethod(collection, L"Item", arguments).AsObject(); });
}

std::wstring StringOf(DispatchObject& object, std::wstring_view member) {
  return NamingMember(member, [&] { return GetValue(object, member).AsString(); });
}

bool HasName(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& other) {
    return EqualIgnoringAsciiCase(std::wstring_view(other), std::wstring_view(name));
  });
}

}  // namespace

ActiveDrawing AttachActiveDrawing(ObjectTable& objects) {
  try {
    if (!IsTargetRunning(objects)) return {nullptr, NotRunningReason(TargetAppName)};
    const DispatchPtr application = AttachTarget(objects);
    DispatchPtr document;
    try {
      document = GetObjectValue(*application, L"ActiveDocument");
    } catch (const AutomationError&) {
    }
    if (!document) return {nullptr, NoDrawingReason(TargetAppName)};
    return {document, {}};
  } catch (const AutomationError& error) {
    if (error.Code() == hresult::InvalidClassString) return {nullptr, UnregisteredReason(TargetAppName, TargetProgId)};
    return {nullptr, CallFailureText(error)};
  } catch (const std::exception& error) {
    return {nullptr, CallFailureText(error)};
  }
}

std::vector<std::wstring> ReadLayerNames(DispatchObject& document) {
  const DispatchPtr layers = GetObjectValue(document, L"Layers");
  const int32_t count = CollectionCount(*layers);
  std::vector<std::wstring> names;
  for (int32_t i = 0; i < count; ++i) names.push_back(StringOf(*ItemOf(*layers, Variant(i)), L"Name"));
  return names;
}

std::vector<std::wstring> ReadBlockNames(DispatchObject& document) {
  const DispatchPtr blocks = GetObjectValue(document, L"Blocks");
  const int32_t count = CollectionCount(*blocks);
  std::vector<std::wstring> names;
  for (int32_t i = 0; i < count; ++i) {
    const DispatchPtr block = ItemOf(*blocks, Variant(i));
    std::wstring name = StringOf(*block, L"Name");
    if (name.empty() || name.front() == L'*') continue;
    if (GetValue(*block, L"IsLayout").ToBool() || GetValue(*block, L"IsXRef").ToBool()) continue;
    names.push_back(std::move(name));
  }
  return names;
}

std::vector<std::wstring> ReadAttributeTags(DispatchObject& document, const std::wstring& blockName) {
  const DispatchPtr blocks = GetObjectValue(document, L"Blocks");
  const DispatchPtr block = ItemOf(*blocks, Variant(blockName));
  const int32_t count = CollectionCount(*block);
  std::vector<std::wstring> tags;
  for (int32_t i = 0; i < count; ++i) {
    const DispatchPtr entity = ItemOf(*block, Variant(i));
    if (StringOf(*entity, L"ObjectName") != L"AcDbAttributeDefinition") continue;
    std::wstring tag = StringOf(*entity, L"TagString");
    if (!tag.empty() && !HasName(tags, tag)) tags.push_back(std::move(tag));
  }
  return tags;
}
