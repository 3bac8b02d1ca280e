#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "sim/SimCad.h"

namespace {

Variant Points(std::vector<double> values, VariantKind kind = VariantKind::Double) {
  std::vector<Variant> elements(values.begin(), values.end());
  return Variant::ArrayOf(kind, 0, std::move(elements));
}

Variant Int16s(std::vector<int16_t> values) {
  std::vector<Variant> elements(values.begin(), values.end());
  return Variant::ArrayOf(VariantKind::Int16, 0, std::move(elements));
}

Variant Patterns(std::vector<std::wstring> values) {
  std::vector<Variant> elements(values.begin(), values.end());
  return Variant::ArrayOf(VariantKind::Variant, 0, std::move(elements));
}

class SimObjectsTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    sim::Drawing drawing;
    drawing.entities.push_back(sim::Rectangle(L"KESTRA", 0, 0, 420, 297));
    drawing.entities.push_back(sim::Entity{L"POLYLINE", L"kestra", {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, true});
    drawing.entities.push_back(sim::Entity{L"LINE", L"KESTRA", {}, false});
    drawing.entities.push_back(sim::Rectangle(L"BORDER", 10, 10, 20, 20));
    drawing.view = {5, 6, 7, 8};
    cad.Load(drawing);
    application = cad.Application();
    document = GetObjectValue(*application, L"ActiveDocument");
    selection = GetObjectValue(*document, L"ActiveSelectionSet");
    cad.ClearJournal();
  }

  int32_t Select(const std::vector<Variant>& filter) {
    std::vector<Variant> arguments{Variant(int32_t{5}), Variant::Missing(), Variant::Missing()};
    arguments.insert(arguments.end(), filter.begin(), filter.end());
    CallMethod(*selection, L"Select", arguments);
    return GetValue(*selection, L"Count").ToInt32();
  }

  DispatchPtr Item(const Variant& index) {
    const std::array<Variant, 1> arguments{index};
    return CallMethod(*selection, L"Item", arguments).AsObject();
  }

  void Zoom(const Variant& lowerLeft, const Variant& upperRight) {
    const std::array<Variant, 2> corners{lowerLeft, upperRight};
    CallMethod(*application, L"ZoomWindow", corners);
  }

  void Send(const std::wstring& text) {
    const std::array<Variant, 1> arguments{Variant(text)};
    CallMethod(*document, L"SendCommand", arguments);
  }

  void ExpectView(double cx, double cy, double width, double height) const {
    const sim::View view = cad.CurrentView();
    EXPECT_DOUBLE_EQ(view.centreX, cx);
    EXPECT_DOUBLE_EQ(view.centreY, cy);
    EXPECT_DOUBLE_EQ(view.width, width);
    EXPECT_DOUBLE_EQ(view.height, height);
  }

  DispatchPtr application, document, selection;
};

}  // namespace

TEST_F(SimObjectsTest, AnswersWithTheTypesRealServersUse) {
  EXPECT_EQ(GetValue(*application, L"HWND"), Variant(cad.WindowHandle()));
  EXPECT_EQ(GetValue(*application, L"HWND").Kind(), VariantKind::Int64);
  EXPECT_EQ(GetObjectValue(*application, L"ActiveDocument"), document);

  ASSERT_EQ(Select({}), 4);
  EXPECT_EQ(GetValue(*selection, L"Count").Kind(), VariantKind::Int32);
  const Variant lightweight = GetValue(*Item(Variant(int32_t{0})), L"Coordinates");
  EXPECT_EQ(lightweight, Points({0, 0, 420, 0, 420, 297, 0, 297}));
  EXPECT_EQ(GetValue(*Item(Variant(int32_t{1})), L"Coordinates").AsArray().elements.size(), 12u);
  EXPECT_EQ(GetValue(*Item(Variant(int32_t{0})), L"Closed"), Variant(true));

  const std::array<Variant, 1> name{Variant(L"viewctr")};
  EXPECT_EQ(CallMethod(*document, L"GetVariable", name), Points({5, 6, 0}));
}

