// The colours of a visual style, as the program carries them: a small
// text resource of "name = #RRGGBB" lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// 0xRRGGBB.
using StyleColor = uint32_t;

struct StylePalette {
  StyleColor window;         // window and dialog background
  StyleColor button;         // push button face
  StyleColor buttonHover;    // face under the mouse
  StyleColor buttonPressed;  // face while held down
  StyleColor border;         // button, field, group and check box outlines
  StyleColor text;
  StyleColor disabledText;
  StyleColor accent;        // focus and selection
  StyleColor field;         // edit fields and the list box
  StyleColor selectedText;  // text on the accent
};

// Every key once, blank lines and lines starting with ';' ignored. Nothing
// when a key is missing, unknown or repeated, or a colour is malformed.
std::optional<StylePalette> ParseStylePalette(std::string_view text);

// The resource a style is carried in: "Windows10 Dark" is WINDOWS10_DARK.
std::wstring StyleResourceName(std::wstring_view styleName);

std::wstring StyleNotFoundText(std::wstring_view styleName);
