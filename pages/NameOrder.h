// The order of pages by their names, as a person sorts sheet numbers:
// A-2 before A-10, 2階 before 10階.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Negative when a comes before b, positive when after, 0 for a tie. Texts
// compare run by run, a run being a maximal run of digits (ASCII or
// full-width) or of other characters: digit runs by value (equal values:
// the shorter run first), a digit run before any other run, other runs
// character by character ignoring letter case, full-width Latin letters as
// their half-width ones. A text that is the start of the other comes first.
int CompareSheetTexts(std::wstring_view a, std::wstring_view b);

// Tag by tag, the first tag that differs deciding.
int CompareSheetNames(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b);