TEST_F(SimObjectsTest, LooksNamesUpInAnyCaseAndJournalsThemAsSent) {
  EXPECT_EQ(GetValue(*application, L"hwnd"), Variant(cad.WindowHandle()));
  EXPECT_EQ(CodeOf([&] { GetValue(*application, L"NoSuchMember"); }), hresult::UnknownName);
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"hwnd", L"NoSuchMember"}));
  EXPECT_EQ(sim::Describe(cad.Journal()[0]), L"Application.hwnd()");

  Select({Variant::ByRef(Int16s({8})), Variant::ByRef(Patterns({L"KESTRA"}))});
  EXPECT_EQ(sim::Describe(cad.Journal().back()), L"SelectionSet.Count()");
  EXPECT_EQ(sim::Describe(cad.Journal()[cad.Journal().size() - 2]),
            L"SelectionSet.Select(I4 5, Missing, Missing, &[I2 0..0: I2 8], &[Variant 0..0: \"KESTRA\"])");
}

TEST_F(SimObjectsTest, RefusesCallsARealServerRefuses) {
  EXPECT_EQ(CodeOf([&] { CallMethod(*selection, L"Count"); }), hresult::MemberNotFound);
  EXPECT_EQ(CodeOf([&] { selection->Invoke(L"Clear", CallKind::MethodOrGet, {}); }), hresult::MemberNotFound);
  EXPECT_EQ(CodeOf([&] { CallMethod(*selection, L"Item"); }), hresult::BadParamCount);
  const std::array<Variant, 2> tooMany{Variant(int32_t{0}), Variant(int32_t{1})};
  EXPECT_EQ(CodeOf([&] { CallMethod(*selection, L"Item", tooMany); }), hresult::BadParamCount);
  const std::array<Variant, 1> missingMode{Variant::Missing()};
  EXPECT_EQ(CodeOf([&] { CallMethod(*selection, L"Select", missingMode); }), hresult::ParamNotFound);
  const std::array<Variant, 1> unknownVariable{Variant(L"NOSUCHVAR")};
  EXPECT_EQ(CodeOf([&] { CallMethod(*document, L"GetVariable", unknownVariable); }), hresult::InvalidArg);

  Select({});
  const DispatchPtr line = Item(Variant(int32_t{2}));
  EXPECT_EQ(GetValue(*line, L"Layer"), Variant(L"KESTRA"));
  EXPECT_EQ(CodeOf([&] { GetValue(*line, L"Coordinates"); }), hresult::UnknownName);
}

TEST_F(SimObjectsTest, SelectWantsInt16TypesAndAsManyVariantPatterns) {
  const Variant types = Int16s({8, 0});
  const Variant data = Patterns({L"kestra", L"*POLYLINE"});
  EXPECT_EQ(CodeOf([&] { Select({Points({8, 0}, VariantKind::Int32), data}); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Select({types, Patterns({L"KESTRA"})}); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Select({types, Points({1, 2}, VariantKind::Double)}); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Select({types}); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Select({Variant(int16_t{8}), Variant(L"KESTRA")}); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Select({Int16s({62}), Patterns({L"1"})}); }), hresult::InvalidArg);
  const std::array<Variant, 1> windowMode{Variant(int32_t{0})};
  EXPECT_EQ(CodeOf([&] { CallMethod(*selection, L"Select", windowMode); }), hresult::InvalidArg);
  EXPECT_EQ(GetValue(*selection, L"Count"), Variant(int32_t{0}));

  // Both polylines on the layer, in any letter case; by value or by reference.
  EXPECT_EQ(Select({types, data}), 2);
  CallMethod(*selection, L"Clear");
  EXPECT_EQ(Select({Variant::ByRef(types), Variant::ByRef(data)}), 2);
  EXPECT_EQ(GetValue(*Item(Variant(int32_t{1})), L"Layer"), Variant(L"kestra"));
}

