// The system's ANSI code page (CP_ACP).
#pragma once

#include "settings/TargetListCodec.h"

class WinAnsiCodePage : public AnsiCodePage {
 public:
  std::wstring ToWide(std::string_view bytes) const override;
  // No best-fit mapping: a character without its own byte sequence makes
  // the conversion fail rather than become another character or '?'.
  std::optional<std::string> FromWide(std::wstring_view text) const override;
};
