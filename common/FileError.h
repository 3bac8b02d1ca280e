// The error raised when one of the program's own files cannot be read or
// written.
#pragma once

#include <string>
#include <string_view>

#include "common/TextError.h"
#include "common/Unicode.h"

class FileError : public TextError {
 public:
  explicit FileError(const std::wstring& text) : TextError(ToUtf8(text), text) {}
};

inline FileError CannotWriteError(std::wstring_view path) {
  return FileError(std::wstring(path) + L" に書き込めません");
}
inline FileError CannotReadError(std::wstring_view path) {
  return FileError(std::wstring(path) + L" を読み込めません");
}
