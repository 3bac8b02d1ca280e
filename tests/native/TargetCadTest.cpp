#include <gtest/gtest.h>

#include <clocale>
#include <limits>

#include "SimFixture.h"
#include "cad/TargetCad.h"
#include "common/Unicode.h"

namespace {

ZoomRect Frame(double minx, double miny, double maxx, double maxy) { return {minx, miny, maxx, maxy}; }

class ZoomTest : public SimCadTest {
 protected:
  void Zoom(const std::wstring& progId, const ZoomRect& waku) {
    TargetProgId = progId;
    const DispatchPtr application = cad.Application();
    const DispatchPtr document = GetObjectValue(*application, L"ActiveDocument");
    cad.ClearJournal();
    ZoomToWaku(*application, *document, waku, windows);
  }

  std::vector<sim::JournalEntry> Calls(const std::wstring& member) const {
    std::vector<sim::JournalEntry> calls;
    for (const auto& entry : cad.Journal())
      if (entry.member == member) calls.push_back(entry);
    return calls;
  }
};

}  // namespace

TEST(ZoomCommandText, HasThreeDecimalsAndACarriageReturn) {
  EXPECT_EQ(ZoomCommandText(Frame(0, 0, 420, 297)), L"'ZOOM W 0.000,0.000 420.000,297.000\r");
  EXPECT_EQ(ZoomCommandText(Frame(-250002, -771.25, -249582.0004, 1068.2506)),
            L"'ZOOM W -250002.000,-771.250 -249582.000,1068.251\r");
}

TEST(ZoomCommandText, WritesEveryDigitOfLargeValues) {
  EXPECT_EQ(ZoomCommandText(Frame(-2, 10, 1e60, 1e20)),
            L"'ZOOM W -2.000,10.000 "
            L"999999999999999949387135297074018866963645011013410073083904.000,100000000000000000000.000\r");
  const std::wstring extreme = ZoomCommandText(Frame(-1.7976931348623157e308, 0, 1.7976931348623157e308, 1));
  EXPECT_EQ(extreme.size(), std::wstring(L"'ZOOM W -,0.000 ,1.000\r").size() + 2 * 313);
}

TEST(ZoomCommandText, UsesAPointWhateverTheLocale) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  const bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
  const std::wstring text = ZoomCommandText(Frame(1.5, 2.25, 3.125, 4));
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(text, L"'ZOOM W 1.500,2.250 3.125,4.000\r");
  if (!switched) GTEST_SKIP() << "no comma-decimal locale installed; checked in the C locale only";
}

TEST(FrameFilter, PairsLayerAndPolylineTypeInZeroBasedArrays) {
  const Variant typeFilter = FrameFilterType();
  const VariantArray& type = typeFilter.AsArray();
  EXPECT_EQ(type.elementKind, VariantKind::Int16);
  EXPECT_EQ(type.lowerBound, 0);
  EXPECT_EQ(type.UpperBound(), 1);
  EXPECT_EQ(type.elements[0], Variant(int16_t{8}));
  EXPECT_EQ(type.elements[1], Variant(int16_t{0}));

  const Variant dataFilter = FrameFilterData(L"枠 layer");
  const VariantArray& data = dataFilter.AsArray();
  EXPECT_EQ(data.elementKind, VariantKind::Variant);
  EXPECT_EQ(data.lowerBound, 0);
  EXPECT_EQ(data.UpperBound(), 1);
  EXPECT_EQ(data.elements[0], Variant(L"枠 layer"));
  EXPECT_EQ(data.elements[1], Variant(L"*POLYLINE"));
}

TEST_F(ZoomTest, BricscadZoomsWithOneZoomWindow) {
  Zoom(kDefaultProgId, Frame(0, 0, 420, 297));
  EXPECT_EQ(cad.JournalMembers(),
            (std::vector<std::wstring>{L"HWND", L"IsIconic", L"SetForegroundWindow", L"ZoomWindow"}));
  const auto zoom = Calls(L"ZoomWindow");
  ASSERT_EQ(zoom.size(), 1u);
  EXPECT_EQ(zoom[0].arguments.at(0).Deref(), Variant::ArrayOf(VariantKind::Double, 0, {0.0, 0.0}));
  EXPECT_EQ(zoom[0].arguments.at(1).Deref(), Variant::ArrayOf(VariantKind::Double, 0, {420.0, 297.0}));
  EXPECT_TRUE(zoom[0].arguments[0].IsByRef());
  EXPECT_DOUBLE_EQ(cad.CurrentView().centreX, 210);
  EXPECT_DOUBLE_EQ(cad.CurrentView().centreY, 148.5);
  EXPECT_TRUE(cad.Foreground());
}

