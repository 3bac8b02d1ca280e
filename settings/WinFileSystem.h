// FileSystem over the Win32 file functions.
#pragma once

#include "settings/FileSystem.h"

class WinFileSystem : public FileSystem {
 public:
  bool Exists(const std::wstring& path) override;
  std::string ReadAll(const std::wstring& path) override;
  // Writes and flushes a temporary file, then moves it over the target.
  void WriteAtomically(const std::wstring& path, std::string_view bytes) override;
};
