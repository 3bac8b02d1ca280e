// The settings file through the real private-profile functions: what they
// make of the values in the file, and what SaveSettings leaves in it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "TestFiles.h"
#include "cad/TargetCad.h"
#include "common/FileError.h"
#include "common/Unicode.h"
#include "settings/ProgramFiles.h"
#include "settings/Settings.h"
#include "settings/WinAnsiCodePage.h"
#include "settings/WinFileSystem.h"
#include "settings/WinMonitors.h"
#include "settings/WinProfile.h"

namespace {

// Wine's virtual desktop, 1024 x 768.
const WinMonitors kScreen;

class PagerWindowStandIn : public SettingsWindow {
 public:
  WindowOrigin origin{-1, -1};
  std::wstring layer = L"<unset>";

  int Width() const override { return 200; }
  int Height() const override { return 100; }
  WindowOrigin Origin() const override { return origin; }
  void MoveTo(WindowOrigin to) override { origin = to; }
  std::wstring LayerText() const override { return layer; }
  void SetLayerText(const std::wstring& text) override { layer = text; }
  void SetBlockPattern(const std::wstring&) override {}
};

// "Section/Key" -> the value's bytes as the file holds them.
std::map<std::string, std::string> FileEntries(const std::string& bytes) {
  std::map<std::string, std::string> entries;
  std::istringstream lines(bytes);
  std::string line, section;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
    } else if (const size_t equals = line.find('='); equals != std::string::npos) {
      entries[section + "/" + line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return entries;
}

// Korean, which code page 932 cannot hold.
const std::wstring kOutsideCodePage932 = L"\uD55C\uAE00 CAD";

// A UTF-16 LE file's text after its mark, in UTF-8.
std::string Utf8OfUtf16File(const std::string& bytes) {
  std::u16string units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    units.push_back(
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8));
  return ToUtf8(FromUtf16(units));
}

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TargetProgId = kDefaultProgId;
    TargetAppName = kDefaultAppName;
  }

  void Load() { LoadSettings(profile, window, kScreen); }

  TestFolder folder;
  const std::wstring path = SettingsFilePath(folder.File(L"page.exe"));
  WinFileSystem files;
  WinAnsiCodePage ansi;
  WinProfile profile{path, files, ansi};
  PagerWindowStandIn window;
};

TEST_F(ProfileTest, TextValuesLoseOuterBlanksAndOnePairOfQuotesAndAnEmptyKeyIsEmpty) {
  WriteFileBytes(path,
                 "[Waku]\r\nLayer=  \"  frame layer \"  \r\n"
                 "[Target]\r\nProgId=   Zwcad.Application   \r\nAppName=\r\n");
  Load();
  EXPECT_EQ(window.layer, L"  frame layer ") << "blanks inside the quotes belong to the value";
  EXPECT_EQ(TargetProgId, L"Zwcad.Application");
  EXPECT_EQ(TargetAppName, L"") << "a present empty key is not the default";
}

TEST_F(ProfileTest, ALongValueIsCutTo2047Characters) {
  WriteFileBytes(path, "[Waku]\r\nLayer=" + std::string(3000, 'L') + "\r\n");
  Load();
  EXPECT_EQ(window.layer, std::wstring(2047, L'L'));
}

TEST_F(ProfileTest, PositionValuesAreProfileIntegersKeptOnTheScreen) {
  WriteFileBytes(path, "[Form]\r\nLeft=-50\r\nTop=  0x20\r\n");
  Load();
  EXPECT_EQ(window.origin, (WindowOrigin{0, 32}));

  WriteFileBytes(path, "[Form]\r\nLeft=abc\r\nTop=\r\n");
  Load();
  EXPECT_EQ(window.origin, (WindowOrigin{(1024 - 200) / 2, (768 - 100) / 2})) << "centred by default";
}

TEST_F(ProfileTest, TheFirstSaveCreatesTheFileWithAllFiveKeysInPlainDecimalAndUtf16) {
  Load();
  EXPECT_EQ(window.layer, L"KESTRA");
  window.origin = {-7, 12};
  window.layer = L"枠線";
  TargetAppName = kOutsideCodePage932;
  SaveSettings(profile, window);

  const std::string bytes = FileBytes(path);
  ASSERT_TRUE(bytes.starts_with("\xFF\xFE")) << bytes;
  const std::map<std::string, std::string> expected{
      {"Form/Left", "-7"},
      {"Form/Top", "12"},
      {"Waku/Layer", "枠線"},
      {"Target/ProgId", "BricscadApp.AcadApplication"},
      {"Target/AppName", ToUtf8(kOutsideCodePage932)},
  };
  EXPECT_EQ(FileEntries(Utf8OfUtf16File(bytes)), expected);

  PagerWindowStandIn reloaded;
  TargetAppName = L"";
  LoadSettings(profile, reloaded, kScreen);
  EXPECT_EQ(reloaded.layer, L"枠線");
  EXPECT_EQ(TargetAppName, kOutsideCodePage932);
}

