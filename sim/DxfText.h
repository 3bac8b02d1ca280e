// Text values of a DXF file as wide strings: UTF-8 from R2007 on, the
// drawing's code page before, and the \U+XXXX escapes of either.
#pragma once

#include <string>
#include <string_view>

namespace sim {

class DxfTextDecoder {
 public:
  // acadVersion as in $ACADVER ("AC1009", empty when the header has none),
  // codePage as in $DWGCODEPAGE ("ANSI_1252", empty when none).
  DxfTextDecoder(std::string_view acadVersion, std::string_view codePage);

  // Throws DxfError naming the line when the bytes cannot be read in the
  // file's encoding.
  std::wstring Decode(std::string_view bytes, size_t line) const;

 private:
  bool FUtf8;
  std::string FCodePage;
};

// What TextString answers for a multi-line text written in the CAD's
// multi-line text codes: each paragraph break (\P) becomes CR LF; every
// other code stays as written.
std::wstring MultiLineText(std::wstring_view codes);

}  // namespace sim
