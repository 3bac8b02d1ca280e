// The CAD's wildcard patterns for selection filters, matched without
// regard to letter case.
#pragma once

#include <string_view>

namespace sim {

// `*` any run, `?` one character, `#` a digit, `@` a letter, `.` one
// non-alphanumeric character, `[...]` and `[~...]` sets with ranges, a
// leading `~` negating the pattern, `` ` `` escaping, `,` separating
// alternatives.
bool WildcardMatch(std::wstring_view pattern, std::wstring_view text);

}  // namespace sim
