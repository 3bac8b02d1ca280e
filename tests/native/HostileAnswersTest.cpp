// Answers of a CAD that can grow without bound: counts, attributes, texts
// and the error texts made of them are bounded.
#include <gtest/gtest.h>

#include <limits>

#include "SimFixture.h"
#include "cad/StopReason.h"
#include "common/Unicode.h"
#include "uilogic/PageListText.h"
#include "uilogic/PageNameText.h"

namespace {

sim::Drawing OneTitledSheet(std::vector<sim::Attribute> attributes) {
  sim::Drawing drawing;
  drawing.blocks = {sim::Block{L"図枠", 0, 0, {sim::Rectangle(L"0", 0, 0, 420, 297)}}};
  drawing.entities = {sim::BlockReference(L"図枠", L"0")};
  drawing.entities[0].attributes = std::move(attributes);
  drawing.view = {210, 148, 100, 100};
  return drawing;
}

class HostileAnswersTest : public SimCadTest {
 protected:
  void SetUp() override {
    SimCadTest::SetUp();
    view.blocks = L"図枠";
    view.tags = {L"NO", L"TITLE"};
  }
};

TEST_F(HostileAnswersTest, CountsOutsideTheirRangeAreRefused) {
  cad.Load(OneTitledSheet({}));
  Get();
  ASSERT_EQ(Pages.WakuList().size(), 1u);
  for (const int32_t count : {std::numeric_limits<int32_t>::min(), int32_t{-1}, int32_t{10'000'001}}) {
    SCOPED_TRACE(count);
    cad.ClearFaults();
    cad.ReturnValue(L"Count", Variant(count));
    Get();
    EXPECT_EQ(Pages.WakuList().size(), 1u) << "the last pages stay";
    EXPECT_TRUE(StopReason().starts_with(L"Count が失敗しました")) << ToUtf8(StopReason());
  }
}

TEST_F(HostileAnswersTest, OnlyTheFirst256AttributesAndTheFirst1000CharactersOfANameAreRead) {
  std::vector<sim::Attribute> attributes;
  for (int i = 0; i < 300; ++i) attributes.push_back(sim::Attribute{L"X" + std::to_wstring(i), {L"x", 0, 0, 1}});
  attributes[255] = sim::Attribute{L"NO", {std::wstring(5000, L'7'), 0, 0, 1}};
  attributes[256] = sim::Attribute{L"TITLE", {L"beyond", 0, 0, 1}};
  cad.Load(OneTitledSheet(attributes));
  Get();
  ASSERT_EQ(Pages.Names().size(), 1u);
  ASSERT_EQ(Pages.Names()[0].size(), 2u);
  EXPECT_EQ(Pages.Names()[0][0].size(), 1000u);
  EXPECT_EQ(Pages.Names()[0][1], L"") << "TITLE is the 257th attribute";
  size_t tagsRead = 0;
  for (const sim::JournalEntry& entry : cad.Journal()) tagsRead += entry.member == L"TagString";
  EXPECT_EQ(tagsRead, 256u) << "each of the first 256 tags read once";
}

TEST(HostileTextTest, ANulInANameIsShownAndCopiedAsASpace) {
  const PageName name{std::wstring(L"A\0-1", 4), std::wstring(L"平面\0図", 4)};
  EXPECT_EQ(NameLabel(name), L"A -1  平面 図");
  const TWakuList pages{TsvWaku{0, 0, 1, 1, false, 0, true}};
  EXPECT_EQ(PageListText(pages, {name}, {L"NO", L"TITLE"}),
            L"ページ\tNO\tTITLE\t左\t下\t右\t上\r\n1\tA -1\t平面 図\t0\t0\t1\t1\r\n");
}

TEST(HostileTextTest, AnErrorTextIsBuiltOnlyUpToItsLongest) {
  const Variant huge(std::wstring(1'000'000, L'x'));
  try {
    (void)huge.AsArray();
    FAIL() << "a string is no array";
  } catch (const AutomationError& error) {
    EXPECT_LE(error.Text().size(), kLongestErrorText);
    EXPECT_LE(std::string(error.what()).size(), 3 * kLongestErrorText + 40);
  }
}

}  // namespace
