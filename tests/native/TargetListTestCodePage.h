// An ANSI code page for tests: Latin-1, one byte per character up to
// U+00FF, nothing beyond.
#pragma once

#include "settings/TargetListCodec.h"

class Latin1CodePage : public AnsiCodePage {
 public:
  std::wstring ToWide(std::string_view bytes) const override {
    std::wstring text;
    for (const char byte : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
    return text;
  }

  std::optional<std::string> FromWide(std::wstring_view text) const override {
    std::string bytes;
    for (const wchar_t c : text) {
      if (static_cast<unsigned long>(c) > 0xFF) return std::nullopt;
      bytes.push_back(static_cast<char>(c));
    }
    return bytes;
  }
};
