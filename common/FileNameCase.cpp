// The table of the platforms without the system's own: the scripts of
// file names met in practice (Latin, Greek, Cyrillic, full-width Latin),
// each letter to its simple upper case.
#include "common/FileNameCase.h"

#include <cstdint>

namespace {

// A run where letters alternate upper, lower: the lower ones are odd
// (or even, when upperIsOdd) and follow their upper one.
bool InPairedRun(wchar_t c, wchar_t first, wchar_t last, bool upperIsOdd) {
  return c >= first && c <= last && ((c % 2 == 1) != upperIsOdd);
}

wchar_t Upper(wchar_t c) {
  constexpr wchar_t kLatin1LowerFirst = 0x00E0, kLatin1LowerLast = 0x00FE, kDivision = 0x00F7;
  constexpr wchar_t kYDiaeresis = 0x00FF, kCapitalYDiaeresis = 0x0178;
  constexpr wchar_t kGreekLowerFirst = 0x03B1, kGreekLowerLast = 0x03CB, kFinalSigma = 0x03C2, kSigma = 0x03A3;
  constexpr wchar_t kCyrillicLowerFirst = 0x0430, kCyrillicLowerLast = 0x044F;
  constexpr wchar_t kCyrillicIeGraveFirst = 0x0450, kCyrillicIeGraveLast = 0x045F;
  constexpr wchar_t kFullWidthLowerFirst = 0xFF41, kFullWidthLowerLast = 0xFF5A;

  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
  if (c < 0x80) return c;
  if (c >= kLatin1LowerFirst && c <= kLatin1LowerLast && c != kDivision) return static_cast<wchar_t>(c - 0x20);
  if (c == kYDiaeresis) return kCapitalYDiaeresis;
  // Latin Extended-A: pairs, upper first, with the runs that start odd.
  if (InPairedRun(c, 0x0100, 0x012F, false) || InPairedRun(c, 0x0132, 0x0137, false) ||
      InPairedRun(c, 0x0139, 0x0148, true) || InPairedRun(c, 0x014A, 0x0177, false) ||
      InPairedRun(c, 0x0179, 0x017E, true))
    return static_cast<wchar_t>(c - 1);
  if (c == kFinalSigma) return kSigma;
  if (c >= kGreekLowerFirst && c <= kGreekLowerLast) return static_cast<wchar_t>(c - 0x20);
  if (c >= kCyrillicLowerFirst && c <= kCyrillicLowerLast) return static_cast<wchar_t>(c - 0x20);
  if (c >= kCyrillicIeGraveFirst && c <= kCyrillicIeGraveLast) return static_cast<wchar_t>(c - 0x50);
  if (InPairedRun(c, 0x0460, 0x0481, false) || InPairedRun(c, 0x048A, 0x04BF, false))
    return static_cast<wchar_t>(c - 1);
  if (c >= kFullWidthLowerFirst && c <= kFullWidthLowerLast) return static_cast<wchar_t>(c - 0x20);
  return c;
}

}  // namespace

bool EqualIgnoringFileNameCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

std::wstring UpperFileNameCase(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = Upper(c);
  return upper;
}
