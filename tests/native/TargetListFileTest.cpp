#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/FileError.h"
#include "settings/PosixFileSystem.h"
#include "settings/TargetListFile.h"
#include "tests/native/TargetListTestCodePage.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::wstring>;

// A fresh folder per test, removed afterwards.
class TargetListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("page-targetlist-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    path = folder / "TargetCAD_APIVersion.txt";
  }
  void TearDown() override { fs::remove_all(folder); }

  void Put(std::string_view bytes) { std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size()); }
  std::string Content() const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  TargetListFile File() { return TargetListFile(path.wstring(), files, ansi); }

  fs::path folder;
  fs::path path;
  PosixFileSystem files;
  Latin1CodePage ansi;
};

TEST_F(TargetListFileTest, WritesBackInTheEncodingItWasReadIn) {
  Put(std::string("\xFE\xFF\0a\0\t\0b", 8));
  TargetListFile file = File();
  EXPECT_EQ(file.Read(), (Rows{L"a\tb"}));
  file.Write({L"c\td"});
  EXPECT_EQ(Content(), std::string("\xFE\xFF\0c\0\t\0d\0\r\0\n", 12));
}

TEST_F(TargetListFileTest, AnUnreadFileIsWrittenInAnsiWithoutAMark) {
  TargetListFile file = File();
  EXPECT_FALSE(file.Exists());
  file.Write({L"Caf\u00E9\tX"});
  EXPECT_TRUE(file.Exists());
  EXPECT_EQ(Content(), "Caf\xE9\tX\r\n");
}

TEST_F(TargetListFileTest, StaysUtf8OnceAnsiCouldNotHoldARow) {
  TargetListFile file = File();
  file.Write({L"\u30AD\tX"});
  file.Write({L"a\tX"});
  EXPECT_EQ(Content(),
            "\xEF\xBB\xBF"
            "a\tX\r\n");
}

TEST_F(TargetListFileTest, ReplacingKeepsThePermissionsAndLeavesNoTemporaryFile) {
  Put("old\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  File().Write({L"new"});
  EXPECT_EQ(Content(), "new\r\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// Lowers the file size limit so that a write stops halfway with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &FSaved);
    FSavedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = FSaved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FSaved);
    std::signal(SIGXFSZ, FSavedHandler);
  }

 private:
  rlimit FSaved{};
  void (*FSavedHandler)(int);
};

TEST_F(TargetListFileTest, AWriteThatFailsHalfwayLeavesTheOldFileIntact) {
  const std::string old = "Old\tOld.Application\r\n";
  Put(old);
  TargetListFile file = File();
  const Rows rows(200, L"BricsCAD\tBricscadApp.AcadApplication");
  {
    FileSizeLimit limit(1024);
    try {
      file.Write(rows);
      FAIL() << "a write beyond the size limit reported success";
    } catch (const FileError& error) {
      EXPECT_EQ(error.Text(), path.wstring() + L" に書き込めません");
    }
  }
  EXPECT_EQ(Content(), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  file.Write(rows);
  EXPECT_EQ(File().Read(), rows);
}

TEST_F(TargetListFileTest, AMissingFolderIsAWriteError) {
  const fs::path missing = folder / "missing" / "TargetCAD_APIVersion.txt";
  TargetListFile file(missing.wstring(), files, ansi);
  EXPECT_THROW(file.Write({L"a"}), FileError);
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(TargetListFileTest, AnUnreadableFileIsAReadError) {
  fs::create_directory(path);
  TargetListFile file = File();
  EXPECT_TRUE(file.Exists());
  try {
    file.Read();
    FAIL() << "reading a folder reported success";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Text(), path.wstring() + L" を読み込めません");
  }
}

}  // namespace
