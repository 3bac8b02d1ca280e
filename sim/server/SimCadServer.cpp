#include "sim/server/SimCadServer.h"

#include <windows.h>

#include <array>
#include <string>

#include "common/Unicode.h"
#include "sim/Dxf.h"
#include "sim/SimCadState.h"
#include "sim/SimObjects.h"
#include "win/Handles.h"

namespace {

struct TestMember {
  std::wstring_view name;
  size_t argumentCount;
};

constexpr std::array<TestMember, 20> kTestMembers{{
    {L"SimLoadDrawing", 1},
    {L"SimOpenDrawing", 1},
    {L"SimActivateDocument", 1},
    {L"SimJournal", 0},
    {L"SimClearJournal", 0},
    {L"SimSetViewCentre", 2},
    {L"SimView", 0},
    {L"SimFailOn", 3},
    {L"SimStallOn", 3},
    {L"SimBusyFor", 1},  // sleeps outside any member
    {L"SimReturnWrongType", 1},
    {L"SimClearFaults", 0},
    {L"SimRefusePlotOn", 1},
    {L"SimMinimize", 0},
    {L"SimIsMinimized", 0},
    {L"SimIsForeground", 0},
    {L"SimRefuseCalls", 2},
    {L"SimFilterConsulted", 0},
    {L"SimEcho", 1},
    {L"SimQuit", 0},
}};

const TestMember* FindTestMember(std::wstring_view name) {
  for (const TestMember& member : kTestMembers)
    if (sim::SameName(member.name, name)) return &member;
  return nullptr;
}

Variant Strings(std::vector<std::wstring> texts) {
  std::vector<Variant> elements(texts.begin(), texts.end());
  return Variant::ArrayOf(VariantKind::String, 0, std::move(elements));
}

Variant Doubles(std::initializer_list<double> values) {
  return Variant::ArrayOf(VariantKind::Double, 0, std::vector<Variant>(values.begin(), values.end()));
}

const std::wstring& StringArgument(const Variant& value) {
  if (value.Kind() != VariantKind::String)
    throw AutomationError(hresult::TypeMismatch, L"a string is expected, got " + Describe(value));
  return value.AsString();
}

}  // namespace

sim::Drawing ReadDrawingFile(const std::wstring& path) {
  const UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) throw sim::DxfError("cannot open " + ToUtf8(path));
  std::string bytes;
  char buffer[65536];
  for (DWORD read = 0;; bytes.append(buffer, read)) {
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr))
      throw sim::DxfError("cannot read " + ToUtf8(path));
    if (read == 0) break;
  }
  try {
    return sim::ReadDxf(bytes);
  } catch (const sim::DxfError& error) {
    throw sim::DxfError(ToUtf8(path) + ": " + error.what());
  }
}

sim::DocumentNames DocumentNamesOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return {path, slash == std::wstring::npos ? path : path.substr(slash + 1)};
}

bool SimCadApplication::HasMember(std::wstring_view member) const {
  return FindTestMember(member) || sim::KnowsMember(*FCad.Application(), member);
}

Variant SimCadApplication::Invoke(std::wstring_view member, CallKind kind, std::span<const Variant> arguments) {
  if (!FindTestMember(member)) return FCad.Application()->Invoke(member, kind, arguments);
  return CallTestMember(member, arguments);
}

Variant SimCadApplication::CallTestMember(std::wstring_view name, std::span<const Variant> arguments) {
  const TestMember& member = *FindTestMember(name);
  if (arguments.size() != member.argumentCount)
    throw AutomationError(hresult::BadParamCount, std::wstring(member.name) + L" takes " +
                                                      std::to_wstring(member.argumentCount) + L" arguments");
  const std::wstring_view m = member.name;
  if (m == L"SimLoadDrawing") {
    FHost.LoadDrawing(StringArgument(arguments[0]));
    return Variant(static_cast<int32_t>(FCad.CurrentDrawing().entities.size()));
  }
  if (m == L"SimOpenDrawing") return Variant(static_cast<int32_t>(FHost.OpenDrawing(StringArgument(arguments[0]))));
  if (m == L"SimActivateDocument") {
    const int32_t index = arguments[0].ToInt32();
    if (index < 0 || static_cast<size_t>(index) >= FCad.DocumentCount())
      throw AutomationError(hresult::InvalidArg, L"SimActivateDocument: no open document " + std::to_wstring(index));
    FHost.ActivateDocument(static_cast<size_t>(index));
    return Variant();
  }
  if (m == L"SimJournal") {
    std::vector<std::wstring> calls;
    for (const sim::JournalEntry& entry : FCad.Journal()) calls.push_back(sim::Describe(entry));
    return Strings(std::move(calls));
  }
  if (m == L"SimClearJournal") {
    FCad.ClearJournal();
  } else if (m == L"SimSetViewCentre") {
    FCad.SetViewCentre(arguments[0].ToDouble(), arguments[1].ToDouble());
  } else if (m == L"SimView") {
    const sim::View view = FCad.CurrentView();
    return Doubles({view.centreX, view.centreY, view.height, view.width});
  } else if (m == L"SimFailOn") {
    const auto code = static_cast<HResult>(static_cast<uint32_t>(arguments[2].ToInt64()));
    const int32_t nthCall = arguments[1].ToInt32();
    if (nthCall < 1) throw AutomationError(hresult::InvalidArg, L"SimFailOn counts calls from 1");
    FCad.FailOn(StringArgument(arguments[0]), nthCall, code);
  } else if (m == L"SimStallOn") {
    const int32_t nthCall = arguments[1].ToInt32();
    if (nthCall < 1) throw AutomationError(hresult::InvalidArg, L"SimStallOn counts calls from 1");
    FCad.StallOn(StringArgument(arguments[0]), nthCall, std::chrono::milliseconds(arguments[2].ToInt32()));
  } else if (m == L"SimBusyFor") {
    FHost.BusyFor(std::chrono::milliseconds(arguments[0].ToInt32()));
  } else if (m == L"SimReturnWrongType") {
    FCad.ReturnWrongType(StringArgument(arguments[0]));
  } else if (m == L"SimRefusePlotOn") {
    const int32_t nthCall = arguments[0].ToInt32();
    if (nthCall < 1) throw AutomationError(hresult::InvalidArg, L"SimRefusePlotOn counts calls from 1");
    FCad.RefusePlotOn(nthCall);
  } else if (m == L"SimClearFaults") {
    FCad.ClearFaults();
  } else if (m == L"SimMinimize") {
    FHost.Minimize();
  } else if (m == L"SimIsMinimized") {
    return Variant(FHost.IsMinimized());
  } else if (m == L"SimIsForeground") {
    return Variant(FHost.IsForeground());
  } else if (m == L"SimRefuseCalls") {
    const int32_t answer = arguments[1].ToInt32();
    if (answer != 1 && answer != 2) throw AutomationError(hresult::InvalidArg, L"SimRefuseCalls answers 1 or 2");
    FHost.RefuseCalls(arguments[0].ToInt32(), answer);
  } else if (m == L"SimFilterConsulted") {
    return Variant(static_cast<int32_t>(FHost.FilterConsulted()));
  } else if (m == L"SimEcho") {
    return arguments[0];
  } else if (m == L"SimQuit") {
    FHost.Quit();
  }
  return Variant();
}
