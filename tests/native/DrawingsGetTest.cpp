// Get through the simulated CAD on every drawing of tests/data/drawings: the
// project's multi-sheet drawings against their expected results, the public
// ones against what is known of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "common/Unicode.h"
#include "settings/SheetNameSettings.h"
#include "sim/Dxf.h"
#include "uilogic/PageListText.h"
#include "uilogic/PageNameText.h"

namespace fs = std::filesystem;

namespace {

using Bounds = std::array<double, 4>;  // minx, miny, maxx, maxy

constexpr double kTolerance = 1e-9;

const fs::path kDrawings = fs::path(PAGE_TEST_DATA) / "drawings";

std::vector<fs::path> SheetDrawings() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kDrawings)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("sheets-") && entry.path().extension() == ".dxf") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The drawings of a folder of the set and ours whose names start so, sorted.
std::vector<fs::path> OwnAndSetDrawings(const fs::path& setFolder, const std::string& prefix) {
  std::vector<fs::path> files;
  for (const fs::path& folder : {setFolder, fs::path(PAGE_TEST_DATA)})
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.path().filename().string().starts_with(prefix) && entry.path().extension() == ".dxf")
        files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

Bounds BoundsOf(const TsvWaku& waku) { return {waku.minx, waku.miny, waku.maxx, waku.maxy}; }

void ExpectBounds(const Bounds& actual, const Bounds& expected, double tolerance, const std::string& what) {
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << what << ", bound " << i;
}

// The [Waku] lines of a variant's page.ini, as the profile functions read them.
class IniLines : public Profile {
 public:
  explicit IniLines(const nlohmann::json& lines) {
    for (const auto& line : lines) {
      const std::wstring text = FromUtf8Lenient(line.get<std::string>());
      if (const size_t equals = text.find(L'='); equals != std::wstring::npos)
        FValues[text.substr(0, equals)] = text.substr(equals + 1);
    }
  }
  const std::wstring& Path() const override { return FPath; }
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) override {
    const auto found = FValues.find(key);
    return section == L"Waku" && found != FValues.end() ? found->second : defaultValue;
  }
  bool WriteString(const std::wstring&, const std::wstring&, const std::wstring&) override { return false; }

 private:
  std::map<std::wstring, std::wstring> FValues;
  std::wstring FPath = L"page.ini";
};

std::vector<std::wstring> Fields(const std::wstring& row) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (size_t tab = row.find(L'\t'); tab != std::wstring::npos; tab = row.find(L'\t', start = tab + 1))
    fields.push_back(row.substr(start, tab - start));
  fields.push_back(row.substr(start));
  return fields;
}

class DrawingsGetTest : public SimCadTest {
 protected:
  // Loads the drawing afresh, so that its initial view is the one Get sees.
  void GetOn(const fs::path& file, const std::wstring& layer, bool upperLeft) {
    cad.Load(sim::ReadDxfFile(file.string()));
    Pages.Clear();
    view.statuses.clear();
    view.layer = layer;
    view.upperLeft = upperLeft;
    Get();
  }

  // The frame the view now shows, from its centre and size.
  Bounds Shown() const {
    const sim::View shown = cad.CurrentView();
    return {shown.centreX - shown.width / 2, shown.centreY - shown.height / 2, shown.centreX + shown.width / 2,
            shown.centreY + shown.height / 2};
  }

  void ExpectLikeItsJson(const nlohmann::json& expected, const std::string& setting) {
    SCOPED_TRACE(setting);
    const int count = expected.at("count_before_dedup").get<int>();
    const size_t pages = expected.at("pages").get<size_t>();
    if (count == 0 && Pages.WakuList().empty() && view.statuses.empty()) return;  // nothing selected: the status keeps
    ASSERT_FALSE(view.statuses.empty());
    EXPECT_EQ(view.statuses.front(), std::to_wstring(count));
    ASSERT_EQ(Pages.WakuList().size(), pages);
    const auto& order = expected.at("order");
    ASSERT_EQ(order.size(), pages);
    for (size_t i = 0; i < pages; ++i)
      ExpectBounds(BoundsOf(Pages.WakuList()[i]), order[i].get<Bounds>(), kTolerance, "page " + std::to_string(i + 1));

    const auto& under = expected.at("page_under_view");
    if (under.is_null()) {
      EXPECT_EQ(view.Status(), std::to_wstring(count));
    } else {
      const int page = under.get<int>();
      EXPECT_EQ(view.Status(), std::to_wstring(page) + L" / " + std::to_wstring(pages));
      ExpectBounds(Shown(), order.at(static_cast<size_t>(page - 1)).get<Bounds>(), kTolerance, "zoomed view");
    }
  }
};

}  // namespace

