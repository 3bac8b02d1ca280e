// What the pager's windows need from the machine they run on, checked
// where the Windows suite runs: the Japanese code page and a UI face with
// Japanese glyphs.
#include <gtest/gtest.h>
#include <windows.h>

#include "win/Handles.h"

TEST(WineEnvironmentTest, AnsiCodePageIsJapanese) { EXPECT_EQ(GetACP(), 932u); }

TEST(WineEnvironmentTest, UiFacesHaveJapaneseGlyphs) {
  const UniqueWindowDc screenDc = ClientDc(nullptr);
  const HDC screen = screenDc.Get().dc;
  ASSERT_NE(screen, nullptr);
  for (const wchar_t* face : {L"MS UI Gothic", L"MS Shell Dlg", L"Tahoma"}) {
    const UniqueFont font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face));
    ASSERT_TRUE(font);
    const UniqueSelection select = SelectInto(screen, font.Get());
    WORD glyphs[4] = {};
    EXPECT_EQ(GetGlyphIndicesW(screen, L"取得前へ", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 4u);
    for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF) << "a glyph is missing in the face for " << face;
  }
}