TEST_F(SimObjectsTest, SelectAddsToTheSetWithoutRepeatingAnEntity) {
  EXPECT_EQ(Select({Int16s({8}), Patterns({L"BORDER"})}), 1);
  EXPECT_EQ(Select({}), 4);
  EXPECT_EQ(GetValue(*Item(Variant(int32_t{0})), L"Layer"), Variant(L"BORDER"));
  CallMethod(*selection, L"Clear");
  EXPECT_EQ(GetValue(*selection, L"Count"), Variant(int32_t{0}));
}

TEST_F(SimObjectsTest, ItemTakesAnyNumericIndexWithinTheSet) {
  Select({});
  EXPECT_EQ(GetValue(*Item(Variant(int16_t{3})), L"Layer"), Variant(L"BORDER"));
  EXPECT_EQ(GetValue(*Item(Variant(int64_t{3})), L"Layer"), Variant(L"BORDER"));
  EXPECT_EQ(GetValue(*Item(Variant(3.0)), L"Layer"), Variant(L"BORDER"));
  EXPECT_EQ(GetValue(*Item(Variant::ByRef(Variant(int32_t{3}))), L"Layer"), Variant(L"BORDER"));
  EXPECT_EQ(CodeOf([&] { Item(Variant(int32_t{4})); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Item(Variant(int32_t{-1})); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Item(Variant(L"0")); }), hresult::TypeMismatch);
}

TEST_F(SimObjectsTest, ZoomWindowTakesPointsOfTwoOrThreeDoublesByValueOrReference) {
  Zoom(Points({0, 0}), Points({420, 297}));
  ExpectView(210, 148.5, 420, 297);
  Zoom(Variant::ByRef(Points({10, 20, 0})), Variant::ByRef(Points({30, 60, 0})));
  ExpectView(20, 40, 20, 40);

  EXPECT_EQ(CodeOf([&] { Zoom(Points({0, 0}, VariantKind::Variant), Points({1, 1})); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Zoom(Points({0}), Points({1, 1})); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Zoom(Points({0, 0, 0, 0}), Points({1, 1})); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Zoom(Variant(1.0), Points({1, 1})); }), hresult::InvalidArg);
  EXPECT_EQ(CodeOf([&] { Zoom(Points({5, 5}), Points({5, 5})); }), hresult::InvalidArg);
  ExpectView(20, 40, 20, 40);
}

TEST_F(SimObjectsTest, ZoomCommandTextMovesTheViewWhenEndedAndWrittenWithPoints) {
  Send(L"'ZOOM W 0.000,0.000 420.000,297.000\r");
  ExpectView(210, 148.5, 420, 297);
  Send(L"'_zoom _w -10.5,-20,0 10.5,20 ");
  ExpectView(0, 0, 21, 40);

  // Input waits at the prompt until it is ended.
  Send(L"'ZOOM W 0,0 100,");
  ExpectView(0, 0, 21, 40);
  Send(L"50\r");
  ExpectView(50, 25, 100, 50);

  // A decimal comma makes no point, and other commands do nothing.
  Send(L"'ZOOM W 0,000,0,000 420,000,297,000\r");
  Send(L"REGEN\r");
  Send(L"'ZOOM W 1.0.0,1 2,2\r");
  ExpectView(50, 25, 100, 50);
  EXPECT_EQ(cad.JournalMembers().size(), 7u);
}

