// The integer rule of profile values, as the profile format has always
// read them (Delphi's StrToIntDef).
#pragma once

#include <cstdint>
#include <string_view>

// Leading spaces, an optional + or - sign, then decimal digits, or
// hexadecimal digits after $, x, X, 0x or 0X. An empty value, trailing
// characters or a value outside 32 bits give defaultValue.
// Hexadecimal digits are a 32-bit pattern, as in StrToInt: up to FFFFFFFF
// is accepted and $FFFFFFFF reads as -1; a minus sign negates that
// pattern modulo 2^32.
int32_t ParseProfileInteger(std::wstring_view text, int32_t defaultValue);