TEST_F(DrawingsGetTest, SheetDrawingsGiveTheirExpectedPagesInBothOrders) {
  const std::vector<fs::path> files = SheetDrawings();
  ASSERT_FALSE(files.empty()) << "no sheets-*.dxf in " << kDrawings;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    fs::path jsonFile = file;
    jsonFile.replace_extension(".json");
    std::ifstream jsonStream(jsonFile);
    ASSERT_TRUE(jsonStream) << "no expected result " << jsonFile;
    const nlohmann::json expected = nlohmann::json::parse(jsonStream);
    const std::wstring layer = FromUtf8Lenient(expected.at("layer").get<std::string>());

    GetOn(file, layer, false);
    ExpectLikeItsJson(expected.at("expect").at("lowerLeft"), "lower left first");
    GetOn(file, layer, true);
    ExpectLikeItsJson(expected.at("expect").at("upperLeft"), "upper left first");
  }
}

// The block-framed drawings of the set and ours, each with and without its
// block pattern.
TEST_F(DrawingsGetTest, BlockFramedDrawingsGiveTheirExpectedPagesWithAndWithoutThePattern) {
  const std::vector<fs::path> files = OwnAndSetDrawings(kDrawings / "blocks", "blocks-");
  ASSERT_GE(files.size(), 4u);
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    fs::path jsonFile = file;
    std::ifstream jsonStream(jsonFile.replace_extension(".json"));
    ASSERT_TRUE(jsonStream) << "no expected result " << jsonFile;
    const nlohmann::json expected = nlohmann::json::parse(jsonStream);
    const std::wstring layer = FromUtf8Lenient(expected.at("layer").get<std::string>());
    for (const auto& [key, pattern] : {std::pair{"expect", FromUtf8Lenient(expected.at("blocks").get<std::string>())},
                                       std::pair{"expect_without_blocks", std::wstring()}}) {
      view.blocks = pattern;
      GetOn(file, layer, false);
      ExpectLikeItsJson(expected.at(key).at("lowerLeft"), std::string(key) + ", lower left first");
      GetOn(file, layer, true);
      ExpectLikeItsJson(expected.at(key).at("upperLeft"), std::string(key) + ", upper left first");
    }
  }
}

// Each drawing of titles/ and ours in every variant its .json gives, in
// both orders: pages, names and the copied page list.
TEST_F(DrawingsGetTest, TitleDrawingsGiveTheirExpectedPagesNamesAndListInEveryVariant) {
  const std::vector<fs::path> files = OwnAndSetDrawings(kDrawings / "titles", "titles-");
  ASSERT_EQ(files.size(), 5u);
  for (const fs::path& file : files) {
    fs::path jsonFile = file;
    std::ifstream jsonStream(jsonFile.replace_extension(".json"));
    ASSERT_TRUE(jsonStream) << "no expected result " << jsonFile;
    const nlohmann::json expected = nlohmann::json::parse(jsonStream);
    const std::wstring layer = FromUtf8Lenient(expected.at("layer").get<std::string>());
    const auto centre = expected.at("view_centre").get<std::array<double, 2>>();
    for (const auto& [variant, settings] : expected.at("variants").items()) {
      IniLines ini(settings.at("ini"));
      const SheetNameSettings names = LoadSheetNameSettings(ini);
      view.blocks = ini.ReadString(L"Waku", L"Blocks", L"");
      view.tags = names.tags;
      view.titles = names.titleBlocks;
      view.byName = names.orderByName;
      ASSERT_EQ(view.byName, settings.at("by_name").get<bool>());
      for (const bool upperLeft : {false, true}) {
        const std::string setting = file.filename().string() + ", " + variant + (upperLeft ? ", upper" : ", lower");
        SCOPED_TRACE(setting);
        cad.Load(sim::ReadDxfFile(file.string()));
        cad.SetViewCentre(centre[0], centre[1]);
        // A CAD without EffectiveName: every call of it refused.
        cad.ClearFaults();
        if (variant == "noeffective")
          for (int n = 1; n <= 1000; ++n) cad.FailOn(L"EffectiveName", n, hresult::UnknownName);
        Pages.Clear();
        view.statuses.clear();
        view.layer = layer;
        view.upperLeft = upperLeft;
        Get();
        const nlohmann::json& expect = settings.at("expect").at(upperLeft ? "upperLeft" : "lowerLeft");
        ExpectLikeItsJson(expect, setting);
        ASSERT_EQ(Pages.Names().size(), Pages.WakuList().size());
        const auto& expectedNames = expect.at("names");
        for (size_t i = 0; i < Pages.Names().size() && i < expectedNames.size(); ++i) {
          std::vector<std::string> shown;
          for (const std::wstring& text : Pages.Names()[i]) shown.push_back(ToUtf8(OneLine(text)));
          const auto wanted = expectedNames[i].is_null() ? std::vector<std::string>{}
                                                         : expectedNames[i].get<std::vector<std::string>>();
          EXPECT_EQ(shown, wanted) << "page " << i + 1;
        }
        const std::wstring list = PageListText(Pages.WakuList(), Pages.Names(), view.tags);
        const auto& rows = expect.at("clipboard");
        size_t row = 0;
        for (size_t start = 0, end = list.find(L"\r\n"); end != std::wstring::npos;
             start = end + 2, end = list.find(L"\r\n", start), ++row) {
          ASSERT_LT(row, rows.size());
          const std::vector<std::wstring> got = Fields(list.substr(start, end - start));
          const std::vector<std::wstring> want = Fields(FromUtf8Lenient(rows[row].get<std::string>()));
          ASSERT_EQ(got.size(), want.size()) << "row " << row;
          for (size_t f = 0; f < got.size(); ++f) {
            if (row > 0 && f + 4 >= got.size()) {
              EXPECT_EQ(std::stod(ToUtf8(got[f])), std::stod(ToUtf8(want[f]))) << "row " << row << " field " << f;
            } else {
              EXPECT_EQ(ToUtf8(got[f]), ToUtf8(want[f])) << "row " << row << " field " << f;
            }
          }
        }
        EXPECT_EQ(row, rows.size());
      }
    }
  }
}

