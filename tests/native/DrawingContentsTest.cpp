// What the settings dialog reads of the drawing (layers, block definitions,
// attribute tags) through the simulated CAD and its DXF reader, and the
// trial of 試す, which finds pages without keeping or showing them.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "SimFixture.h"
#include "cad/StopReason.h"
#include "pages/DrawingContents.h"
#include "pages/PageTrial.h"
#include "pages/Pages.h"
#include "sim/Dxf.h"

namespace {

using Names = std::vector<std::wstring>;

class DrawingContentsTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    TargetAppName = kDefaultAppName;
    cad.Load(sim::ReadDxfFile(PAGE_TEST_DATA "/settings-frames.dxf"));
  }
  void TearDown() override {
    TargetAppName.clear();
    SimCadTest::TearDown();
  }

  DispatchPtr Document() {
    const ActiveDrawing drawing = AttachActiveDrawing(objects);
    EXPECT_EQ(drawing.reason, L"");
    cad.ClearJournal();
    return drawing.document;
  }

  long Calls(const std::wstring& member) const {
    const Names members = cad.JournalMembers();
    return std::count(members.begin(), members.end(), member);
  }
};

TEST_F(DrawingContentsTest, LayersComeInTheTablesOrderAtTwoCallsEach) {
  const DispatchPtr document = Document();
  EXPECT_EQ(ReadLayerNames(*document), (Names{L"0", L"図枠", L"寸法", L"文字", L"通り芯"}));
  EXPECT_EQ(cad.JournalMembers().size(), 2u + 2u * 5u);
}

// The file's two layouts, an external reference and an anonymous block
// are not offered; a definition with or without attributes is.
TEST_F(DrawingContentsTest, BlocksLeaveOutLayoutsExternalReferencesAndAnonymousBlocks) {
  const DispatchPtr document = Document();
  EXPECT_EQ(ReadBlockNames(*document), (Names{L"図枠A3", L"方位記号"}));
  // Names beginning with '*' are not asked IsLayout and IsXRef.
  EXPECT_EQ(Calls(L"IsLayout"), 3);
  EXPECT_EQ(Calls(L"IsXRef"), 3);
}

TEST_F(DrawingContentsTest, ADrawingWithoutLayoutBlocksStillListsOnlyItsOwn) {
  sim::Drawing drawing;
  drawing.blocks = {sim::Block{L"FRAME", 0, 0, {}}};
  drawing.entities = {sim::Rectangle(L"KESTRA", 0, 0, 1, 1)};
  cad.Load(drawing);
  const DispatchPtr document = Document();
  EXPECT_EQ(ReadBlockNames(*document), (Names{L"FRAME"}));
  EXPECT_EQ(ReadLayerNames(*document), (Names{L"0", L"KESTRA"}));
}

TEST_F(DrawingContentsTest, TagsAreTheAttributeDefinitionsOfTheBlockInItsOrder) {
  const DispatchPtr document = Document();
  EXPECT_EQ(ReadAttributeTags(*document, L"図枠A3"), (Names{L"図番", L"図名", L"日付"}));
  // Two per entity (Item, ObjectName) and one per tag, after Blocks, Item
  // and Count.
  EXPECT_EQ(cad.JournalMembers().size(), 3u + 2u * 5u + 3u);
  EXPECT_EQ(ReadAttributeTags(*document, L"方位記号"), Names{});
}

TEST_F(DrawingContentsTest, WithoutACadOrADrawingTheReasonIsGiven) {
  objects.Stop(TargetProgId);
  EXPECT_EQ(AttachActiveDrawing(objects).reason, L"BricsCAD が起動していません");
  TargetProgId = L"No.Such.ProgId";
  EXPECT_EQ(AttachActiveDrawing(objects).reason,
            L"BricsCAD が見つかりません (ProgID No.Such.ProgId は登録されていません)");
}

