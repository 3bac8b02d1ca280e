// Decodes arbitrary bytes as a target list file, writes the rows back in
// the encoding found and reads them again: the rows must survive. The same
// bytes, read as wide text, feed the profile integer rule.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ProfileInteger.h"
#include "settings/TargetListCodec.h"
#include "tests/native/TargetListTestCodePage.h"

namespace {

// Text either is a number, whatever the default, or gives the default;
// a number written back in decimal reads as itself.
void CheckIntegerRule(std::string_view bytes) {
  const std::wstring text = Latin1CodePage().ToWide(bytes);
  const int32_t value = ParseProfileInteger(text, 0);
  if (value != ParseProfileInteger(text, 1)) {
    if (value != 0 || ParseProfileInteger(text, 1) != 1) __builtin_trap();
  } else if (ParseProfileInteger(std::to_wstring(value), 0) != value) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Latin1CodePage ansi;
  const TargetListText first = DecodeTargetList(bytes, ansi);
  const EncodedTargetList encoded = EncodeTargetList(first.rows, first.encoding, ansi);
  const TargetListText second = DecodeTargetList(encoded.bytes, ansi);
  if (second.rows != first.rows || second.encoding != encoded.encoding) __builtin_trap();
  CheckIntegerRule(bytes);
  return 0;
}
