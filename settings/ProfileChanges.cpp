#include "settings/ProfileChanges.h"

#include <algorithm>
#include <vector>

#include "common/AsciiCase.h"
#include "common/FileError.h"

namespace {

struct Line {
  std::wstring text;
  std::wstring end;   // CR LF, LF, CR or nothing
  std::string bytes;  // as read; empty for a line made or changed here
};

size_t UnitSize(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE ? 2 : 1;
}

// The code unit at a byte offset: CR and LF are recognised in every
// encoding, and never occur inside a multi-byte character of the others.
char16_t UnitAt(std::string_view bytes, size_t at, TextEncoding encoding) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (encoding == TextEncoding::Utf16LE) return static_cast<char16_t>(byte(at) | (byte(at + 1) << 8));
  if (encoding == TextEncoding::Utf16BE) return static_cast<char16_t>((byte(at) << 8) | byte(at + 1));
  return byte(at);
}

std::vector<Line> SplitLines(std::string_view body, TextEncoding encoding, const AnsiCodePage& ansi) {
  const size_t unit = UnitSize(encoding);
  std::vector<Line> lines;
  size_t start = 0;
  while (start < body.size()) {
    size_t end = start;
    while (end + unit <= body.size() && UnitAt(body, end, encoding) != u'\r' && UnitAt(body, end, encoding) != u'\n')
      end += unit;
    if (end + unit > body.size()) end = body.size();
    size_t next = end;
    std::wstring lineEnd;
    if (end < body.size()) {
      const bool cr = UnitAt(body, end, encoding) == u'\r';
      next = end + unit;
      lineEnd = cr ? L"\r" : L"\n";
      if (cr && next + unit <= body.size() && UnitAt(body, next, encoding) == u'\n') {
        next += unit;
        lineEnd = L"\r\n";
      }
    }
    lines.push_back(Line{DecodeText(body.substr(start, end - start), encoding, ansi), lineEnd,
                         std::string(body.substr(start, next - start))});
    start = next;
  }
  return lines;
}

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

bool SameName(std::wstring_view a, std::wstring_view b) { return EqualIgnoringAsciiCase(Trimmed(a), Trimmed(b)); }

// The section a line opens, or nothing.
std::optional<std::wstring_view> SectionOf(const Line& line) {
  const std::wstring_view text = Trimmed(line.text);
  if (text.empty() || text.front() != L'[') return std::nullopt;
  const size_t close = text.find(L']');
  return text.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
}

bool IsKeyLine(const Line& line, std::wstring_view key) {
  const size_t equals = line.text.find(L'=');
  return equals != std::wstring::npos && !SectionOf(line) &&
         SameName(std::wstring_view(line.text).substr(0, equals), key);
}

bool IsBlank(const Line& line) { return Trimmed(line.text).empty(); }

Line NewLine(std::wstring text) { return Line{std::move(text), L"\r\n", {}}; }

std::wstring OneLine(std::wstring value) {
  std::erase_if(value, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
  return value;
}

// A line end for the line before a new one: the line's bytes stay.
void EndLine(Line& line, TextEncoding encoding, const AnsiCodePage& ansi) {
  if (!line.end.empty()) return;
  line.end = L"\r\n";
  if (!line.bytes.empty()) line.bytes += EncodeText(line.end, encoding, ansi).value_or(std::string());
}

void Apply(std::vector<Line>& lines, const ProfileChange& change, TextEncoding encoding, const AnsiCodePage& ansi) {
  const std::wstring value = OneLine(change.value);
  const auto header = std::find_if(lines.begin(), lines.end(), [&](const Line& line) {
    const auto section = SectionOf(line);
    return section && SameName(*section, change.section);
  });
  if (header == lines.end()) {
    if (value.empty()) return;
    if (!lines.empty()) EndLine(lines.back(), encoding, ansi);
    lines.push_back(NewLine(L"[" + change.section + L"]"));
    lines.push_back(NewLine(change.key + L"=" + value));
    return;
  }
  const size_t first = static_cast<size_t>(header - lines.begin()) + 1;
  size_t end = first;
  while (end < lines.size() && !SectionOf(lines[end])) ++end;
  const std::wstring newText = change.key + L"=" + value;
  bool set = false;
  for (size_t i = first; i < end;) {
    if (!IsKeyLine(lines[i], change.key)) {
      ++i;
    } else if (!value.empty() && !set) {
      set = true;
      if (lines[i].text != newText) {
        lines[i].text = newText;
        lines[i].bytes.clear();
      }
      ++i;
    } else if (value.empty()) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      --end;
    } else {
      ++i;  // a later line of the key is never read: left as it is
    }
  }
  if (set || value.empty()) return;
  size_t at = end;
  while (at > first && IsBlank(lines[at - 1])) --at;
  if (at > 0) EndLine(lines[at - 1], encoding, ansi);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), NewLine(newText));
}

bool Holds(const std::vector<Line>& lines, TextEncoding encoding, const AnsiCodePage& ansi) {
  return std::all_of(lines.begin(), lines.end(), [&](const Line& line) {
    return !line.bytes.empty() || EncodeText(line.text + line.end, encoding, ansi).has_value();
  });
}

}  // namespace

std::string ChangedProfileBytes(const std::optional<std::string>& current, std::span<const ProfileChange> changes,
                                const AnsiCodePage& ansi) {
  TextEncoding encoding = current ? EncodingByMark(*current) : TextEncoding::Utf16LE;
  const std::string_view mark = ByteOrderMarkOf(encoding);
  std::vector<Line> lines =
      current ? SplitLines(std::string_view(*current).substr(mark.size()), encoding, ansi) : std::vector<Line>{};
  for (const ProfileChange& change : changes) Apply(lines, change, encoding, ansi);
  if (!Holds(lines, encoding, ansi)) {
    encoding = TextEncoding::Utf16LE;
    for (Line& line : lines) line.bytes.clear();
  }
  std::string bytes(ByteOrderMarkOf(encoding));
  for (const Line& line : lines)
    bytes += line.bytes.empty() ? EncodeText(line.text + line.end, encoding, ansi).value_or(std::string()) : line.bytes;
  return bytes;
}

void WriteProfileChanges(FileSystem& files, const std::wstring& path, std::span<const ProfileChange> changes,
                         const AnsiCodePage& ansi) {
  const std::optional<std::string> current =
      files.Exists(path) ? std::optional<std::string>(files.ReadAll(path)) : std::nullopt;
  files.WriteAtomically(path, ChangedProfileBytes(current, changes, ansi));
}
