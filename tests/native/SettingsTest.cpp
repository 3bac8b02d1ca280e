#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "cad/TargetCad.h"
#include "common/FileError.h"
#include "settings/ProgramFiles.h"
#include "settings/Settings.h"

namespace {

using Key = std::pair<std::wstring, std::wstring>;

// An INI file in memory, as the profile functions present it.
class MemoryProfile : public Profile {
 public:
  std::map<Key, std::wstring> values;
  std::vector<Key> writes;
  std::optional<Key> unwritableKey;

  const std::wstring& Path() const override { return FPath; }

  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) override {
    const auto found = values.find({section, key});
    return found == values.end() ? defaultValue : found->second;
  }

  bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override {
    if (unwritableKey == Key{section, key}) return false;
    writes.emplace_back(section, key);
    values[{section, key}] = value;
    return true;
  }

 private:
  std::wstring FPath = L"C:\\Tools\\page.ini";
};

class FakeWindow : public SettingsWindow {
 public:
  FakeWindow(int width, int height) : FWidth(width), FHeight(height) {}

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  WindowOrigin Origin() const override { return origin; }
  void MoveTo(WindowOrigin to) override { origin = to; }
  std::wstring LayerText() const override { return layer; }
  void SetLayerText(const std::wstring& text) override { layer = text; }
  void SetBlockPattern(const std::wstring& pattern) override { blocks = pattern; }

  WindowOrigin origin{12345, 12345};
  std::wstring layer = L"unset";
  std::wstring blocks = L"unset";

 private:
  int FWidth;
  int FHeight;
};

constexpr ScreenSize kScreen{1920, 1080};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TargetProgId = kDefaultProgId;
    TargetAppName = kDefaultAppName;
  }
  void TearDown() override {
    TargetProgId.clear();
    TargetAppName.clear();
  }

  WindowOrigin LoadWith(std::map<Key, std::wstring> values, int width = 155, int height = 123) {
    profile.values = std::move(values);
    FakeWindow window(width, height);
    LoadSettings(profile, window, kScreen);
    layer = window.layer;
    return window.origin;
  }

  MemoryProfile profile;
  std::wstring layer;
};

TEST_F(SettingsTest, NoFileCentresTheWindowAndUsesTheBuiltInValues) {
  // (1920 - 155) / 2 = 882.5 and (1080 - 123) / 2 = 478.5, truncated.
  EXPECT_EQ(LoadWith({}), (WindowOrigin{882, 478}));
  EXPECT_EQ(layer, L"KESTRA");
  EXPECT_EQ(TargetProgId, L"BricscadApp.AcadApplication");
  EXPECT_EQ(TargetAppName, L"BricsCAD");
}

TEST_F(SettingsTest, MalformedPositionFallsBackToTheCentre) {
  EXPECT_EQ(LoadWith({{{L"Form", L"Left"}, L"abc"}, {{L"Form", L"Top"}, L""}}), (WindowOrigin{882, 478}));
}

TEST_F(SettingsTest, PositionIsClampedOntoTheScreen) {
  EXPECT_EQ(LoadWith({{{L"Form", L"Left"}, L"-50"}, {{L"Form", L"Top"}, L"-1"}}), (WindowOrigin{0, 0}));
  EXPECT_EQ(LoadWith({{{L"Form", L"Left"}, L"5000"}, {{L"Form", L"Top"}, L"$7FFFFFFF"}}),
            (WindowOrigin{1920 - 155, 1080 - 123}));
  EXPECT_EQ(LoadWith({{{L"Form", L"Left"}, L"100"}, {{L"Form", L"Top"}, L"200"}}), (WindowOrigin{100, 200}));
}

TEST_F(SettingsTest, WindowLargerThanTheScreenKeepsItsFarEdgeOnTheScreenEdge) {
  EXPECT_EQ(LoadWith({{{L"Form", L"Left"}, L"10"}, {{L"Form", L"Top"}, L"-10"}}, 2000, 1200),
            (WindowOrigin{-80, -120}));
  // The centred default is negative too and ends the same way.
  EXPECT_EQ(LoadWith({}, 2001, 1201), (WindowOrigin{-81, -121}));
}

