// The settings dialog's rules: the Blocks pattern made of checked names and
// a typed pattern, the Names made of the checked tags in their order, the
// keys its OK changes, the trial's text and the hot-key fields' problems.
#include <gtest/gtest.h>

#include "uilogic/SettingsUnit.h"

namespace {

using Names = std::vector<std::wstring>;

TEST(SettingsUnitTest, CheckedNamesAreEscapedAndJoinedWithTheTypedPatternEachOnce) {
  EXPECT_EQ(BlockPatternOf(Names{L"FRAME#1", L"A,B", L"図枠*", L"x`y.z"}, L""), L"FRAME`#1,A`,B,図枠`*,x``y`.z");
  EXPECT_EQ(BlockPatternOf(Names{L"FRAME"}, L" TB*, frame ,,図枠?"), L"FRAME,TB*,図枠?");
  EXPECT_EQ(BlockPatternOf(Names{}, L""), L"");
  // The escaped names match themselves alone, as the CAD reads them.
  EXPECT_EQ(BlockPatternOf(Names{L"[A]"}, L"A`,B"), L"`[A`],A`,B");
}

TEST(SettingsUnitTest, APatternOpensWithItsListedNamesCheckedAndTheRestTyped) {
  const Names listed{L"FRAME#1", L"A,B", L"表題欄", L"図枠A3"};
  const PatternChoice choice = SplitBlockPattern(L"frame`#1,図枠*, A`,B ,表題欄,OTHER", listed);
  EXPECT_EQ(choice.checked, (Names{L"FRAME#1", L"A,B", L"表題欄"}));
  EXPECT_EQ(choice.typed, L"図枠*,OTHER");
  EXPECT_EQ(BlockPatternOf(choice.checked, choice.typed), L"FRAME`#1,A`,B,表題欄,図枠*,OTHER");
}

TEST(SettingsUnitTest, TagChoicesKeepNamesFirstAndTheUsersOrder) {
  std::vector<TagChoice> choices{{L"図名", true}, {L"図番", true}};
  AddTagChoices(choices, Names{L"図番", L"日付", L"図名", L"尺度"});
  AddTagChoices(choices, Names{L"日付", L"改訂"});
  ASSERT_EQ(choices.size(), 5u);
  EXPECT_EQ(choices[2].tag, L"日付");
  EXPECT_FALSE(choices[2].checked);
  EXPECT_EQ(choices[4].tag, L"改訂");
  EXPECT_TRUE(MoveTagChoice(choices, 1, -1));
  EXPECT_FALSE(MoveTagChoice(choices, 0, -1));
  EXPECT_FALSE(MoveTagChoice(choices, 4, +1));
  choices[3].checked = true;
  EXPECT_EQ(NamesOf(CheckedTags(choices)), L"図番,図名,尺度");
  EXPECT_EQ(NamesOf(Names{L" A ", L"a", L"", L"B"}), L"A,B");
}

TEST(SettingsUnitTest, OnlyTheChangedKeysAreWrittenAnEmptiedOneRemoved) {
  SettingsValues before;
  before.layer = L"KESTRA";
  before.tags = {L"図番", L"図名"};
  before.hotKeys = {L"ctrl+alt+pagedown", L"", L"F9"};
  SettingsValues after = before;
  after.hotKeys[0] = L"Ctrl+Alt+PageDown";
  EXPECT_TRUE(SettingsChanges(before, after).empty()) << "a combination written otherwise is no change";

  after.layer = L"図枠";
  after.blocks = L"図枠A3";
  after.tags = {L"図名"};
  after.orderByName = true;
  after.hotKeys[2] = L"";
  const std::vector<ProfileChange> changes = SettingsChanges(before, after);
  ASSERT_EQ(changes.size(), 5u);
  const auto expect = [&](size_t i, const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    EXPECT_EQ(changes[i].section + L"/" + changes[i].key + L"=" + changes[i].value,
              std::wstring(section) + L"/" + key + L"=" + value);
  };
  expect(0, L"Waku", L"Layer", L"図枠");
  expect(1, L"Waku", L"Blocks", L"図枠A3");
  expect(2, L"Waku", L"Names", L"図名");
  expect(3, L"Waku", L"Order", L"Names");
  expect(4, L"Keys", L"Get", L"");
}

TEST(SettingsUnitTest, TheTrialShowsTheCountAndTheFirstNamesOrTheReason) {
  PageTrial trial;
  trial.pages = 24;
  trial.firstNames = {{L"A-101", L"1階平面図"}, {L"A-102", L""}, {L"", L""}};
  EXPECT_EQ(TrialText(trial), L"24 ページ — 1 A-101  1階平面図, 2 A-102 …");
  trial.pages = 2;
  trial.firstNames = {{}, {}};
  EXPECT_EQ(TrialText(trial), L"2 ページ");
  trial.pages = 0;
  trial.reason = L"画層 KESTRA に枠が見つかりません";
  EXPECT_EQ(TrialText(trial), trial.reason);
}

TEST(SettingsUnitTest, AHotKeyHeldByAnotherProgramIsReportedButThePagersOwnAreFree) {
  const KeyCombination ctrlAltDown{key_modifier::Ctrl | key_modifier::Alt, 0x22};
  const KeyCombination held{key_modifier::Ctrl, 'Q'};
  const auto tryRegister = [&](const KeyCombination& keys) { return !(keys == held) && !(keys == ctrlAltDown); };
  EXPECT_EQ(HotKeyFieldProblem(held, {}, {}, tryRegister), L"ほかのプログラムが使っています");
  const std::vector<KeyCombination> own{ctrlAltDown};
  EXPECT_EQ(HotKeyFieldProblem(ctrlAltDown, {}, own, tryRegister), L"");
  EXPECT_EQ(HotKeyFieldProblem(ctrlAltDown, own, {}, tryRegister), L"ほかの欄と同じ組み合わせです");
  EXPECT_EQ(HotKeyFieldProblem(KeyCombination{key_modifier::Ctrl, 0xBA}, {}, {}, tryRegister), L"このキーは使えません");
}

TEST(SettingsUnitTest, ACombinationsTextReadsBackAsTheSameCombination) {
  for (const wchar_t* text : {L"Ctrl+Alt+PageDown", L"Shift+Win+F24", L"Alt+Num0", L"Ctrl+Z", L"Ctrl+Shift+7"}) {
    const auto parsed = ParseKeyCombination(text);
    ASSERT_TRUE(std::holds_alternative<KeyCombination>(parsed)) << text;
    EXPECT_EQ(KeyCombinationText(std::get<KeyCombination>(parsed)), std::wstring(text));
  }
}

}  // namespace