TEST_F(ZoomTest, ProgIdsBeginningWithAutocadInAnyCaseZoomByCommandTextOnly) {
  for (const wchar_t* progId : {L"AutoCAD.Application", L"autocad.application.24", L"AUTOCAD.Application.25.1"}) {
    Zoom(progId, Frame(-10, -20.5, 30, 40));
    EXPECT_TRUE(Calls(L"ZoomWindow").empty()) << ToUtf8(progId);
    const auto send = Calls(L"SendCommand");
    ASSERT_EQ(send.size(), 1u) << ToUtf8(progId);
    EXPECT_EQ(send[0].object, L"Document");
    EXPECT_EQ(send[0].arguments.at(0), Variant(L"'ZOOM W -10.000,-20.500 30.000,40.000\r"));
    EXPECT_DOUBLE_EQ(cad.CurrentView().centreX, 10);
    EXPECT_DOUBLE_EQ(cad.CurrentView().centreY, 9.75);
  }
}

TEST_F(ZoomTest, ProgIdsContainingGcadZoomTwiceWithTheSameCorners) {
  Zoom(L"Gcad.Application", Frame(1, 2, 3, 4));
  const auto zoom = Calls(L"ZoomWindow");
  ASSERT_EQ(zoom.size(), 2u);
  EXPECT_EQ(zoom[0].arguments, zoom[1].arguments);
  EXPECT_TRUE(Calls(L"SendCommand").empty());
}

TEST_F(ZoomTest, AutocadAndGcadTogetherGiveCommandTextAndOneZoomWindow) {
  Zoom(L"AutoCAD.gcad.Application", Frame(1, 2, 3, 4));
  EXPECT_EQ(Calls(L"SendCommand").size(), 1u);
  EXPECT_EQ(Calls(L"ZoomWindow").size(), 1u);
  EXPECT_EQ(cad.JournalMembers().back(), L"ZoomWindow");  // after the command text
}

TEST_F(ZoomTest, AutocadLaterInTheNameIsNotSpecial) {
  Zoom(L"Vendor.AutoCAD.Application", Frame(1, 2, 3, 4));
  EXPECT_EQ(Calls(L"ZoomWindow").size(), 1u);
  EXPECT_TRUE(Calls(L"SendCommand").empty());
}

TEST_F(ZoomTest, AWindowThatIsNotFiniteOrHasNoAreaFailsWithoutCallingTheCad) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  for (const ZoomRect& area : {Frame(nan, nan, nan, nan), Frame(-2, 10, infinity, infinity), Frame(0, 0, 0, 297),
                               Frame(0, 5, 420, 5), Frame(420, 0, 0, 297), Frame(nan, 0, 420, 297)}) {
    for (const wchar_t* progId : {kDefaultProgId, L"AutoCAD.Application", L"Gcad.Application"}) {
      EXPECT_EQ(CodeOf([&] { Zoom(progId, area); }), hresult::InvalidArg)
          << ToUtf8(progId) << " " << area.minx << "," << area.miny << " " << area.maxx << "," << area.maxy;
      EXPECT_TRUE(cad.Journal().empty()) << ToUtf8(progId);
    }
  }
}

TEST_F(ZoomTest, AMinimizedWindowIsRestoredThenRaised) {
  cad.SetMinimized(true);
  Zoom(kDefaultProgId, Frame(1, 2, 3, 4));
  EXPECT_EQ(cad.JournalMembers(),
            (std::vector<std::wstring>{L"HWND", L"IsIconic", L"OpenIcon", L"SetForegroundWindow", L"ZoomWindow"}));
  EXPECT_FALSE(cad.Minimized());
  const auto raise = Calls(L"SetForegroundWindow");
  ASSERT_EQ(raise.size(), 1u);
  EXPECT_EQ(raise[0].arguments.at(0), Variant(cad.WindowHandle()));
}

TEST_F(ZoomTest, RestoreOnlyOpensAMinimizedWindow) {
  const DispatchPtr application = cad.Application();
  RestoreTargetWindow(*application, windows);
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"HWND", L"IsIconic"}));
  cad.SetMinimized(true);
  cad.ClearJournal();
  RestoreTargetWindow(*application, windows);
  EXPECT_EQ(cad.JournalMembers(), (std::vector<std::wstring>{L"HWND", L"IsIconic", L"OpenIcon"}));
  EXPECT_FALSE(cad.Foreground());
}

TEST_F(SimCadTest, RunningCheckAndAttachFollowTheTargetProgId) {
  EXPECT_TRUE(IsTargetRunning(objects));
  EXPECT_EQ(AttachTarget(objects), cad.Application());

  objects.RegisterClass(L"Other.Application");
  TargetProgId = L"Other.Application";
  EXPECT_FALSE(IsTargetRunning(objects));
  EXPECT_THROW(AttachTarget(objects), AutomationError);

  TargetProgId = L"Not.Registered";
  EXPECT_THROW(IsTargetRunning(objects), AutomationError);
}
