// The COM layer against simcad.exe in another process: values through the
// real marshaling, server errors as the client sees them, and the
// simulator's registration coming and going with it.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "SimCadProcess.h"
#include "cad/ComAutomation.h"
#include "cad/WindowsCad.h"
#include "sim/server/SimCadServerRegistration.h"

namespace {

constexpr wchar_t kEchoProgId[] = L"PageTest.SimCadEcho";

AutomationError ErrorOf(auto call) {
  try {
    call();
  } catch (const AutomationError& error) {
    return error;
  }
  ADD_FAILURE() << "no AutomationError";
  return AutomationError(hresult::Ok, L"");
}

bool Resolves(const wchar_t* progId) {
  CLSID id{};
  return SUCCEEDED(CLSIDFromProgID(progId, &id));
}

class SimCadEchoTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { FSimCad = std::make_unique<SimCadProcess>(std::vector<std::wstring>{kEchoProgId}); }
  static void TearDownTestSuite() { FSimCad.reset(); }

  void SetUp() override {
    FApplication = AttachSimCad(kEchoProgId);
    SimCall(*FApplication, L"SimClearJournal");
    SimCall(*FApplication, L"SimClearFaults");
  }

  Variant Echo(const Variant& value) {
    const std::array<Variant, 1> arguments{value};
    return CallMethod(*FApplication, L"SimEcho", arguments);
  }

  static std::unique_ptr<SimCadProcess> FSimCad;
  DispatchPtr FApplication;
};

std::unique_ptr<SimCadProcess> SimCadEchoTest::FSimCad;

TEST_F(SimCadEchoTest, EveryKindThePagerExchangesComesBackUnchanged) {
  const std::wstring withNul(L"枠 KESTRA\0end", 12);
  const std::vector<Variant> values{
      Variant(),
      Variant::Missing(),
      Variant(true),
      Variant(false),
      Variant(int16_t{-8}),
      Variant(int32_t{5}),
      Variant(int64_t{0x7FFF00001234LL}),
      Variant(-1234.5678),
      Variant(withNul),
      Variant(std::wstring()),
      Variant::ArrayOf(VariantKind::Int16, 0, {Variant(int16_t{8}), Variant(int16_t{0})}),
      Variant::ArrayOf(VariantKind::Variant, 0, {Variant(L"KESTRA"), Variant(L"*POLYLINE")}),
      Variant::ArrayOf(VariantKind::Double, 0, {Variant(0.0), Variant(800.0), Variant(-3.25)}),
      Variant::ArrayOf(VariantKind::Double, 1, {Variant(1.0), Variant(2.0)}),
      Variant::ArrayOf(VariantKind::String, 0, {Variant(L"a"), Variant(L"図面")}),
      Variant::ArrayOf(VariantKind::Bool, 0, {Variant(true), Variant(false)}),
      Variant::ArrayOf(VariantKind::Int32, -2, {Variant(int32_t{7})}),
      Variant::ArrayOf(VariantKind::Int64, 0, {Variant(int64_t{-1})}),
      Variant::ArrayOf(VariantKind::Double, 0, {}),
      Variant::ArrayOf(VariantKind::Variant, 0,
                       {Variant(int32_t{1}), Variant::ArrayOf(VariantKind::Double, 0, {Variant(2.0)}), Variant()}),
  };
  for (const Variant& value : values) EXPECT_EQ(Echo(value), value) << Describe(value);
}

TEST_F(SimCadEchoTest, AReferencedArgumentArrivesAsItsValue) {
  const Variant point = Variant::ArrayOf(VariantKind::Double, 0, {Variant(420.0), Variant(297.0)});
  const Variant echoed = Echo(Variant::ByRef(point));
  EXPECT_FALSE(echoed.IsByRef());
  EXPECT_EQ(echoed, point) << Describe(echoed);
}

TEST_F(SimCadEchoTest, ObjectsTravelBothWays) {
  const Variant document = GetValue(*FApplication, L"ActiveDocument");
  const Variant echoed = Echo(document);
  ASSERT_EQ(echoed.Kind(), VariantKind::Object);
  const std::array<Variant, 1> name{Variant(L"VIEWCTR")};
  EXPECT_EQ(CallMethod(*echoed.AsObject(), L"GetVariable", name).AsArray().elements.size(), 3u)
      << "the echoed document should answer as the document";
}

TEST_F(SimCadEchoTest, TestMembersStayOutOfTheJournalWhileCadMembersAreRecorded) {
  Echo(Variant(int32_t{1}));
  SimView(*FApplication);
  GetValue(*FApplication, L"HWND");
  EXPECT_EQ(SimJournal(*FApplication), std::vector<std::wstring>{L"Application.HWND()"});
}

