// Files for the tests that go through the real Windows file functions: a
// fresh folder per test, whole-file bytes, and a lock that makes a file
// unwritable the way another program holding it open would.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// A new, empty folder under the temporary folder, removed with its content.
class TestFolder {
 public:
  TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder();

  const std::wstring& Path() const { return FPath; }
  // The path of a file in the folder.
  std::wstring File(std::wstring_view name) const;
  // Names of the files in the folder, sorted, separated by '|'.
  std::wstring Listing() const;

 private:
  std::wstring FPath;
};

// The file's bytes; "<missing>" when it cannot be opened.
std::string FileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, std::string_view bytes);

// Holds the file open with no sharing, so that others can neither read,
// write, replace nor delete it.
class ExclusiveFileLock {
 public:
  explicit ExclusiveFileLock(const std::wstring& path);
  ExclusiveFileLock(const ExclusiveFileLock&) = delete;
  ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;
  ~ExclusiveFileLock() { Release(); }

  bool Held() const { return FHandle != INVALID_HANDLE_VALUE; }
  void Release();

 private:
  HANDLE FHandle;
};