TEST_F(DrawingsGetTest, CommandTextZoomReachesTheSamePageAsZoomWindow) {
  TargetProgId = L"AutoCAD.Application";
  objects.Run(TargetProgId, cad);
  for (const fs::path& file : SheetDrawings()) {
    SCOPED_TRACE(file.filename().string());
    GetOn(file, L"KESTRA", false);
    const size_t slash = view.Status().find(L" / ");
    if (slash == std::wstring::npos) continue;  // the view starts in no page
    const size_t page = std::stoul(view.Status().substr(0, slash));
    EXPECT_EQ(cad.JournalMembers().back(), L"SendCommand");
    // The command text carries three decimals.
    ExpectBounds(Shown(), BoundsOf(Pages.WakuList().at(page - 1)), 0.0005, "zoomed view");
  }
}

TEST_F(DrawingsGetTest, PublicDrawingsGiveTheFramesKnownOfThem) {
  const Bounds border{1.5, 1.25, 32.25, 21.75};
  const Bounds titleStrip{32.375, 1.25, 34.0, 21.75};

  struct Known {
    const char* file;
    const wchar_t* layer;
    size_t frames;
    std::vector<Bounds> order;  // the first pages, bottom row first
    std::optional<size_t> pageUnderView;
  };
  const std::vector<Known> known{
      {"jscad_sample-files__2Drectangles.dxf", L"Title Block", 2, {border, titleStrip}, 1},
      {"jscad_sample-files__2Dpolylines.dxf", L"Title Block", 2, {border, titleStrip}, 1},
      {"jscad_sample-files__2Dpolylines.dxf", L"0", 0, {}, std::nullopt},
      {"jscad_sample-files__emptyR12.dxf", L"TITLE_BLOCK", 2, {border, titleStrip}, 1},
      // Two borders 2.54 apart are no duplicates; the outer one, leftmost in
      // the bottom row, holds the centre of the drawing's extents.
      {"arbaev_dxf-vuer__electric.dxf", L"title", 9, {{-2.54, 2.54, 347.218, 212.344}}, 1},
      {"mozman_ezdxf__POLI-ALL210_12.DXF", L"T-2DPLINE-ALL", 4, {}, std::nullopt},
  };

  for (const Known& drawing : known) {
    SCOPED_TRACE(std::string(drawing.file) + " on " + ToUtf8(drawing.layer));
    GetOn(kDrawings / drawing.file, drawing.layer, false);
    ASSERT_FALSE(view.statuses.empty()) << "Get wrote no status";
    EXPECT_EQ(view.statuses.front(), std::to_wstring(drawing.frames));
    ASSERT_EQ(Pages.WakuList().size(), drawing.frames);
    for (size_t i = 0; i < drawing.order.size(); ++i)
      ExpectBounds(BoundsOf(Pages.WakuList()[i]), drawing.order[i], 1e-6, "page " + std::to_string(i + 1));
    if (drawing.pageUnderView) {
      EXPECT_EQ(view.Status(), std::to_wstring(*drawing.pageUnderView) + L" / " + std::to_wstring(drawing.frames));
      ExpectBounds(Shown(), drawing.order.at(*drawing.pageUnderView - 1), 1e-6, "zoomed view");
    }
  }
}

TEST_F(DrawingsGetTest, EveryDrawingInTheSharedSetIsCovered) {
  const std::vector<std::string> publicFiles{"jscad_sample-files__2Drectangles.dxf",
                                             "jscad_sample-files__2Dpolylines.dxf", "jscad_sample-files__emptyR12.dxf",
                                             "arbaev_dxf-vuer__electric.dxf", "mozman_ezdxf__POLI-ALL210_12.DXF"};
  for (const auto& entry : fs::directory_iterator(kDrawings)) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (extension != ".dxf") continue;
    const std::string name = entry.path().filename().string();
    fs::path jsonFile = entry.path();
    const bool hasJson = name.starts_with("sheets-") && fs::exists(jsonFile.replace_extension(".json"));
    EXPECT_TRUE(hasJson || std::find(publicFiles.begin(), publicFiles.end(), name) != publicFiles.end())
        << name << " has no expected result";
  }
}
