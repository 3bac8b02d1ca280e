// The settings file in an encoding that keeps every character the profile
// functions write into it: they write Unicode into a file that starts with
// a UTF-16 byte-order mark, and the ANSI code page into any other.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/TargetListCodec.h"

// What to put in the file before value is written into it, or nothing when
// it can stay as it is. A file that does not exist yet becomes an empty
// UTF-16 LE file with its mark; an ANSI file that cannot hold value is
// rewritten, every line kept, as UTF-16 LE; any other file is left alone.
std::optional<std::string> UnicodeSettingsBytes(const std::optional<std::string>& current, std::wstring_view value,
                                                const AnsiCodePage& ansi);
