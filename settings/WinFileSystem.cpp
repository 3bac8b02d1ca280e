#include "settings/WinFileSystem.h"

#include <windows.h>

#include <algorithm>

#include "common/FileError.h"
#include "win/Handles.h"

namespace {

// Removes the temporary file unless it has been moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : FPath(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!FPath.empty()) ::DeleteFileW(FPath.c_str());
  }

  const std::wstring& Path() const { return FPath; }
  void Release() { FPath.clear(); }

 private:
  std::wstring FPath;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool WinFileSystem::Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WinFileSystem::ReadAll(const std::wstring& path) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw CannotReadError(path);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD count = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr)) throw CannotReadError(path);
    if (count == 0) return bytes;
    bytes.append(buffer, count);
  }
}

void WinFileSystem::WriteAtomically(const std::wstring& path, std::string_view bytes) {
  // Moving over a read-only file succeeds under Wine; it must not.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) throw CannotWriteError(path);
  TemporaryFile temporary(path + L".tmp");
  UniqueHandle file(::CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw CannotWriteError(path);
  if (!WriteAll(file.Get(), bytes) || !::FlushFileBuffers(file.Get()) || !file.Close()) {
    throw CannotWriteError(path);
  }
  if (!::MoveFileExW(temporary.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw CannotWriteError(path);
  }
  temporary.Release();
}
