// Letter case as Windows compares file names: each UTF-16 unit upper-cased
// by one fixed table, whatever the user's locale (CompareStringOrdinal with
// case ignored), so that Ä and ä, Ω and ω, Ａ and ａ are one letter.
#pragma once

#include <string>
#include <string_view>

bool EqualIgnoringFileNameCase(std::wstring_view a, std::wstring_view b);

// The text with every letter upper-cased by the same table.
std::wstring UpperFileNameCase(std::wstring_view text);