TEST_F(SimCadEchoTest, NamesAreFoundInAnyLetterCase) {
  EXPECT_EQ(GetValue(*FApplication, L"hwnd"), GetValue(*FApplication, L"HWND"));
  EXPECT_EQ(GetValue(*FApplication, L"HWND").Kind(), VariantKind::Int64);
}

TEST_F(SimCadEchoTest, AnUnknownMemberFailsAtLookupWithTheClientsText) {
  const AutomationError error = ErrorOf([&] { CallMethod(*FApplication, L"Xyz"); });
  EXPECT_EQ(error.Code(), hresult::UnknownName);
  EXPECT_EQ(error.Text(), L"メソッド 'Xyz' はオートメーション オブジェクトでサポートしていません");
  EXPECT_TRUE(SimJournal(*FApplication).empty()) << "a failed lookup should never reach the CAD";
}

TEST_F(SimCadEchoTest, AServerErrorKeepsItsCodeAndDescription) {
  const DispatchPtr document = GetValue(*FApplication, L"ActiveDocument").AsObject();
  const std::array<Variant, 1> name{Variant(L"NOSUCHVAR")};
  const AutomationError error = ErrorOf([&] { CallMethod(*document, L"GetVariable", name); });
  EXPECT_EQ(error.Code(), hresult::InvalidArg);
  EXPECT_NE(error.Text().find(L"NOSUCHVAR"), std::wstring::npos) << "description: " << error.what();
}

TEST_F(SimCadEchoTest, ABusyServersRefusalReachesTheClientAsItsCode) {
  for (const HResult refusal : {hresult::CallRejected, hresult::RetryLater}) {
    SimCall(*FApplication, L"SimFailOn",
            {Variant(L"HWND"), Variant(int32_t{1}), Variant(static_cast<int32_t>(refusal))});
    const AutomationError error = ErrorOf([&] { GetValue(*FApplication, L"HWND"); });
    EXPECT_EQ(error.Code(), refusal);
    EXPECT_EQ(GetValue(*FApplication, L"HWND").Kind(), VariantKind::Int64) << "only the first call should fail";
  }
}

TEST_F(SimCadEchoTest, ArgumentsOfTheWrongKindAreRefused) {
  const std::array<Variant, 2> notPoints{Variant(L"0,0"), Variant(L"1,1")};
  EXPECT_EQ(ErrorOf([&] { CallMethod(*FApplication, L"ZoomWindow", notPoints); }).Code(), hresult::InvalidArg);
  EXPECT_EQ(ErrorOf([&] { CallMethod(*FApplication, L"ZoomWindow"); }).Code(), hresult::BadParamCount);
}

// GetBoundingBox fills two by-reference variants in simcad.exe; the values
// have to come back through the marshaling into the caller's variants.
TEST_F(SimCadEchoTest, OutParametersComeBackFilledAndByValueCornersAreRefused) {
  SimCall(*FApplication, L"SimLoadDrawing", {Variant(BlockDrawingPath())});
  const DispatchPtr document = GetObjectValue(*FApplication, L"ActiveDocument");
  const DispatchPtr selection = GetObjectValue(*document, L"ActiveSelectionSet");
  const std::array<Variant, 5> select{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                      Variant::ByRef(BlockFilterType()), Variant::ByRef(BlockFilterData(L"FRAME-A1"))};
  CallMethod(*selection, L"Select", select);
  ASSERT_EQ(GetValue(*selection, L"Count").ToInt32(), 1);
  const DispatchPtr reference = CallMethod(*selection, L"Item", std::array<Variant, 1>{Variant(int32_t{0})}).AsObject();

  const std::array<Variant, 2> corners{Variant::ByRef(Variant()), Variant::ByRef(Variant())};
  CallMethod(*reference, L"GetBoundingBox", corners);
  const auto point = [](double x, double y) {
    return Variant::ArrayOf(VariantKind::Double, 0, {Variant(x), Variant(y), Variant(0.0)});
  };
  EXPECT_EQ(corners[0].Deref(), point(-297, -1000)) << Describe(corners[0]);
  EXPECT_EQ(corners[1].Deref(), point(0, -579.5)) << Describe(corners[1]);
  EXPECT_EQ(SimJournal(*FApplication).back(), L"Entity.GetBoundingBox(&Empty, &Empty)");

  const std::array<Variant, 2> byValue{Variant(), Variant()};
  EXPECT_EQ(ErrorOf([&] { CallMethod(*reference, L"GetBoundingBox", byValue); }).Code(), hresult::TypeMismatch);
}

