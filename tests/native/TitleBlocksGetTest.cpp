// Get with sheet names: the calls of the block, dynamic and title passes,
// the tag index remembered per block, and the failure rules of each pass.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "cad/StopReason.h"
#include "common/Unicode.h"

namespace {

using Members = std::vector<std::wstring>;

sim::Entity Reference(const wchar_t* block, double x, std::vector<std::pair<const wchar_t*, const wchar_t*>> texts) {
  sim::Entity reference = sim::BlockReference(block, L"0", {x, 0, 1, 1, 0});
  for (const auto& [tag, text] : texts) reference.attributes.push_back(sim::Attribute{tag, {text, x, 0, 5}});
  return reference;
}

// Four A3 frame blocks in a row, the third with its attributes the other
// way round, the fourth a dynamic reference; a door's dynamic reference
// above them.
sim::Drawing TitledFrames() {
  sim::Drawing drawing;
  drawing.blocks = {sim::Block{L"図枠A3", 0, 0, {sim::Rectangle(L"0", 0, 0, 420, 297)}},
                    sim::Block{L"*U1", 0, 0, {sim::Rectangle(L"0", 0, 0, 420, 297)}, L"図枠A3"},
                    sim::Block{L"*U2", 0, 0, {sim::Rectangle(L"0", 0, 0, 9, 20)}, L"DOOR"}};
  drawing.entities = {Reference(L"図枠A3", 1500, {{L"図番", L"A-10"}, {L"図名", L"立面図"}}),
                      Reference(L"図枠A3", 0, {{L"図番", L"A-2"}, {L"図名", L"平面図"}}),
                      Reference(L"図枠A3", 500, {{L"図名", L"断面図"}, {L"図番", L"A-1"}}),
                      Reference(L"*U1", 1000, {{L"図番", L"A-3"}, {L"図名", L"詳細図"}}),
                      sim::BlockReference(L"*U2", L"0", {0, 1000, 1, 1, 0})};
  drawing.view = {210, 150, 100, 100};
  return drawing;
}

// Sheets framed by polylines, each with a separate title block inside, one
// on no frame.
sim::Drawing TitleBlocksInPolylineFrames() {
  sim::Drawing drawing;
  drawing.blocks = {sim::Block{L"表題欄", 0, 0, {sim::Rectangle(L"0", 0, 0, 100, 30)}}};
  drawing.entities = {sim::Rectangle(L"KESTRA", 0, 0, 420, 297), sim::Rectangle(L"KESTRA", 500, 0, 920, 297),
                      Reference(L"表題欄", 800, {{L"DWG-NO", L"S-2"}}),
                      Reference(L"表題欄", 300, {{L"DWG-NO", L"S-1"}}),
                      Reference(L"表題欄", 3000, {{L"DWG-NO", L"S-9"}})};
  drawing.view = {-1000, -1000, 10, 10};
  return drawing;
}

Members Append(Members members, const Members& more) {
  members.insert(members.end(), more.begin(), more.end());
  return members;
}

const Members kStart{L"HWND",  L"IsIconic", L"ActiveDocument", L"FullName", L"ActiveSelectionSet",
                     L"Clear", L"Select",   L"Count"};

class TitleBlocksGetTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    cad.Load(TitledFrames());
    view.blocks = L"図枠*";
    view.tags = {L"図番", L"図名"};
  }

  std::vector<std::wstring> Lefts() const {
    std::vector<std::wstring> lefts;
    for (const TsvWaku& w : Pages.WakuList()) lefts.push_back(std::to_wstring(static_cast<int>(w.minx)));
    return lefts;
  }
};

