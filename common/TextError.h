// An error that carries the wide text the default error reporting shows.
// what() holds a UTF-8 rendering for logs and test messages.
#pragma once

#include <stdexcept>
#include <string>

class TextError : public std::runtime_error {
 public:
  TextError(const std::string& what, std::wstring text) : std::runtime_error(what), FText(std::move(text)) {}

  const std::wstring& Text() const noexcept { return FText; }

 private:
  std::wstring FText;
};