// Attribute objects are created in simcad.exe and come back inside a
// variant array; each has to answer through its own marshaled proxy.
TEST_F(SimCadEchoTest, AReferenceGivesItsEffectiveNameAndItsAttributesObjects) {
  SimCall(*FApplication, L"SimLoadDrawing", {Variant(TitlesDrawingPath())});
  const DispatchPtr document = GetObjectValue(*FApplication, L"ActiveDocument");
  const DispatchPtr selection = GetObjectValue(*document, L"ActiveSelectionSet");
  const std::array<Variant, 5> select{Variant(int32_t{5}), Variant::Missing(), Variant::Missing(),
                                      Variant::ByRef(BlockFilterType()),
                                      Variant::ByRef(BlockFilterData(L"FRAME-A1,`*U1"))};
  CallMethod(*selection, L"Select", select);
  ASSERT_EQ(GetValue(*selection, L"Count").ToInt32(), 2);
  const auto item = [&](int32_t index) {
    return CallMethod(*selection, L"Item", std::array<Variant, 1>{Variant(index)}).AsObject();
  };
  const DispatchPtr titleBlock = item(0);
  const DispatchPtr dynamic = item(1);
  SimCall(*FApplication, L"SimClearJournal");

  EXPECT_EQ(GetValue(*titleBlock, L"EffectiveName"), Variant(L"FRAME-A1"));
  EXPECT_EQ(GetValue(*dynamic, L"EffectiveName"), Variant(L"図枠A2"));
  const Variant attributes = CallMethod(*titleBlock, L"GetAttributes");
  ASSERT_EQ(attributes.Kind(), VariantKind::Array) << Describe(attributes);
  std::vector<std::wstring> read;
  for (const Variant& attribute : attributes.AsArray().elements) {
    read.push_back(GetValue(*attribute.AsObject(), L"TagString").AsString());
    read.push_back(GetValue(*attribute.AsObject(), L"TextString").AsString());
  }
  EXPECT_EQ(read, (std::vector<std::wstring>{L"DWG-NO", L"K-462", L"尺度", L"1:100", L"図名", L"平面図\t(参考)",
                                             L"図番", L"A-33"}));
  EXPECT_EQ(CallMethod(*dynamic, L"GetAttributes"), Variant::ArrayOf(VariantKind::Variant, 0, {}));

  std::vector<std::wstring> expected{L"Entity.EffectiveName()", L"Entity.EffectiveName()", L"Entity.GetAttributes()"};
  for (int i = 0; i < 4; ++i) expected.insert(expected.end(), {L"Attribute.TagString()", L"Attribute.TextString()"});
  expected.push_back(L"Entity.GetAttributes()");
  EXPECT_EQ(SimJournal(*FApplication), expected);
  EXPECT_EQ(ErrorOf([&] { GetValue(*titleBlock, L"TagString"); }).Code(), hresult::UnknownName)
      << "a reference has no TagString";
}

TEST(SimCadRegistrationTest, TheProgIdIsRegisteredWhileItRunsAndRemovedWhenItQuits) {
  constexpr wchar_t kProgId[] = L"PageTest.SimCadLifecycle";
  ASSERT_FALSE(Resolves(kProgId)) << "left over from an earlier run";
  SimCadProcess simCad({kProgId});
  ComObjectTable objects;
  EXPECT_TRUE(objects.IsActive(kProgId));
  EXPECT_EQ(simCad.Quit(), 0u);
  EXPECT_FALSE(Resolves(kProgId));
}

TEST(SimCadRegistrationTest, AProgIdRegisteredBeforeItStartedStaysRegistered) {
  constexpr wchar_t kProgId[] = L"PageTest.SimCadPreregistered";
  const ClassRegistration registration(kProgId);
  {
    SimCadProcess simCad({kProgId});
    ComObjectTable objects;
    EXPECT_TRUE(objects.IsActive(kProgId));
    EXPECT_EQ(simCad.Quit(), 0u);
  }
  EXPECT_TRUE(Resolves(kProgId));
  ComObjectTable objects;
  EXPECT_FALSE(objects.IsActive(kProgId));
}

TEST(SimCadRegistrationTest, EveryProgIdGivenFindsTheSameApplication) {
  SimCadProcess simCad({L"PageTest.SimCadFirst", L"PageTest.SimCadSecond"});
  const DispatchPtr first = AttachSimCad(L"PageTest.SimCadFirst");
  const DispatchPtr second = AttachSimCad(L"PageTest.SimCadSecond");
  SimCall(*first, L"SimSetViewCentre", {Variant(12.5), Variant(-4.0)});
  EXPECT_EQ(SimView(*second).at(0), 12.5);
  EXPECT_EQ(SimView(*second).at(1), -4.0);
}

}  // namespace
