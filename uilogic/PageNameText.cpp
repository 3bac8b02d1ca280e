#include "uilogic/PageNameText.h"

#include "uilogic/PageMenu.h"

std::wstring OneLine(std::wstring_view text) {
  std::wstring line;
  line.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    const wchar_t next = i + 1 < text.size() ? text[i + 1] : L'\0';
    if (c == L'\r' && next == L'\n') {
      line += L' ';
      ++i;
    } else if (c == L'\\' && (next == L'P' || next == L'\\')) {
      // \\ is a backslash of the text itself, never the start of a code.
      line += next == L'P' ? std::wstring(L" ") : std::wstring(L"\\\\");
      ++i;
    } else {
      line += c == L'\t' || c == L'\r' || c == L'\n' || c == L'\0' ? L' ' : c;
    }
  }
  return line;
}

std::wstring NameLabel(const PageName& name) {
  std::wstring label;
  for (const std::wstring& text : name) {
    if (text.empty()) continue;
    if (!label.empty()) label += L"  ";
    label += OneLine(text);
  }
  return label;
}

std::wstring StatusHint(std::wstring_view status, const std::vector<PageName>& names) {
  const int page = PageInStatus(status, static_cast<int>(names.size()));
  const std::wstring name = page > 0 ? NameLabel(names[static_cast<size_t>(page - 1)]) : std::wstring();
  return name.empty() ? std::wstring(kStatusHint) : name;
}
