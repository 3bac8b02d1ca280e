#include <gtest/gtest.h>

#include <map>

#include "common/Unicode.h"
#include "hotkeys/HotKeySettings.h"
#include "hotkeys/KeyCombination.h"

namespace {

using namespace key_modifier;

KeyCombination Parsed(const std::wstring& text) {
  const auto parsed = ParseKeyCombination(text);
  if (const auto* reason = std::get_if<std::wstring>(&parsed)) {
    ADD_FAILURE() << ToUtf8(text) << " was refused: " << ToUtf8(*reason);
    return {};
  }
  return std::get<KeyCombination>(parsed);
}

std::wstring Refusal(const std::wstring& text) {
  const auto parsed = ParseKeyCombination(text);
  const auto* reason = std::get_if<std::wstring>(&parsed);
  EXPECT_NE(reason, nullptr) << ToUtf8(text) << " was taken for a combination";
  return reason ? *reason : std::wstring();
}

TEST(KeyCombinationTest, EveryModifierInAnyOrderAndAnyCase) {
  EXPECT_EQ(Parsed(L"Ctrl+Alt+PageDown"), (KeyCombination{Ctrl | Alt, 0x22}));
  EXPECT_EQ(Parsed(L"shift+WIN+a"), (KeyCombination{Shift | Win, 'A'}));
  EXPECT_EQ(Parsed(L"Win+Shift+Alt+Ctrl+Z"), (KeyCombination{Ctrl | Alt | Shift | Win, 'Z'}));
  EXPECT_EQ(Parsed(L" Ctrl + Pause "), (KeyCombination{Ctrl, 0x13}));
  EXPECT_EQ(Parsed(L"F9"), (KeyCombination{0, 0x78})) << "a key alone is a combination too";
}

TEST(KeyCombinationTest, EveryKeyNameHasItsVirtualKeyCode) {
  const std::map<std::wstring, uint32_t> named{
      {L"PageUp", 0x21}, {L"pagedown", 0x22}, {L"End", 0x23},    {L"HOME", 0x24},   {L"Left", 0x25},  {L"Up", 0x26},
      {L"Right", 0x27},  {L"Down", 0x28},     {L"Insert", 0x2D}, {L"Delete", 0x2E}, {L"Space", 0x20}, {L"Pause", 0x13},
      {L"0", 0x30},      {L"9", 0x39},        {L"a", 0x41},      {L"M", 0x4D},      {L"z", 0x5A},     {L"F1", 0x70},
      {L"f12", 0x7B},    {L"F24", 0x87},      {L"Num0", 0x60},   {L"num5", 0x65},   {L"NUM9", 0x69},
  };
  for (const auto& [name, code] : named) EXPECT_EQ(Parsed(L"Alt+" + name), (KeyCombination{Alt, code})) << ToUtf8(name);
}

TEST(KeyCombinationTest, JunkDuplicatesAndGapsAreRefusedWithTheirReason) {
  EXPECT_EQ(Refusal(L"Ctrl+Alt+PgDn"), L"'PgDn' はキーの名前ではありません");
  EXPECT_EQ(Refusal(L"Ctrl+Ctrl+A"), L"'Ctrl' が二度あります");
  EXPECT_EQ(Refusal(L"ctrl+Alt+CTRL+A"), L"'CTRL' が二度あります");
  EXPECT_EQ(Refusal(L"Ctrl+Alt"), L"修飾キーのあとにキーがありません");
  EXPECT_EQ(Refusal(L"A+B"), L"キー 'A' のあとには何も続けられません");
  EXPECT_EQ(Refusal(L"PageDown+Ctrl"), L"キー 'PageDown' のあとには何も続けられません");
  for (const wchar_t* gap : {L"", L"Ctrl+", L"+A", L"Ctrl++A", L"Ctrl+ +A"})
    EXPECT_EQ(Refusal(gap), L"キーの名前が抜けています") << ToUtf8(gap);
  for (const wchar_t* junk :
       {L"F0", L"F25", L"F01", L"Num10", L"Num", L"AB", L"Ä", L"Control+A", L"Ctrl-A", L"Ctrl+1+"})
    EXPECT_FALSE(Refusal(junk).empty()) << ToUtf8(junk);
}

class KeysProfile : public Profile {
 public:
  std::map<std::wstring, std::wstring> keys;

  const std::wstring& Path() const override { return FPath; }
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) override {
    EXPECT_EQ(section, L"Keys");
    const auto found = keys.find(key);
    return found == keys.end() ? defaultValue : found->second;
  }
  bool WriteString(const std::wstring&, const std::wstring&, const std::wstring&) override {
    ADD_FAILURE() << "the hot keys are never written";
    return false;
  }

 private:
  std::wstring FPath = L"page.ini";
};

TEST(HotKeySettingsTest, NoKeysSectionAsksForNoHotKey) {
  KeysProfile profile;
  HotKeySettings settings = LoadHotKeySettings(profile);
  EXPECT_TRUE(settings.bindings.empty());
  EXPECT_TRUE(settings.problems.empty());

  profile.keys = {{L"Next", L""}, {L"Previous", L""}, {L"Get", L""}};
  settings = LoadHotKeySettings(profile);
  EXPECT_TRUE(settings.bindings.empty());
  EXPECT_TRUE(settings.problems.empty());
}

TEST(HotKeySettingsTest, EachCommandGetsItsCombinationAndBadOnesBecomeProblems) {
  KeysProfile profile;
  profile.keys = {{L"Next", L"Ctrl+Alt+PageDown"}, {L"Previous", L"Ctrl+Alt+PgUp"}, {L"Get", L"Ctrl+Alt+Home"}};
  const HotKeySettings settings = LoadHotKeySettings(profile);
  ASSERT_EQ(settings.bindings.size(), 2u);
  EXPECT_EQ(settings.bindings[0].command, PagerCommand::Next);
  EXPECT_EQ(settings.bindings[0].keys, (KeyCombination{Ctrl | Alt, 0x22}));
  EXPECT_EQ(settings.bindings[0].text, L"Ctrl+Alt+PageDown");
  EXPECT_EQ(settings.bindings[1].command, PagerCommand::Get);
  EXPECT_EQ(settings.bindings[1].keys, (KeyCombination{Ctrl | Alt, 0x24}));
  EXPECT_EQ(settings.problems, std::vector<std::wstring>{
                                   L"ホットキー 'Ctrl+Alt+PgUp' を登録できません。'PgUp' はキーの名前ではありません"});
}

TEST(HotKeySettingsTest, ASecondKeyWithTheSameCombinationIsAProblem) {
  KeysProfile profile;
  profile.keys = {{L"Next", L"Alt+N"}, {L"Previous", L"alt + n"}};
  const HotKeySettings settings = LoadHotKeySettings(profile);
  ASSERT_EQ(settings.bindings.size(), 1u);
  EXPECT_EQ(settings.bindings[0].command, PagerCommand::Next);
  EXPECT_EQ(settings.problems,
            std::vector<std::wstring>{L"ホットキー 'alt + n' を登録できません。Next と同じ組み合わせです"});
}

}  // namespace
