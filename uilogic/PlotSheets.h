// The plot dialog's portable side: the sheets of the chosen pages with
// their labels and file names, and where their files go by default.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/SheetNames.h"
#include "pages/Waku.h"
#include "plot/PlotJob.h"

// The pages (0-based indexes of frames) as sheets: each labelled with its
// name on one line, and named by the pattern with the drawing's name, the
// padded page number and each tag's text, made safe.
std::vector<PlotSheet> PlotSheetsFor(std::span<const int> pages, const TWakuList& frames,
                                     const std::vector<PageName>& names, const std::vector<std::wstring>& tags,
                                     std::wstring_view pattern, std::wstring_view drawingStem);

// The identity's folder (FullName without its file name); empty for a
// drawing never saved, whose identity is a bare name.
std::wstring DrawingFolder(std::wstring_view identity);

// The identity's file name without its extension.
std::wstring DrawingStem(std::wstring_view identity);