TEST_F(DrawingContentsTest, AFailingCallIsReportedAsTheFailureOfItsMember) {
  const DispatchPtr document = Document();
  cad.FailOn(L"Name", 2, hresult::CallRejected);
  try {
    ReadLayerNames(*document);
    FAIL() << "the rejected Name went unnoticed";
  } catch (const AutomationError& error) {
    EXPECT_EQ(CallFailureText(error).find(L"Name が失敗しました: "), 0u) << CallFailureText(error);
  }
}

// A Count no drawing can hold is refused before the first Item.
TEST_F(DrawingContentsTest, ACountOutsideItsRangeIsRefused) {
  const DispatchPtr document = Document();
  cad.ReturnValue(L"Count", Variant(std::numeric_limits<int32_t>::max()));
  EXPECT_THROW(ReadBlockNames(*document), AutomationError);
  EXPECT_EQ(Calls(L"Item"), 0);
}

class PageTrialTest : public DrawingContentsTest {
 protected:
  PageTrial Try() {
    return TryPages(values, objects, [this] { return clock.time += clock.step; });
  }
  RecordingView values;
};

// Get's own pages and reason, the view of the CAD and the pages kept
// per drawing are what they were before the trial.
TEST_F(PageTrialTest, TheTrialFindsTheNamedPagesAndLeavesThePagerAndTheCadAsTheyWere) {
  Get();
  ASSERT_EQ(StopReason(), L"画層 KESTRA に枠が見つかりません");
  const sim::View viewBefore = cad.CurrentView();

  values.layer = L"KESTRA";
  values.blocks = L"図枠A3";
  values.tags = {L"図番", L"図名"};
  values.upperLeft = true;
  clock.step = std::chrono::milliseconds(300);
  const PageTrial trial = Try();

  EXPECT_EQ(trial.pages, 4);
  EXPECT_EQ(trial.reason, L"");
  ASSERT_EQ(trial.firstNames.size(), 3u);
  EXPECT_EQ(trial.firstNames[0], (PageName{L"A-101", L"1階平面図"}));
  EXPECT_EQ(trial.firstNames[2], (PageName{L"A-201", L"立面図"}));
  EXPECT_FALSE(values.statuses.empty()) << "no progress was shown";
  EXPECT_TRUE(Pages.WakuList().empty());
  EXPECT_TRUE(Pages.Names().empty());
  EXPECT_FALSE(Pages.HasKept());
  EXPECT_EQ(Pages.CurrentIdentity(), std::nullopt);
  EXPECT_EQ(StopReason(), L"画層 KESTRA に枠が見つかりません");
  EXPECT_EQ(cad.CurrentView().centreX, viewBefore.centreX);
  const Names members = cad.JournalMembers();
  EXPECT_EQ(std::count(members.begin(), members.end(), L"ZoomWindow"), 0);
  EXPECT_EQ(std::count(members.begin(), members.end(), L"SendCommand"), 0);
}

TEST_F(PageTrialTest, TheTrialAfterAGetKeepsItsPages) {
  view.blocks = L"図枠A3";
  Get();
  ASSERT_EQ(Pages.WakuList().size(), 4u);
  const TWakuList pages = Pages.WakuList();
  values.layer = L"図枠";
  const PageTrial trial = Try();
  EXPECT_EQ(trial.pages, 0);
  EXPECT_EQ(trial.reason, L"画層 図枠 に枠が見つかりません");
  ASSERT_EQ(Pages.WakuList().size(), pages.size());
  EXPECT_EQ(Pages.WakuList()[1].minx, pages[1].minx);
}

TEST_F(PageTrialTest, AFailureOfTheCadBecomesTheReason) {
  cad.FailOn(L"Select", 1, hresult::RetryLater);
  const PageTrial trial = Try();
  EXPECT_EQ(trial.pages, 0);
  EXPECT_NE(trial.reason.find(L"Select が失敗しました"), std::wstring::npos) << trial.reason;
  objects.Stop(TargetProgId);
  EXPECT_EQ(Try().reason, L"BricsCAD が起動していません");
}

}  // namespace
