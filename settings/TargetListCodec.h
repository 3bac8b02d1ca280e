// The bytes of the target list file: rows of name, TAB, ProgID, in UTF-8,
// UTF-16 or the system's ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The system's ANSI code page. On Windows MultiByteToWideChar and
// WideCharToMultiByte with CP_ACP.
class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  virtual std::wstring ToWide(std::string_view bytes) const = 0;
  // Nothing when some character has no representation in the code page.
  virtual std::optional<std::string> FromWide(std::wstring_view text) const = 0;
};

// Ansi is written without a byte-order mark, the others with one.
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct TargetListText {
  TextEncoding encoding;
  std::vector<std::wstring> rows;
};

// The byte-order mark selects the encoding; without one the bytes are
// ANSI. CR LF, CR and LF end rows; an empty line after the last line end
// is no row. Malformed UTF-8 sequences and a dangling odd byte of UTF-16
// become U+FFFD, so the rest of the file stays usable.
TargetListText DecodeTargetList(std::string_view bytes, const AnsiCodePage& ansi);

// Every row followed by CR LF. ANSI text that the code page cannot hold,
// or whose first bytes would read back as a byte-order mark, is written as
// UTF-8 with its mark instead: nothing is lost or misread. The encoding in
// the result is the one actually used.
struct EncodedTargetList {
  TextEncoding encoding;
  std::string bytes;
};
EncodedTargetList EncodeTargetList(const std::vector<std::wstring>& rows, TextEncoding encoding,
                                   const AnsiCodePage& ansi);

// The encoding a file's byte-order mark names; Ansi without one.
TextEncoding EncodingByMark(std::string_view bytes);
std::string_view ByteOrderMarkOf(TextEncoding encoding);
// Text in the encoding, without a mark; nothing when the ANSI code page
// cannot hold it.
std::wstring DecodeText(std::string_view bytes, TextEncoding encoding, const AnsiCodePage& ansi);
std::optional<std::string> EncodeText(std::wstring_view text, TextEncoding encoding, const AnsiCodePage& ansi);

// A row's display name (before the first TAB) and ProgID (after it, later
// TABs included); without a TAB the name is empty and the row the ProgID.
struct TargetRow {
  std::wstring name;
  std::wstring progId;
};
TargetRow SplitTargetRow(std::wstring_view row);
std::wstring JoinTargetRow(std::wstring_view name, std::wstring_view progId);
