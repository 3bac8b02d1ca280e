// The settings dialog's OK writes the keys it changed into page.ini at
// once: every other byte of the file stays, an emptied key goes, and a
// write that fails leaves the file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TargetListTestCodePage.h"
#include "common/FileError.h"
#include "common/Unicode.h"
#include "settings/PosixFileSystem.h"
#include "settings/ProfileChanges.h"

namespace {

const Latin1CodePage kAnsi;

std::string Changed(const std::string& file, std::vector<ProfileChange> changes) {
  return ChangedProfileBytes(file, changes, kAnsi);
}

std::string Utf16(std::wstring_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : ToUtf16(text)) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

TEST(ProfileChangesTest, AChangedKeyGetsItsValueAndEveryOtherByteStays) {
  // Odd line ends, a comment, blanks, other sections and a last line
  // without its end are all kept.
  const std::string file = "; mine\r\n[Form]\r\nLeft=10\n[waku]\r\n layer = KESTRA \r\nOther=x\r[Keys]\r\nNext=Ctrl+N";
  EXPECT_EQ(Changed(file, {{L"Waku", L"Layer", L"SHEET"}}),
            "; mine\r\n[Form]\r\nLeft=10\n[waku]\r\nLayer=SHEET\r\nOther=x\r[Keys]\r\nNext=Ctrl+N");
  EXPECT_EQ(Changed(file, {{L"Keys", L"Next", L"Ctrl+M"}}),
            "; mine\r\n[Form]\r\nLeft=10\n[waku]\r\n layer = KESTRA \r\nOther=x\r[Keys]\r\nNext=Ctrl+M");
}

TEST(ProfileChangesTest, AnEmptiedKeyIsRemovedWithEveryLineOfItInItsSection) {
  const std::string file = "[Waku]\r\nNames=a\r\nLayer=K\r\nnames=b\r\n[Other]\r\nNames=keep\r\n";
  EXPECT_EQ(Changed(file, {{L"Waku", L"Names", L""}}), "[Waku]\r\nLayer=K\r\n[Other]\r\nNames=keep\r\n");
  EXPECT_EQ(Changed(file, {{L"Missing", L"Names", L""}}), file);
}

TEST(ProfileChangesTest, NewKeysGoAfterTheirSectionsLastLineAndNewSectionsToTheEnd) {
  const std::string file = "[Waku]\r\nLayer=K\r\n\r\n[Target]\r\nProgId=X";
  EXPECT_EQ(Changed(file, {{L"Waku", L"Blocks", L"FRAME"}, {L"Keys", L"Get", L"F9"}}),
            "[Waku]\r\nLayer=K\r\nBlocks=FRAME\r\n\r\n[Target]\r\nProgId=X\r\n[Keys]\r\nGet=F9\r\n");
}

TEST(ProfileChangesTest, AnAnsiFileThatCannotHoldAValueBecomesUtf16EveryLineKept) {
  const std::string file = "[Waku]\r\nLayer=K\xE9\r\n";
  EXPECT_EQ(Changed(file, {{L"Waku", L"Blocks", L"図枠"}}), Utf16(L"[Waku]\r\nLayer=Ké\r\nBlocks=図枠\r\n"));
  EXPECT_EQ(Changed(file, {{L"Waku", L"Blocks", L"F\xE9"}}), "[Waku]\r\nLayer=K\xE9\r\nBlocks=F\xE9\r\n");
}

TEST(ProfileChangesTest, AUtf16FileStaysUtf16AndANewFileIsUtf16WithItsMark) {
  const std::string file = Utf16(L"[Waku]\r\nLayer=図枠\r\n[Form]\nTop=1\n");
  EXPECT_EQ(Changed(file, {{L"Waku", L"Names", L"図番,図名"}}),
            Utf16(L"[Waku]\r\nLayer=図枠\r\nNames=図番,図名\r\n[Form]\nTop=1\n"));
  EXPECT_EQ(ChangedProfileBytes(std::nullopt, std::vector<ProfileChange>{{L"Waku", L"Order", L"Names"}}, kAnsi),
            Utf16(L"[Waku]\r\nOrder=Names\r\n"));
}

// A value is one line: a pasted line break cannot start a key of its own.
TEST(ProfileChangesTest, LineBreaksInAValueAreLeftOut) {
  EXPECT_EQ(Changed("[Waku]\r\n", {{L"Waku", L"Layer", L"A\r\n[Target]\r\nProgId=Evil"}}),
            "[Waku]\r\nLayer=A[Target]ProgId=Evil\r\n");
}

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("page-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
    path = folder / "page.ini";
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::string Read() const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::filesystem::path folder, path;
  PosixFileSystem files;
};

TEST_F(ProfileFileTest, AWriteThatCannotFinishLeavesTheFileAsItWas) {
  const std::string before = "[Waku]\r\nLayer=K\r\n";
  std::ofstream(path, std::ios::binary) << before;
  // No temporary file can be made beside it: a folder has its name.
  const std::filesystem::path temporary = folder / "page.ini.tmp";
  std::filesystem::create_directory(temporary);
  const std::vector<ProfileChange> changes{{L"Waku", L"Layer", L"SHEET"}};
  EXPECT_THROW(WriteProfileChanges(files, FromUtf8Lenient(path.string()), changes, kAnsi), FileError);
  EXPECT_EQ(Read(), before);
  std::filesystem::remove(temporary);
  WriteProfileChanges(files, FromUtf8Lenient(path.string()), changes, kAnsi);
  EXPECT_EQ(Read(), "[Waku]\r\nLayer=SHEET\r\n");
}

}  // namespace
