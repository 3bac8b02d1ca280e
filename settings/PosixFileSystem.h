// FileSystem over POSIX calls, for the native build.
#pragma once

#include "settings/FileSystem.h"

class PosixFileSystem : public FileSystem {
 public:
  bool Exists(const std::wstring& path) override;
  std::string ReadAll(const std::wstring& path) override;
  // Writes and syncs a temporary file, then renames it over the target.
  void WriteAtomically(const std::wstring& path, std::string_view bytes) override;
};
