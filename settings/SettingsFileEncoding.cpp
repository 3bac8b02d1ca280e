#include "settings/SettingsFileEncoding.h"

#include <vector>

// The file is lines of text like the target list, so its codec serves.
std::optional<std::string> UnicodeSettingsBytes(const std::optional<std::string>& current, std::wstring_view value,
                                                const AnsiCodePage& ansi) {
  if (!current) return EncodeTargetList({}, TextEncoding::Utf16LE, ansi).bytes;
  const TargetListText text = DecodeTargetList(*current, ansi);
  if (text.encoding != TextEncoding::Ansi || ansi.FromWide(value)) return std::nullopt;
  return EncodeTargetList(text.rows, TextEncoding::Utf16LE, ansi).bytes;
}
