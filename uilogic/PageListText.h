// The page list the pager puts on the clipboard, ready to paste into a
// spreadsheet.
#pragma once

#include <string>
#include <vector>

#include "pages/SheetNames.h"
#include "pages/Waku.h"

// A header row (ページ, each tag as written, 左, 下, 右, 上), then one row per
// page: its number, its texts on one line, its frame's bounds written with
// a '.' and the fewest digits that read back the same number. TAB between
// fields, CR LF after every row.
std::wstring PageListText(const TWakuList& pages, const std::vector<PageName>& names,
                          const std::vector<std::wstring>& tags);
