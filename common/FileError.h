// The error raised when one of the program's own files cannot be read or
// written. It carries the wide text the default error reporting shows.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "common/Unicode.h"

class FileError : public std::runtime_error {
 public:
  explicit FileError(std::wstring text) : std::runtime_error(ToUtf8(text)), FText(std::move(text)) {}

  const std::wstring& Text() const noexcept { return FText; }

 private:
  std::wstring FText;
};

inline FileError CannotWriteError(std::wstring_view path) {
  return FileError(std::wstring(path) + L" に書き込めません");
}
inline FileError CannotReadError(std::wstring_view path) {
  return FileError(std::wstring(path) + L" を読み込めません");
}
