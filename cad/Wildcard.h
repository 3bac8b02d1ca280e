// The CAD's wildcard patterns, as its selection filters match layer and
// block names: without regard to letter case. The pager matches names it
// reads itself by the same rules.
#pragma once

#include <string_view>

// `*` any run, `?` one character, `#` a digit, `@` a letter, `.` one
// non-alphanumeric character, `[...]` and `[~...]` sets with ranges, a
// leading `~` negating the pattern, `` ` `` escaping, `,` separating
// alternatives.
bool WildcardMatch(std::wstring_view pattern, std::wstring_view text);
