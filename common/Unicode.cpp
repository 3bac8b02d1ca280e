#include "common/Unicode.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendCodePoint(std::wstring& out, char32_t c) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(c));
}

// Reads the code point at text[i] and advances i; lone surrogates give
// U+FFFD.
char32_t NextCodePoint(std::wstring_view text, size_t& i) {
  char32_t c = static_cast<char32_t>(text[i++]);
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0xD800 && c <= 0xDBFF && i < text.size()) {
      char32_t low = static_cast<char16_t>(text[i]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        ++i;
        return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      }
    }
  }
  if (IsSurrogate(c) || c > 0x10FFFF) return kReplacement;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at bytes[i]; returns false (and skips one
// byte) when it is malformed, overlong, a surrogate or beyond U+10FFFF.
bool DecodeUtf8(std::string_view bytes, size_t& i, char32_t& c) {
  const auto lead = static_cast<uint8_t>(bytes[i]);
  size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    c = lead;
    ++i;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return false;
  }
  if (bytes.size() - i < length) {
    ++i;
    return false;
  }
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<uint8_t>(bytes[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    c = (c << 6) | (next & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || IsSurrogate(c)) {
    ++i;
    return false;
  }
  i += length;
  return true;
}

}  // namespace

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) AppendUtf8(out, NextCodePoint(text, i));
  return out;
}

std::optional<std::wstring> FromUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    if (!DecodeUtf8(bytes, i, c)) return std::nullopt;
    AppendCodePoint(out, c);
  }
  return out;
}

std::wstring FromUtf8Lenient(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    AppendCodePoint(out, DecodeUtf8(bytes, i, c) ? c : kReplacement);
  }
  return out;
}

std::u16string ToUtf16(std::wstring_view text) {
  if constexpr (sizeof(wchar_t) == 2) {
    return std::u16string(text.begin(), text.end());
  } else {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
      char32_t c = NextCodePoint(text, i);
      if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(c));
      }
    }
    return out;
  }
}

std::wstring FromUtf16(std::u16string_view units) {
  if constexpr (sizeof(wchar_t) == 2) {
    return std::wstring(units.begin(), units.end());
  } else {
    std::wstring out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
      char32_t c = units[i];
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
        ++i;
      } else if (IsSurrogate(c)) {
        c = kReplacement;
      }
      out.push_back(static_cast<wchar_t>(c));
    }
    return out;
  }
}