TEST_F(ProfileTest, AnAnsiFileIsKeptAnsiUnlessAValueNeedsUnicodeAndThenKeepsEveryLine) {
  const std::string ansi =
      "; \x8E\xE8\x8F\x91\x82\xAB\r\n[Other]\r\nKeep=\x98\x67\r\n[Form]\r\nLeft=3\r\n";  // 手書き, 枠
  WriteFileBytes(path, ansi);
  Load();
  SaveSettings(profile, window);
  EXPECT_FALSE(FileBytes(path).starts_with("\xFF\xFE")) << "every value fits the code page";

  TargetAppName = kOutsideCodePage932;
  SaveSettings(profile, window);
  const std::string bytes = FileBytes(path);
  ASSERT_TRUE(bytes.starts_with("\xFF\xFE")) << bytes;
  const std::string text = Utf8OfUtf16File(bytes);
  EXPECT_TRUE(text.starts_with("; 手書き\r\n")) << text;
  const std::map<std::string, std::string> entries = FileEntries(text);
  EXPECT_EQ(entries.at("Other/Keep"), "枠");
  EXPECT_EQ(entries.at("Form/Left"), "3");
  EXPECT_EQ(entries.at("Target/AppName"), ToUtf8(kOutsideCodePage932));
  EXPECT_EQ(entries.size(), 6u) << text;
}

TEST_F(ProfileTest, SaveKeepsUnrelatedSectionsAndKeys) {
  WriteFileBytes(path,
                 "; written by hand\r\n[Other]\r\nKeep=1\r\n"
                 "[Form]\r\nExtra=x\r\nLeft=3\r\n");
  Load();
  window.origin = {40, 50};
  SaveSettings(profile, window);

  const std::string bytes = FileBytes(path);
  EXPECT_NE(bytes.find("; written by hand"), std::string::npos) << bytes;
  const std::map<std::string, std::string> entries = FileEntries(bytes);
  EXPECT_EQ(entries.at("Other/Keep"), "1");
  EXPECT_EQ(entries.at("Form/Extra"), "x");
  EXPECT_EQ(entries.at("Form/Left"), "40");
  EXPECT_EQ(entries.size(), 7u) << bytes;
}

// Another program holds the file while the layer is written, and only then.
class ProfileLockedDuringTheThirdWrite : public Profile {
 public:
  explicit ProfileLockedDuringTheThirdWrite(WinProfile& profile) : FProfile(profile) {}

  const std::wstring& Path() const override { return FProfile.Path(); }
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) override {
    return FProfile.ReadString(section, key, defaultValue);
  }
  bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override {
    if (++FWrites != 3) return FProfile.WriteString(section, key, value);
    const ExclusiveFileLock lock(Path());
    EXPECT_TRUE(lock.Held());
    return FProfile.WriteString(section, key, value);
  }

 private:
  WinProfile& FProfile;
  int FWrites = 0;
};

TEST_F(ProfileTest, AKeyThatCannotBeWrittenStopsTheSaveWithThePath) {
  WriteFileBytes(path,
                 "[Form]\r\nLeft=1\r\nTop=2\r\n[Waku]\r\nLayer=OLD\r\n[Target]\r\nProgId=Old.App\r\nAppName=Old\r\n");
  ProfileLockedDuringTheThirdWrite locking(profile);
  LoadSettings(locking, window, kScreen);
  window.origin = {30, 40};
  window.layer = L"NEW";
  TargetProgId = L"New.App";
  TargetAppName = L"New";
  try {
    SaveSettings(locking, window);
    ADD_FAILURE() << "the save reported success";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Text(), path + L" に書き込めません");
  }

  const std::map<std::string, std::string> expected{
      {"Form/Left", "30"},          {"Form/Top", "40"},        {"Waku/Layer", "OLD"},
      {"Target/ProgId", "Old.App"}, {"Target/AppName", "Old"},
  };
  EXPECT_EQ(FileEntries(FileBytes(path)), expected);
}

TEST_F(ProfileTest, AFolderThatDoesNotExistFailsTheFirstWrite) {
  const std::wstring missing = SettingsFilePath(folder.File(L"no such folder\\page.exe"));
  WinProfile nowhere(missing, files, ansi);
  try {
    SaveSettings(nowhere, window);
    ADD_FAILURE() << "the save reported success";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Text(), missing + L" に書き込めません");
  }
  EXPECT_EQ(folder.Listing(), L"");
}

}  // namespace
