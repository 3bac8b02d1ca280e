// The target list file through the real Windows file functions and the
// real ANSI code page (932 in the test prefix).
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "common/FileError.h"
#include "settings/ProgramFiles.h"
#include "settings/TargetListFile.h"
#include "settings/WinAnsiCodePage.h"
#include "settings/WinFileSystem.h"

namespace {

using Rows = std::vector<std::wstring>;

const std::string kUtf8Mark = "\xEF\xBB\xBF";

class TargetListStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "the tests expect the Japanese ANSI code page"; }

  TargetListFile File() { return TargetListFile(path, files, ansi); }
  std::wstring Listing() const { return folder.Listing(); }

  TestFolder folder;
  const std::wstring path = TargetListFilePath(folder.File(L"page.exe"));
  WinFileSystem files;
  WinAnsiCodePage ansi;
};

TEST_F(TargetListStoreTest, JapaneseNamesRoundTripInCodePage932WithoutAMark) {
  const Rows rows{L"図面\tA.App", L"ｱ\tB.App"};
  File().Write(rows);
  EXPECT_EQ(FileBytes(path), "\x90\x7D\x96\xCA\tA.App\r\n\xB1\tB.App\r\n");
  EXPECT_EQ(File().Read(), rows);
}

TEST_F(TargetListStoreTest, ARowCodePage932CannotHoldMakesTheFileUtf8WithAMarkFromThenOn) {
  WriteFileBytes(path, "\x90\x7D\x96\xCA\tA.App\r\n");
  TargetListFile file = File();
  ASSERT_EQ(file.Read(), (Rows{L"図面\tA.App"}));

  // Neither may come out as a look-alike ("e") or as '?'.
  file.Write({L"図面\tA.App", L"Caf\u00E9 \U0001F600\tB.App"});
  EXPECT_EQ(FileBytes(path), kUtf8Mark + "\xE5\x9B\xB3\xE9\x9D\xA2\tA.App\r\nCaf\xC3\xA9 \xF0\x9F\x98\x80\tB.App\r\n");
  EXPECT_EQ(File().Read(), (Rows{L"図面\tA.App", L"Caf\u00E9 \U0001F600\tB.App"}));

  file.Write({L"Plain\tC.App"});
  EXPECT_EQ(FileBytes(path), kUtf8Mark + "Plain\tC.App\r\n");
}

TEST_F(TargetListStoreTest, Utf16FilesKeepTheirByteOrderOnWrite) {
  WriteFileBytes(path, std::string("\xFF\xFE"
                                   "A\0\t\0X\0\r\0\n\0",
                                   12));
  TargetListFile littleEndian = File();
  ASSERT_EQ(littleEndian.Read(), (Rows{L"A\tX"}));
  littleEndian.Write({L"図\tY"});
  EXPECT_EQ(FileBytes(path), std::string("\xFF\xFE\xF3\x56\t\0Y\0\r\0\n\0", 12));

  WriteFileBytes(path, std::string("\xFE\xFF\0A\0\t\0X", 8));
  TargetListFile bigEndian = File();
  ASSERT_EQ(bigEndian.Read(), (Rows{L"A\tX"}));
  bigEndian.Write({L"図\tY"});
  EXPECT_EQ(FileBytes(path), std::string("\xFE\xFF\x56\xF3\0\t\0Y\0\r\0\n", 12));
}

TEST_F(TargetListStoreTest, AWriteToALockedFileFailsAndLeavesTheOldFileAndItsEncoding) {
  const std::string old = "Old\tOld.App\r\n";
  WriteFileBytes(path, old);
  TargetListFile file = File();
  ASSERT_EQ(file.Read(), (Rows{L"Old\tOld.App"}));
  {
    ExclusiveFileLock lock(path);
    ASSERT_TRUE(lock.Held());
    try {
      file.Write({L"Caf\u00E9\tNew.App"});
      ADD_FAILURE() << "the write reported success";
    } catch (const FileError& error) {
      EXPECT_EQ(error.Text(), path + L" に書き込めません");
    }
  }
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(Listing(), L"TargetCAD_APIVersion.txt") << "no temporary file left behind";

  // The UTF-8 fallback never reached the disk, so the file is still ANSI.
  file.Write({L"図\tNew.App"});
  EXPECT_EQ(FileBytes(path), "\x90\x7D\tNew.App\r\n");
}

TEST_F(TargetListStoreTest, AWriteOverAReadOnlyFileFailsAndLeavesIt) {
  const std::string old = "Old\tOld.App\r\n";
  WriteFileBytes(path, old);
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_THROW(File().Write({L"New\tNew.App"}), FileError);
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(Listing(), L"TargetCAD_APIVersion.txt");
}

TEST_F(TargetListStoreTest, ALockedFileCannotBeRead) {
  WriteFileBytes(path, "Old\tOld.App\r\n");
  ExclusiveFileLock lock(path);
  ASSERT_TRUE(lock.Held());
  EXPECT_TRUE(File().Exists());
  try {
    File().Read();
    ADD_FAILURE() << "a locked file was read";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Text(), path + L" を読み込めません");
  }
}

}  // namespace
