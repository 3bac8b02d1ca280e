// The few file operations the target list file needs.
#pragma once

#include <string>
#include <string_view>

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool Exists(const std::wstring& path) = 0;
  // The whole file; throws FileError when it cannot be read.
  virtual std::string ReadAll(const std::wstring& path) = 0;
  // Replaces the file's content through a temporary file beside it, so a
  // failure leaves the previous file as it was. Throws FileError.
  virtual void WriteAtomically(const std::wstring& path, std::string_view bytes) = 0;
};
