#include "settings/TargetListCodec.h"

#include "common/Unicode.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

struct ByteOrderMark {
  TextEncoding encoding;
  std::string_view bytes;
};

constexpr ByteOrderMark kMarks[] = {
    {TextEncoding::Utf8, kUtf8Mark}, {TextEncoding::Utf16LE, kUtf16LEMark}, {TextEncoding::Utf16BE, kUtf16BEMark}};

std::optional<ByteOrderMark> FindMark(std::string_view bytes) {
  for (const ByteOrderMark& mark : kMarks) {
    if (bytes.starts_with(mark.bytes)) return mark;
  }
  return std::nullopt;
}

std::string_view MarkBytes(TextEncoding encoding) {
  for (const ByteOrderMark& mark : kMarks) {
    if (mark.encoding == encoding) return mark.bytes;
  }
  return {};
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  std::wstring text = FromUtf16(units);
  if (bytes.size() % 2 != 0) text.push_back(L'\uFFFD');
  return text;
}

std::string EncodeUtf16(std::wstring_view text, bool bigEndian) {
  const std::u16string units = ToUtf16(text);
  std::string bytes;
  bytes.reserve(2 * units.size());
  for (const char16_t unit : units) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    bytes.push_back(bigEndian ? high : low);
    bytes.push_back(bigEndian ? low : high);
  }
  return bytes;
}

std::wstring Decoded(std::string_view bytes, TextEncoding encoding, const AnsiCodePage& ansi) {
  switch (encoding) {
    case TextEncoding::Ansi: return ansi.ToWide(bytes);
    case TextEncoding::Utf8: return FromUtf8Lenient(bytes);
    case TextEncoding::Utf16LE: return DecodeUtf16(bytes, false);
    case TextEncoding::Utf16BE: return DecodeUtf16(bytes, true);
  }
  return {};
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> rows;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) {
      rows.emplace_back(text.substr(start));
      break;
    }
    rows.emplace_back(text.substr(start, end - start));
    start = end + (text.substr(end, 2) == L"\r\n" ? 2 : 1);
  }
  return rows;
}

std::string WithMark(TextEncoding encoding, std::string body) { return std::string(MarkBytes(encoding)) + body; }

}  // namespace

TargetListText DecodeTargetList(std::string_view bytes, const AnsiCodePage& ansi) {
  TextEncoding encoding = TextEncoding::Ansi;
  if (const auto mark = FindMark(bytes)) {
    encoding = mark->encoding;
    bytes.remove_prefix(mark->bytes.size());
  }
  return {encoding, SplitLines(Decoded(bytes, encoding, ansi))};
}

EncodedTargetList EncodeTargetList(const std::vector<std::wstring>& rows, TextEncoding encoding,
                                   const AnsiCodePage& ansi) {
  std::wstring text;
  for (const std::wstring& row : rows) text += row + L"\r\n";
  switch (encoding) {
    case TextEncoding::Ansi:
      if (auto bytes = ansi.FromWide(text); bytes && !FindMark(*bytes)) return {encoding, std::move(*bytes)};
      return {TextEncoding::Utf8, WithMark(TextEncoding::Utf8, ToUtf8(text))};
    case TextEncoding::Utf8: return {encoding, WithMark(encoding, ToUtf8(text))};
    case TextEncoding::Utf16LE: return {encoding, WithMark(encoding, EncodeUtf16(text, false))};
    case TextEncoding::Utf16BE: return {encoding, WithMark(encoding, EncodeUtf16(text, true))};
  }
  return {encoding, {}};
}

TextEncoding EncodingByMark(std::string_view bytes) {
  const auto mark = FindMark(bytes);
  return mark ? mark->encoding : TextEncoding::Ansi;
}

std::string_view ByteOrderMarkOf(TextEncoding encoding) { return MarkBytes(encoding); }

std::wstring DecodeText(std::string_view bytes, TextEncoding encoding, const AnsiCodePage& ansi) {
  return Decoded(bytes, encoding, ansi);
}

std::optional<std::string> EncodeText(std::wstring_view text, TextEncoding encoding, const AnsiCodePage& ansi) {
  switch (encoding) {
    case TextEncoding::Ansi: return ansi.FromWide(text);
    case TextEncoding::Utf8: return ToUtf8(text);
    case TextEncoding::Utf16LE: return EncodeUtf16(text, false);
    case TextEncoding::Utf16BE: return EncodeUtf16(text, true);
  }
  return std::nullopt;
}

TargetRow SplitTargetRow(std::wstring_view row) {
  const size_t tab = row.find(L'\t');
  if (tab == std::wstring_view::npos) return {L"", std::wstring(row)};
  return {std::wstring(row.substr(0, tab)), std::wstring(row.substr(tab + 1))};
}

std::wstring JoinTargetRow(std::wstring_view name, std::wstring_view progId) {
  return std::wstring(name) + L'\t' + std::wstring(progId);
}
