// Conversions between the program's wide strings and byte encodings.
// wchar_t holds UTF-16 on Windows and UTF-32 elsewhere; these functions
// hide the difference so that portable code can be tested on either.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::wstring_view text);
// Empty when the bytes are not well-formed UTF-8.
std::optional<std::wstring> FromUtf8(std::string_view bytes);
// Lenient variant: each malformed sequence becomes U+FFFD.
std::wstring FromUtf8Lenient(std::string_view bytes);

std::u16string ToUtf16(std::wstring_view text);
// Unpaired surrogates are kept where wchar_t is 16 bits wide and become
// U+FFFD elsewhere.
std::wstring FromUtf16(std::u16string_view units);