TEST_F(TitleBlocksGetTest, AttributesAreReadInTheBlockPassLoopAndTheTagIndexIsRememberedAndRechecked) {
  Get();
  const Members firstOfItsBlock{L"Item",       L"GetBoundingBox", L"GetAttributes", L"TagString",
                                L"TextString", L"TagString",      L"TextString"};
  const Members remembered = firstOfItsBlock;  // one TagString per tag, at the index found before
  // The other order: the remembered index fails, the tags are read once each.
  const Members reordered{L"Item",      L"GetBoundingBox", L"GetAttributes", L"TagString",
                          L"TagString", L"TextString",     L"TextString"};
  Members expected = Append(kStart, {L"Clear", L"Select", L"Count"});
  expected = Append(Append(Append(expected, firstOfItsBlock), remembered), reordered);
  expected = Append(expected, {L"Clear", L"Clear", L"Select", L"Count", L"Item", L"EffectiveName"});
  expected = Append(expected, {L"GetBoundingBox", L"GetAttributes", L"TagString", L"TextString", L"TagString",
                               L"TextString", L"Item", L"EffectiveName", L"Clear", L"GetVariable"});
  const Members members = cad.JournalMembers();
  ASSERT_GE(members.size(), expected.size());
  EXPECT_EQ(Members(members.begin(), members.begin() + static_cast<long>(expected.size())), expected);

  EXPECT_EQ(Lefts(), (std::vector<std::wstring>{L"0", L"500", L"1000", L"1500"}));
  EXPECT_EQ(Pages.Names(), (std::vector<PageName>{
                               {L"A-2", L"平面図"}, {L"A-1", L"断面図"}, {L"A-3", L"詳細図"}, {L"A-10", L"立面図"}}));
  EXPECT_EQ(view.Status(), L"1 / 4");
}

TEST_F(TitleBlocksGetTest, NameOrderRenumbersThePages) {
  view.byName = true;
  Get();
  EXPECT_EQ(Lefts(), (std::vector<std::wstring>{L"500", L"0", L"1000", L"1500"}));
  EXPECT_EQ(Pages.Names().front(), (PageName{L"A-1", L"断面図"}));
  EXPECT_EQ(view.Status(), L"2 / 4") << "the view stays on A-2, now the second page";
}

TEST_F(TitleBlocksGetTest, WithoutNamesNoAttributeIsReadAndWithoutPatternsNoPassIsAdded) {
  view.tags.clear();
  Get();
  const Members withoutNames = cad.JournalMembers();
  for (const wchar_t* member : {L"GetAttributes", L"TagString", L"TextString"})
    EXPECT_EQ(std::count(withoutNames.begin(), withoutNames.end(), member), 0) << ToUtf8(member);
  EXPECT_EQ(Pages.Names(), std::vector<PageName>(4));

  // Names alone, without a block or title pattern, asks what Get asks without it.
  view.blocks.clear();
  cad.ClearJournal();
  Get();
  const Members plain = cad.JournalMembers();
  view.tags = {L"図番"};
  cad.ClearJournal();
  Get();
  EXPECT_EQ(cad.JournalMembers(), plain);
  EXPECT_EQ(plain, kStart);
}

TEST_F(TitleBlocksGetTest, AnEffectiveNameThatCannotBeReadSkipsThatReferenceOnly) {
  cad.FailOn(L"EffectiveName", 1, hresult::UnknownName);
  Get();
  EXPECT_EQ(Lefts(), (std::vector<std::wstring>{L"0", L"500", L"1500"}));
  EXPECT_EQ(view.Status(), L"1 / 3");
  EXPECT_EQ(cad.JournalMembers().back(), L"ZoomWindow");
}

// An empty block's reference has no bounding box; a reference whose
// attributes cannot be read is left out whole. A busy CAD still ends Get.
TEST_F(TitleBlocksGetTest, AReferenceThatCannotBeReadSkipsItselfAndTheReasonCountsIt) {
  sim::Drawing drawing = TitledFrames();
  drawing.blocks.push_back(sim::Block{L"図枠空", 0, 0, {}});
  drawing.entities.push_back(Reference(L"図枠空", 3000, {{L"図番", L"X-1"}}));
  cad.Load(drawing);
  cad.FailOn(L"GetAttributes", 1, hresult::Fail);       // the reference at 1500
  cad.FailOn(L"TextString", 3, hresult::TypeMismatch);  // the one at 500
  Get();
  EXPECT_EQ(Lefts(), (std::vector<std::wstring>{L"0", L"1000"}));
  EXPECT_EQ(Pages.Names(), (std::vector<PageName>{{L"A-2", L"平面図"}, {L"A-3", L"詳細図"}}));
  EXPECT_EQ(view.Status(), L"1 / 2");
  EXPECT_EQ(StopReason(), L"3 個の参照を読めませんでした");

  cad.ClearFaults();
  cad.FailOn(L"GetBoundingBox", 1, hresult::CallRejected);
  Get();
  EXPECT_EQ(Pages.WakuList().size(), 2u) << "a rejected call is no odd reference: Get keeps the last pages";
  EXPECT_TRUE(StopReason().starts_with(L"GetBoundingBox が失敗しました")) << ToUtf8(StopReason());
}