TEST_F(SettingsTest, TextValuesAreTakenAsTheyReadEvenWhenEmpty) {
  LoadWith(
      {{{L"Waku", L"Layer"}, L""}, {{L"Target", L"ProgId"}, L"ZWCAD.ZcadApplication"}, {{L"Target", L"AppName"}, L""}});
  EXPECT_EQ(layer, L"");
  EXPECT_EQ(TargetProgId, L"ZWCAD.ZcadApplication");
  EXPECT_EQ(TargetAppName, L"");
}

TEST_F(SettingsTest, TextValuesAreCutTo2047Characters) {
  LoadWith({{{L"Waku", L"Layer"}, std::wstring(3000, L'W')}, {{L"Target", L"ProgId"}, std::wstring(2047, L'P')}});
  EXPECT_EQ(layer, std::wstring(2047, L'W'));
  EXPECT_EQ(TargetProgId, std::wstring(2047, L'P'));
}

TEST_F(SettingsTest, SaveWritesAllFiveKeysInOrderAsPlainText) {
  FakeWindow window(155, 123);
  window.origin = {-201, 0x10};
  window.layer = L"枠 レイヤ";
  TargetProgId = L"GCAD.Application";
  TargetAppName = L"GstarCAD";
  SaveSettings(profile, window);
  EXPECT_EQ(profile.writes, (std::vector<Key>{{L"Form", L"Left"},
                                              {L"Form", L"Top"},
                                              {L"Waku", L"Layer"},
                                              {L"Target", L"ProgId"},
                                              {L"Target", L"AppName"}}));
  EXPECT_EQ(profile.values, (std::map<Key, std::wstring>{{{L"Form", L"Left"}, L"-201"},
                                                         {{L"Form", L"Top"}, L"16"},
                                                         {{L"Waku", L"Layer"}, L"枠 レイヤ"},
                                                         {{L"Target", L"ProgId"}, L"GCAD.Application"},
                                                         {{L"Target", L"AppName"}, L"GstarCAD"}}));
}

TEST_F(SettingsTest, TheBlockPatternIsReadButNeverWritten) {
  FakeWindow window(155, 123);
  LoadSettings(profile, window, kScreen);
  EXPECT_EQ(window.blocks, L"") << "no key: off";

  profile.values = {{{L"Waku", L"Blocks"}, L"図枠*,FRAME-A#"}};
  LoadSettings(profile, window, kScreen);
  EXPECT_EQ(window.blocks, L"図枠*,FRAME-A#");
  SaveSettings(profile, window);
  EXPECT_EQ(std::count(profile.writes.begin(), profile.writes.end(), Key{L"Waku", L"Blocks"}), 0);
  EXPECT_EQ(profile.values.at({L"Waku", L"Blocks"}), L"図枠*,FRAME-A#");
}

TEST_F(SettingsTest, SaveThenLoadRestoresTheState) {
  FakeWindow saved(155, 123);
  saved.origin = {300, 40};
  saved.layer = L"FRAME";
  SaveSettings(profile, saved);
  TargetProgId.clear();
  FakeWindow loaded(155, 123);
  LoadSettings(profile, loaded, kScreen);
  EXPECT_EQ(loaded.origin, saved.origin);
  EXPECT_EQ(loaded.layer, L"FRAME");
  EXPECT_EQ(TargetProgId, kDefaultProgId);
}

TEST_F(SettingsTest, AWriteFailureStopsTheRemainingWritesWithThePath) {
  profile.unwritableKey = Key{L"Waku", L"Layer"};
  FakeWindow window(155, 123);
  try {
    SaveSettings(profile, window);
    FAIL() << "SaveSettings reported success";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Text(), L"C:\\Tools\\page.ini に書き込めません");
  }
  EXPECT_EQ(profile.writes, (std::vector<Key>{{L"Form", L"Left"}, {L"Form", L"Top"}}));
}

TEST(SettingsFilePath, ReplacesOnlyTheFileNamesExtension) {
  EXPECT_EQ(SettingsFilePath(L"C:\\Tools\\page.exe"), L"C:\\Tools\\page.ini");
  EXPECT_EQ(SettingsFilePath(L"C:\\Tools\\page.v2.exe"), L"C:\\Tools\\page.v2.ini");
  EXPECT_EQ(SettingsFilePath(L"C:\\My.Tools\\page"), L"C:\\My.Tools\\page.ini");
  EXPECT_EQ(SettingsFilePath(L"/opt/page/page.exe"), L"/opt/page/page.ini");
}

}  // namespace
