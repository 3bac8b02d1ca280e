// Writing a few keys of the settings file at once, while the program runs,
// so that a program that ends badly keeps them: a dialog's OK writes the
// keys it changed and nothing else.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "settings/FileSystem.h"
#include "settings/TargetListCodec.h"

// One key of a section set to a value; an empty value removes the key.
// Line breaks in a value are left out: a value is one line.
struct ProfileChange {
  std::wstring section;
  std::wstring key;
  std::wstring value;
};

// The file's bytes with the changes made, sections and keys compared
// without regard to ASCII letter case: a key's first line in the first
// section of that name gets the value, the line's end kept; a key made
// empty loses every line of it in that section; a new key goes after the
// section's last line that is not blank, and a new section to the end.
// Every other line stays as it was, byte for byte. Without a file, a new
// UTF-16 LE file with its mark; an ANSI file that cannot hold a value is
// rewritten as UTF-16 LE, every line kept, as the profile functions need.
std::string ChangedProfileBytes(const std::optional<std::string>& current, std::span<const ProfileChange> changes,
                                const AnsiCodePage& ansi);

// Reads the file, makes the changes and replaces it through a temporary
// file, so that a write that fails halfway leaves it as it was. Throws
// FileError "<path> に書き込めません" (or を読み込めません).
void WriteProfileChanges(FileSystem& files, const std::wstring& path, std::span<const ProfileChange> changes,
                         const AnsiCodePage& ansi);
