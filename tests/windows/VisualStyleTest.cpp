#include <gtest/gtest.h>

#include "PagerTestSupport.h"
#include "theme/StylePalette.h"
#include "theme/VisualStyle.h"

namespace {

TEST(VisualStyleTest, TheCarriedStyleResourceIsComplete) {
  const std::optional<StylePalette> palette =
      LoadStyleResource(GetModuleHandleW(nullptr), StyleResourceName(kDarkStyleName));
  ASSERT_TRUE(palette.has_value()) << "WINDOWS10_DARK missing or malformed";
  EXPECT_EQ(palette->window, 0x2B2B2Bu);
  EXPECT_EQ(palette->text, 0xFFFFFFu);
  EXPECT_EQ(palette->selectedText, 0x000000u);
  // Text must stand out from every surface it is drawn on.
  EXPECT_NE(palette->text, palette->button);
  EXPECT_NE(palette->selectedText, palette->accent);
}

TEST(VisualStyleTest, AMissingStyleIsReportedWithOneCloseButtonAndTheDefaultLookStays) {
  EXPECT_FALSE(LoadStyleResource(GetModuleHandleW(nullptr), L"NO_SUCH_STYLE").has_value());

  std::wstring texts;
  int buttons = -1;
  ModalWatcher watcher(L"#32770", nullptr, [&](HWND dialog) {
    texts = ChildTexts(dialog, L"Static");
    buttons = ChildCount(dialog, L"Button");
    PostMessageW(dialog, WM_COMMAND, IDCLOSE, 0);
  });
  const VisualStyle* before = &CurrentStyle();
  EXPECT_FALSE(ApplyVisualStyle(GetModuleHandleW(nullptr), L"No Such Style"));
  EXPECT_EQ(&CurrentStyle(), before);

  ASSERT_TRUE(watcher.Found());
  EXPECT_NE(texts.find(L"スタイル 'No Such Style' が見つかりません"), std::wstring::npos) << texts;
  // No full stop: this message does not go through the default error reporting.
  EXPECT_EQ(texts.find(L"見つかりません."), std::wstring::npos) << texts;
  EXPECT_EQ(buttons, 1);
}

}  // namespace
