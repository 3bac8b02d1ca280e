#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "cad/TargetCad.h"
#include "common/FileError.h"
#include "common/Unicode.h"
#include "settings/ProgramFiles.h"
#include "settings/Settings.h"
#include "settings/SheetNameSettings.h"

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

// Monitors side by side or stacked: the rectangle a window overlaps most,
// else the one whose nearest edge is closest, as the platform chooses.
class FakeMonitors : public MonitorLayout {
 public:
  explicit FakeMonitors(std::vector<ScreenRect> monitors) : FMonitors(std::move(monitors)) {}
  ScreenRect Primary() const override { return FMonitors.front(); }
  ScreenRect NearestTo(const ScreenRect& window) const override {
    return *std::min_element(FMonitors.begin(), FMonitors.end(), [&window](const ScreenRect& a, const ScreenRect& b) {
      return Closeness(a, window) < Closeness(b, window);
    });
  }

 private:
  // Less is closer: minus the overlapping area, or the gap when apart.
  static long long Closeness(const ScreenRect& monitor, const ScreenRect& window) {
    const long long width = std::min(monitor.right, window.right) - std::max(monitor.left, window.left);
    const long long height = std::min(monitor.bottom, window.bottom) - std::max(monitor.top, window.top);
    if (width > 0 && height > 0) return -width * height;
    return std::max(0LL, -width) + std::max(0LL, -height);
  }
  std::vector<ScreenRect> FMonitors;
};

const FakeMonitors kScreen({{0, 0, 1920, 1080}});

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

TEST_F(SettingsTest, PositionIsClampedOntoTheNearestMonitorAndTheDefaultCentredOnThePrimary) {
  // A second monitor right of the primary, lower by 200, and a third above.
  const FakeMonitors monitors({{0, 0, 1920, 1080}, {1920, 200, 3200, 1224}, {0, -900, 1600, 0}});
  const auto load = [&](std::wstring left, std::wstring top) {
    profile.values = {{{L"Form", L"Left"}, std::move(left)}, {{L"Form", L"Top"}, std::move(top)}};
    FakeWindow window(155, 123);
    LoadSettings(profile, window, monitors);
    return window.origin;
  };
  EXPECT_EQ(load(L"2500", L"600"), (WindowOrigin{2500, 600})) << "on the second monitor it stays";
  EXPECT_EQ(load(L"2500", L"100"), (WindowOrigin{2500, 200})) << "above the second monitor's top";
  EXPECT_EQ(load(L"9000", L"5000"), (WindowOrigin{3200 - 155, 1224 - 123})) << "a monitor that is gone";
  EXPECT_EQ(load(L"100", L"-500"), (WindowOrigin{100, -500})) << "on the monitor above";
  EXPECT_EQ(load(L"1800", L"1000"), (WindowOrigin{1920 - 155, 1080 - 123})) << "mostly on the primary";
  EXPECT_EQ(load(L"abc", L""), (WindowOrigin{882, 478}));
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

TEST_F(SettingsTest, SheetNameKeysAreReadTrimmedAndABadOrderIsAProblem) {
  const SheetNameSettings none = LoadSheetNameSettings(profile);
  EXPECT_TRUE(none.tags.empty());
  EXPECT_EQ(none.titleBlocks, L"");
  EXPECT_FALSE(none.orderByName);
  EXPECT_EQ(none.problem, L"");

  profile.values = {{{L"Waku", L"Names"}, L"図番, Dwg-No ,,title,"},
                    {{L"Waku", L"TitleBlocks"}, L"表題欄"},
                    {{L"Waku", L"Order"}, L"names"}};
  const SheetNameSettings set = LoadSheetNameSettings(profile);
  EXPECT_EQ(set.tags, (std::vector<std::wstring>{L"図番", L"Dwg-No", L"title"}));
  EXPECT_EQ(set.titleBlocks, L"表題欄");
  EXPECT_TRUE(set.orderByName);
  EXPECT_EQ(set.problem, L"");

  profile.values = {{{L"Waku", L"Order"}, L"Name"}};
  const SheetNameSettings bad = LoadSheetNameSettings(profile);
  EXPECT_FALSE(bad.orderByName);
  EXPECT_NE(bad.problem.find(L"'Name'"), std::wstring::npos) << "the problem quotes the value: " << ToUtf8(bad.problem);
  profile.writes.clear();
  FakeWindow window(155, 123);
  SaveSettings(profile, window);
  for (const wchar_t* key : {L"Names", L"TitleBlocks", L"Order"})
    EXPECT_EQ(std::count(profile.writes.begin(), profile.writes.end(), Key{L"Waku", key}), 0) << ToUtf8(key);
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

TEST(PagerInstanceName, OneNamePerProgramFolderInAnyLetterCase) {
  const std::wstring name = PagerInstanceName(L"C:\\Tools\\PAGE\\page.exe");
  EXPECT_TRUE(name.starts_with(L"Local\\PAGE-"));
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
  EXPECT_EQ(PagerInstanceName(L"c:\\tools\\page\\Page2.EXE"), name);
  EXPECT_NE(PagerInstanceName(L"C:\\Tools\\PAGE2\\page.exe"), name);
  EXPECT_EQ(PagerInstanceName(L"C:\\Pläne\\Übersicht\\page.exe"), PagerInstanceName(L"c:\\PLÄNE\\übersicht\\page.exe"))
      << "letter case beyond ASCII, as Windows compares file names";
}
