#include <gtest/gtest.h>

#include <string>

#include "theme/StylePalette.h"

namespace {

const std::string kComplete =
    "; a comment\r\n"
    "window = #2B2B2B\r\n"
    "button=#373737\n"
    "buttonHover = #404040\n"
    "\n"
    "buttonPressed = #2f2f2f\n"
    "border = #4A4A4A\n"
    "text = #FFFFFF\n"
    "disabledText = #7A7A7A\n"
    "accent = #60CDFF\n"
    "field = #1F1F1F\n"
    "selectedText = #000000";

TEST(StylePaletteTest, ReadsEveryColourWithBlanksCommentsAndEitherLineEnd) {
  const std::optional<StylePalette> palette = ParseStylePalette(kComplete);
  ASSERT_TRUE(palette.has_value());
  EXPECT_EQ(palette->window, 0x2B2B2Bu);
  EXPECT_EQ(palette->button, 0x373737u);
  EXPECT_EQ(palette->buttonPressed, 0x2F2F2Fu);
  EXPECT_EQ(palette->accent, 0x60CDFFu);
  EXPECT_EQ(palette->selectedText, 0x000000u);
}

TEST(StylePaletteTest, RejectsIncompleteOrMalformedStyles) {
  const auto without = [](const std::string& line) {
    std::string text = kComplete;
    text.erase(text.find(line), line.size());
    return text;
  };
  EXPECT_FALSE(ParseStylePalette(without("accent = #60CDFF\n"))) << "missing key";
  EXPECT_FALSE(ParseStylePalette(kComplete + "\naccent = #60CDFF")) << "repeated key";
  EXPECT_FALSE(ParseStylePalette(kComplete + "\nshadow = #000000")) << "unknown key";
  EXPECT_FALSE(ParseStylePalette(without("field = #1F1F1F\n") + "\nfield = #1F1F1")) << "five digits";
  EXPECT_FALSE(ParseStylePalette(without("field = #1F1F1F\n") + "\nfield = 1F1F1F")) << "no #";
  EXPECT_FALSE(ParseStylePalette(without("field = #1F1F1F\n") + "\nfield = #1G1F1F")) << "not hexadecimal";
  EXPECT_FALSE(ParseStylePalette(without("field = #1F1F1F\n") + "\nfield #1F1F1F")) << "no =";
  EXPECT_FALSE(ParseStylePalette(""));
}

TEST(StylePaletteTest, NamesTheResourceAndTheMissingStyle) {
  EXPECT_EQ(StyleResourceName(L"Windows10 Dark"), L"WINDOWS10_DARK");
  EXPECT_EQ(StyleNotFoundText(L"Windows10 Dark"), L"スタイル 'Windows10 Dark' が見つかりません");
}

}  // namespace
