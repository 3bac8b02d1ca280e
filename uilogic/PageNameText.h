// Page names as the pager shows them: on one line, in the page menu, the
// status field's tooltip and the copied page list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/SheetNames.h"

// A TAB, a line break (CR LF, CR or LF), a NUL and the CAD's multi-line
// text code \P each become one space.
std::wstring OneLine(std::wstring_view text);

// The texts on one line, two spaces apart, empty ones left out.
std::wstring NameLabel(const PageName& name);

// The status field's hint: the name of the page the status shows, or the
// plain hint when it shows none or the page has no name.
std::wstring StatusHint(std::wstring_view status, const std::vector<PageName>& names);
