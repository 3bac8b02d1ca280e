#include "sim/DxfText.h"

#include <array>

#include "common/AsciiCase.h"
#include "common/Unicode.h"
#include "sim/Dxf.h"

namespace sim {

namespace {

// Windows-1252 at 0x80..0x9F; the unassigned five map to themselves, as
// Windows does.
constexpr std::array<char16_t, 32> kWindows1252High{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// "\U+XXXX" stands for one character outside the file's encoding.
std::wstring ExpandUnicodeEscapes(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, L"\\U+") == 0 && i + 7 <= text.size()) {
      int code = 0;
      bool valid = true;
      for (size_t k = i + 3; k < i + 7; ++k) {
        const int digit = HexDigitValue(text[k]);
        valid = valid && digit >= 0;
        code = code * 16 + (digit < 0 ? 0 : digit);
      }
      if (valid && !(code >= 0xD800 && code <= 0xDFFF) && code != 0) {
        out.push_back(static_cast<wchar_t>(code));
        i += 6;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

DxfTextDecoder::DxfTextDecoder(std::string_view acadVersion, std::string_view codePage)
    : FUtf8(UpperAscii(acadVersion) >= "AC1021"), FCodePage(UpperAscii(codePage)) {}

std::wstring DxfTextDecoder::Decode(std::string_view bytes, size_t line) const {
  std::wstring text;
  if (FUtf8) {
    // Writers do put stray bytes into R2007+ files; a CAD shows them as
    // replacement characters rather than refusing the drawing.
    text = FromUtf8Lenient(bytes);
  } else {
    text.reserve(bytes.size());
    const bool latin = FCodePage.empty() || FCodePage == "ANSI_1252" || FCodePage == "ISO8859-1";
    for (const char byte : bytes) {
      const auto b = static_cast<unsigned char>(byte);
      if (b < 0x80) {
        text.push_back(static_cast<wchar_t>(b));
      } else if (latin) {
        text.push_back(b < 0xA0 ? static_cast<wchar_t>(kWindows1252High[b - 0x80]) : static_cast<wchar_t>(b));
      } else {
        throw DxfError("line " + std::to_string(line) + ": text in code page " + FCodePage +
                       " cannot be read (only ANSI_1252 and \\U+ escapes are supported before R2007)");
      }
    }
  }
  return ExpandUnicodeEscapes(text);
}

std::wstring MultiLineText(std::wstring_view codes) {
  std::wstring text;
  text.reserve(codes.size());
  for (size_t i = 0; i < codes.size(); ++i) {
    const wchar_t next = i + 1 < codes.size() ? codes[i + 1] : L'\0';
    if (codes[i] == L'\\' && next == L'P') {
      text += L"\r\n";
      ++i;
    } else {
      text.push_back(codes[i]);
      // An escaped backslash stays as written and escapes nothing after it.
      if (codes[i] == L'\\' && next == L'\\') text.push_back(codes[++i]);
    }
  }
  return text;
}

}  // namespace sim
