#include <gtest/gtest.h>

#include "settings/SettingsFileEncoding.h"
#include "tests/native/TargetListTestCodePage.h"

namespace {

const Latin1CodePage kAnsi;
const std::wstring kOutsideTheCodePage = L"\u4E2D\u6587 CAD";

}  // namespace

TEST(SettingsFileEncoding, ANewFileStartsAsUnicode) {
  EXPECT_EQ(UnicodeSettingsBytes(std::nullopt, L"KESTRA", kAnsi), std::string("\xFF\xFE"));
}

TEST(SettingsFileEncoding, AnAnsiFileBecomesUnicodeOnlyForAValueItCannotHold) {
  const std::string ansi = "[Other]\r\nNote=caf\xE9\r\n\r\n[Form]\nLeft=10\r\n";
  EXPECT_FALSE(UnicodeSettingsBytes(ansi, L"caf\u00E9", kAnsi));

  const auto converted = UnicodeSettingsBytes(ansi, kOutsideTheCodePage, kAnsi);
  ASSERT_TRUE(converted);
  const TargetListText text = DecodeTargetList(*converted, kAnsi);
  EXPECT_EQ(text.encoding, TextEncoding::Utf16LE);
  EXPECT_EQ(text.rows, (std::vector<std::wstring>{L"[Other]", L"Note=caf\u00E9", L"", L"[Form]", L"Left=10"}));
}

TEST(SettingsFileEncoding, AFileWithAByteOrderMarkIsLeftInItsEncoding) {
  EXPECT_FALSE(UnicodeSettingsBytes(std::string("\xFF\xFE[\0", 4), kOutsideTheCodePage, kAnsi));
  EXPECT_FALSE(UnicodeSettingsBytes(std::string("\xEF\xBB\xBF[Form]\r\n"), kOutsideTheCodePage, kAnsi));
}
