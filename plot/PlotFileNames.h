// The names of the files a plot writes: the pattern's fields filled, the
// name made one Windows accepts, the path kept short, and never a name
// that is already taken.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The page number zero-padded to the digits of the page count: 03 of 12.
std::wstring PaddedPageNumber(int number, int pageCount);

struct FileNameFields {
  std::wstring drawing;  // the drawing's file name without its extension
  std::wstring page;     // the padded page number
  // Each [Waku] Names tag with the sheet's text for it, on one line.
  std::vector<std::pair<std::wstring, std::wstring>> tags;
};

// Replaces {図面}, {ページ} and {TAG} (a tag in any letter case) by their
// fields; any other brace stays as written.
std::wstring ExpandFileNamePattern(std::wstring_view pattern, const FileNameFields& fields);

// The default pattern: the page and the tags, or the drawing and the page
// without tags.
std::wstring DefaultFileNamePattern(const std::vector<std::wstring>& tags);

// A name Windows accepts: the characters it refuses become '_', trailing
// dots and spaces go, a reserved device name (CON, NUL, COM1, ... with or
// without an extension) gets '_' in front, and an empty name becomes the
// page number.
std::wstring SafeFileName(std::wstring_view name, std::wstring_view pageNumber);

inline constexpr size_t kMostPathLength = 239;  // a path stays under 240 characters

// folder\stem<suffix><extension>, the stem cut (never inside a surrogate
// pair) so that the path stays under 240 characters; empty when even one
// character of the stem does not fit.
std::wstring FittedPath(std::wstring_view folder, std::wstring_view stem, std::wstring_view suffix,
                        std::wstring_view extension);

// The first of folder\stem.ext, folder\stem (2).ext, (3), ... that exists
// answers false for; empty when no such name fits under 240 characters.
std::wstring FreePath(std::wstring_view folder, std::wstring_view stem, std::wstring_view extension,
                      const std::function<bool(const std::wstring&)>& exists);