TEST_F(SimObjectsTest, FailsTheNthCallOfAMemberOnce) {
  cad.FailOn(L"Count", 2, hresult::RetryLater);
  EXPECT_EQ(CodeOf([&] { GetValue(*selection, L"Count"); }), hresult::Ok);
  EXPECT_EQ(CodeOf([&] { GetValue(*selection, L"count"); }), hresult::RetryLater);
  EXPECT_EQ(CodeOf([&] { GetValue(*selection, L"Count"); }), hresult::Ok);
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"Count", L"count", L"Count"}));

  // A failed call changes nothing.
  cad.FailOn(L"ZoomWindow", 1, hresult::CallRejected);
  EXPECT_EQ(CodeOf([&] { Zoom(Points({0, 0}), Points({2, 2})); }), hresult::CallRejected);
  ExpectView(5, 6, 8, 7);

  cad.FailOn(L"HWND", 1, hresult::Fail);
  cad.ClearFaults();
  EXPECT_EQ(CodeOf([&] { GetValue(*application, L"HWND"); }), hresult::Ok);
  EXPECT_THROW(cad.FailOn(L"HWND", 0, hresult::Fail), std::invalid_argument);
}

TEST_F(SimObjectsTest, ReturnsAStringWhenToldToGiveTheWrongType) {
  cad.ReturnWrongType(L"ActiveDocument");
  EXPECT_EQ(GetValue(*application, L"ActiveDocument").Kind(), VariantKind::String);
  EXPECT_EQ(GetValue(*application, L"HWND").Kind(), VariantKind::Int64);
  cad.ClearFaults();
  EXPECT_EQ(GetValue(*application, L"ActiveDocument").Kind(), VariantKind::Object);
}

TEST_F(SimObjectsTest, ObjectsOutliveTheirDrawingAndTheirCadWithAnError) {
  Select({});
  const DispatchPtr entity = Item(Variant(int32_t{0}));
  cad.Load(sim::Drawing{});
  EXPECT_EQ(CodeOf([&] { GetValue(*selection, L"Count"); }), hresult::Fail);  // its drawing was closed
  EXPECT_EQ(CodeOf([&] { GetValue(*entity, L"Coordinates"); }), hresult::Fail);

  DispatchPtr orphan;
  {
    sim::SimCad closed;
    orphan = closed.Application();
  }
  EXPECT_NE(CodeOf([&] { GetValue(*orphan, L"HWND"); }), hresult::Ok);
}

TEST_F(SimObjectsTest, ObjectTableFindsClassesInAnyCaseAndOnlyRunningInstances) {
  EXPECT_TRUE(objects.IsActive(L"bricscadapp.acadapplication"));
  EXPECT_EQ(objects.GetActive(L"BRICSCADAPP.ACADAPPLICATION"), application);
  EXPECT_EQ(CodeOf([&] { objects.IsActive(L"Not.Registered"); }), hresult::InvalidClassString);
  EXPECT_EQ(CodeOf([&] { objects.GetActive(L"Not.Registered"); }), hresult::InvalidClassString);

  objects.Stop(kDefaultProgId);
  EXPECT_FALSE(objects.IsActive(kDefaultProgId));
  EXPECT_EQ(CodeOf([&] { objects.GetActive(kDefaultProgId); }), hresult::Unavailable);
}

TEST_F(SimObjectsTest, WindowOperationsAreJournalledAndIgnoreOtherWindows) {
  cad.SetMinimized(true);
  EXPECT_FALSE(windows.IsIconic(cad.WindowHandle() + 1));
  windows.OpenIcon(cad.WindowHandle() + 1);
  windows.SetForegroundWindow(cad.WindowHandle() + 1);
  EXPECT_TRUE(cad.Minimized());
  EXPECT_FALSE(cad.Foreground());

  EXPECT_TRUE(windows.IsIconic(cad.WindowHandle()));
  windows.OpenIcon(cad.WindowHandle());
  windows.SetForegroundWindow(cad.WindowHandle());
  EXPECT_FALSE(cad.Minimized());
  EXPECT_TRUE(cad.Foreground());
  EXPECT_EQ(cad.Journal().back().object, L"Window");
  EXPECT_EQ(cad.Journal().back().arguments, (std::vector<Variant>{Variant(cad.WindowHandle())}));
  EXPECT_EQ(cad.JournalMembers().size(), 6u);
}