TEST_F(TitleBlocksGetTest, AFailureInTheDynamicOrTitlePassKeepsTheLastListNamesAndStatus) {
  Get();
  const TWakuList pages = Pages.WakuList();
  const std::vector<PageName> names = Pages.Names();
  const std::wstring status = view.Status();
  // The dynamic pass's Clear, Select, Count, Item, box, attributes, tag, text, last Clear.
  for (const auto& [member, nthCall] : std::vector<std::pair<const wchar_t*, int>>{{L"Clear", 3},
                                                                                   {L"Select", 3},
                                                                                   {L"Count", 3},
                                                                                   {L"Item", 4},
                                                                                   {L"GetBoundingBox", 4},
                                                                                   {L"GetAttributes", 4},
                                                                                   {L"TagString", 7},
                                                                                   {L"TextString", 7},
                                                                                   {L"Clear", 4}}) {
    SCOPED_TRACE(ToUtf8(member) + " " + std::to_string(nthCall));
    cad.ClearFaults();
    cad.FailOn(member, nthCall, hresult::CallRejected);
    view.statuses.clear();
    Get();
    EXPECT_TRUE(view.statuses.empty());
    EXPECT_EQ(Pages.WakuList().size(), pages.size());
    EXPECT_EQ(Pages.Names(), names);
  }
  cad.ClearFaults();
  EXPECT_EQ(view.Status(), L"");

  cad.Load(TitleBlocksInPolylineFrames());
  view.blocks.clear();
  view.titles = L"表題欄";
  view.tags = {L"dwg-no"};
  // The title pass's Select, GetAttributes and TextString.
  for (const auto& [member, nthCall] :
       std::vector<std::pair<const wchar_t*, int>>{{L"Select", 3}, {L"GetAttributes", 2}, {L"TextString", 3}}) {
    SCOPED_TRACE(ToUtf8(member) + " " + std::to_string(nthCall));
    cad.ClearFaults();
    cad.FailOn(member, nthCall, hresult::CallRejected);
    Get();
    EXPECT_EQ(Pages.WakuList().size(), pages.size());
    EXPECT_EQ(Pages.Names(), names);
  }
}

TEST_F(TitleBlocksGetTest, TitleBlocksOfTheirOwnAreReadInATitlePassAfterTheFramePasses) {
  cad.Load(TitleBlocksInPolylineFrames());
  view.blocks.clear();
  view.titles = L"表題欄";
  view.tags = {L"dwg-no"};
  Get();
  Members expected = Append(kStart, {L"Count", L"Count"});
  for (int i = 0; i < 2; ++i) expected = Append(expected, {L"Item", L"Coordinates", L"Closed"});
  expected = Append(expected, {L"Clear", L"Clear", L"Select", L"Count", L"Clear", L"Clear", L"Select", L"Count"});
  expected = Append(expected, {L"Item", L"GetBoundingBox", L"GetAttributes", L"TagString", L"TextString"});
  for (int i = 0; i < 2; ++i)
    expected = Append(expected, {L"Item", L"GetBoundingBox", L"GetAttributes", L"TagString", L"TextString"});
  expected = Append(expected, {L"Clear", L"GetVariable"});
  EXPECT_EQ(cad.JournalMembers(), expected);

  std::vector<std::wstring> selects;
  for (const sim::JournalEntry& entry : cad.Journal())
    if (entry.member == L"Select") selects.push_back(sim::Describe(entry));
  ASSERT_EQ(selects.size(), 3u);
  EXPECT_NE(selects[1].find(L"\"`*U*\""), std::wstring::npos) << ToUtf8(selects[1]);
  EXPECT_NE(selects[2].find(L"\"INSERT\", \"表題欄\""), std::wstring::npos) << ToUtf8(selects[2]);
  EXPECT_EQ(Pages.Names(), (std::vector<PageName>{{L"S-1"}, {L"S-2"}}));
  EXPECT_EQ(view.Status(), L"2");
}

}  // namespace
