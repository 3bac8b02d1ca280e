// The status field's tooltip text.
#pragma once

#include <string>
#include <string_view>

// The first line (the field's hint, or the name of the page shown), then
// the reason the last command stopped, on a second line when there is one.
std::wstring StatusTooltipText(std::wstring_view firstLine, std::wstring_view reason);

// The third line after a Get that found no frame: the dialog that helps.
inline constexpr wchar_t kOpenSettingsHint[] = L"ダブルクリックで設定を開きます";
