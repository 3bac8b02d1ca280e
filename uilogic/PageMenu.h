// The page menu's contents: the drawing the pages belong to, then one item
// per page of the last Get, the page the last command showed checked, in
// columns of 30.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/SheetNames.h"

inline constexpr int kPageMenuColumnLength = 30;
inline constexpr wchar_t kCopyPageListLabel[] = L"一覧をコピー";
inline constexpr wchar_t kSettingsLabel[] = L"設定(&S)...";
inline constexpr wchar_t kPlotLabel[] = L"印刷(&P)...";
// The status field's hint when it names no page.
inline constexpr wchar_t kStatusHint[] = L"ページ番号";

struct PageMenuItem {
  int page;  // 1-based; 0 for the items that name the drawing or say there are no pages
  std::wstring label;
  bool checked;
  bool enabled;
  bool newColumn;  // starts a column of its own
};

// The columns the page rows take; the drawing's title above the first
// column is no page row.
int PageMenuColumns(int pageCount);

// Whether the page items are labelled with their names: from 40 columns on
// a name would be cut to nothing but its ellipsis, and the numbers stand
// alone.
bool PageMenuShowsNames(int pageCount);

// First a disabled item with the drawing's title, unless it is empty (pages
// that belong to no drawing); with no pages, a disabled item that says so.
// checkedPage is 1-based, 0 for none.
std::vector<PageMenuItem> PageMenuItems(int pageCount, int checkedPage, const std::wstring& drawingTitle);

// The page a "k / N" status shows, when N is the page count and k one of
// its pages; 0 for a status that shows no page (a bare count, or empty).
int PageInStatus(std::wstring_view status, int pageCount);

// Each page's item labelled with its name after its number, two spaces
// apart: "3  A-103  2階平面図". names holds one name per page.
void AddPageNames(std::vector<PageMenuItem>& items, const std::vector<PageName>& names);

// The label as it is when widthOf finds it no wider than maxWidth, else
// its longest start that fits with an ellipsis after it.
std::wstring FitLabel(const std::wstring& label, int maxWidth, const std::function<int(std::wstring_view)>& widthOf);
