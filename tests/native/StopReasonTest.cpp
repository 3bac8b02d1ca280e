// Why a command ended without showing a page: each reason's text, exactly,
// and a page shown clearing it.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "cad/StopReason.h"
#include "common/Unicode.h"

namespace {

using sim::Rectangle;

sim::Drawing TwoSheets() {
  sim::Drawing drawing;
  drawing.entities.push_back(Rectangle(L"KESTRA", 0, 0, 420, 297));
  drawing.entities.push_back(Rectangle(L"KESTRA", 500, 0, 920, 297));
  drawing.view = {210, 148, 100, 100};
  return drawing;
}

class StopReasonTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    TargetAppName = kDefaultAppName;
    cad.Load(TwoSheets());
    SetStopReasonListener([this](const std::wstring& reason) { heard.push_back(reason); });
  }
  void TearDown() override {
    SetStopReasonListener({});
    ClearStopReason();
    TargetAppName.clear();
    SimCadTest::TearDown();
  }

  std::vector<std::wstring> heard;
};

}  // namespace

TEST_F(StopReasonTest, ACadThatDoesNotRunOrHasNoDrawing) {
  Get();
  objects.Stop(TargetProgId);
  Next();
  EXPECT_EQ(StopReason(), L"BricsCAD が起動していません");
  ClearStopReason();
  Get();
  EXPECT_EQ(StopReason(), L"BricsCAD が起動していません");

  objects.Run(TargetProgId, cad);
  cad.ReturnWrongType(L"ActiveDocument");  // no document object
  Next();
  EXPECT_EQ(StopReason(), L"BricsCAD に開いている図面がありません");
}

// Only a CAD that answers without a document has no drawing open.
TEST_F(StopReasonTest, AFailingActiveDocumentNamesItsCause) {
  Get();
  const std::vector<std::pair<HResult, std::wstring>> causes{
      {hresult::CallRejected, L"ActiveDocument が失敗しました: simulated failure of ActiveDocument (0x80010001)"},
      {static_cast<HResult>(0x80010108), L"BricsCAD が起動していません"},             // RPC_E_DISCONNECTED
      {static_cast<HResult>(0x800706BA), L"BricsCAD が起動していません"},             // RPC_S_SERVER_UNAVAILABLE
      {static_cast<HResult>(0x80010002), L"BricsCAD が応答しません — 中止しました"},  // RPC_E_CALL_CANCELED
      {hresult::Fail, L"BricsCAD に開いている図面がありません"}};
  for (const auto& [code, reason] : causes) {
    cad.FailOn(L"ActiveDocument", 1, code);
    Get();
    EXPECT_EQ(StopReason(), reason);
    cad.FailOn(L"ActiveDocument", 1, code);
    Next();
    EXPECT_EQ(StopReason(), reason);
  }
}

TEST_F(StopReasonTest, GetThatFindsNoPageSaysWhy) {
  view.layer = L"EMPTY";
  Get();
  EXPECT_EQ(StopReason(), L"画層 EMPTY に枠が見つかりません");
  view.blocks = L"図枠*";
  Get();
  EXPECT_EQ(StopReason(), L"画層 EMPTY にも枠ブロック 図枠* にも枠が見つかりません");

  view.layer = L"KESTRA";
  view.blocks.clear();
  sim::Drawing open;
  open.entities.push_back(Rectangle(L"KESTRA", 0, 0, 420, 297));
  open.entities.back().closed = false;
  cad.Load(open);
  Get();
  EXPECT_EQ(view.Status(), L"0");
  EXPECT_EQ(StopReason(), L"画層 KESTRA の図形はどれも枠 (閉じた四角形) ではありません");

  cad.Load(TwoSheets());
  cad.SetViewCentre(-1000, 0);
  Get();
  EXPECT_EQ(view.Status(), L"2");
  EXPECT_EQ(StopReason(), L"表示の中心はどのページにもありません");
}

TEST_F(StopReasonTest, AStepWithoutPagesAsksForGet) {
  Next();
  EXPECT_EQ(StopReason(), L"ページがありません — 取得 を押してください");
  EXPECT_TRUE(cad.Journal().empty());
  GoToPageCommand(view, {objects, windows}, 0);
  EXPECT_EQ(StopReason(), L"ページがありません — 取得 を押してください");
}

TEST_F(StopReasonTest, AFailedCallNamesTheMemberAndAPageShownClearsIt) {
  cad.FailOn(L"Select", 1, hresult::CallRejected);
  Get();
  EXPECT_EQ(StopReason(), L"Select が失敗しました: simulated failure of Select (0x80010001)");
  Get();
  EXPECT_EQ(StopReason(), L"");
  cad.ReturnWrongType(L"GetVariable");  // a result of the wrong type is told as its member's failure
  Next();
  EXPECT_TRUE(StopReason().starts_with(L"GetVariable が失敗しました: 型が一致しません")) << ToUtf8(StopReason());
  EXPECT_EQ(StopReason().substr(StopReason().size() - 12), L"(0x80020005)");
  cad.ClearFaults();
  Next();
  EXPECT_EQ(StopReason(), L"");
  EXPECT_EQ(heard.back(), L"");
  EXPECT_GE(heard.size(), 4u);
}

TEST_F(StopReasonTest, TheFirstReasonOfACommandOutlivesItsGuardsFailure) {
  BeginStopReasons();
  ReportStopReason(L"BricsCAD が応答しません — 中止しました");
  ReportCallFailure(AutomationError(hresult::CallRejected, L"rejected"));
  EXPECT_EQ(StopReason(), L"BricsCAD が応答しません — 中止しました");
  BeginStopReasons();
  ReportCallFailure(std::runtime_error("out of memory"));
  EXPECT_EQ(StopReason(), L"out of memory (0x80004005)");
}

TEST(CallFailureText, CutsTheErrorsTextAt200Characters) {
  const std::wstring text = CallFailureText(L"Coordinates", static_cast<HResult>(0x8001010A), std::wstring(300, L'x'));
  EXPECT_EQ(text, L"Coordinates が失敗しました: " + std::wstring(200, L'x') + L" (0x8001010A)");
}
