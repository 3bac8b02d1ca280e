#include "uilogic/PlotSheets.h"

#include "pages/Pages.h"
#include "plot/PlotFileNames.h"
#include "uilogic/PageNameText.h"

std::vector<PlotSheet> PlotSheetsFor(std::span<const int> pages, const TWakuList& frames,
                                     const std::vector<PageName>& names, const std::vector<std::wstring>& tags,
                                     std::wstring_view pattern, std::wstring_view drawingStem) {
  std::vector<PlotSheet> sheets;
  const int count = static_cast<int>(frames.size());
  for (const int page : pages) {
    if (page < 0 || page >= count) continue;
    const size_t index = static_cast<size_t>(page);
    const PageName name = index < names.size() ? names[index] : PageName();
    FileNameFields fields{std::wstring(drawingStem), PaddedPageNumber(page + 1, count), {}};
    for (size_t t = 0; t < tags.size(); ++t)
      fields.tags.emplace_back(tags[t], t < name.size() ? OneLine(name[t]) : L"");
    sheets.push_back(
        {frames[index], page + 1, NameLabel(name), SafeFileName(ExpandFileNamePattern(pattern, fields), fields.page)});
  }
  return sheets;
}

std::wstring DrawingFolder(std::wstring_view identity) {
  const size_t slash = identity.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(identity.substr(0, slash));
}

std::wstring DrawingStem(std::wstring_view identity) {
  std::wstring title = DrawingTitle(identity);
  const size_t dot = title.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0) title.resize(dot);
  return title;
}
