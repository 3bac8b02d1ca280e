#include "plot/PlotFileNames.h"

#include <array>

#include "common/AsciiCase.h"

namespace {

bool RefusedCharacter(wchar_t c) {
  return c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

void TrimTrailingDotsAndSpaces(std::wstring& name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
}

bool IsReservedDeviceName(std::wstring_view name) {
  const std::wstring_view base = name.substr(0, name.find(L'.'));
  static constexpr std::array<std::wstring_view, 4> kPlain{L"CON", L"PRN", L"AUX", L"NUL"};
  for (const std::wstring_view reserved : kPlain)
    if (EqualIgnoringAsciiCase(base, reserved)) return true;
  if (base.size() != 4 || base[3] < L'1' || base[3] > L'9') return false;
  return EqualIgnoringAsciiCase(base.substr(0, 3), std::wstring_view(L"COM")) ||
         EqualIgnoringAsciiCase(base.substr(0, 3), std::wstring_view(L"LPT"));
}

// A folder written with forward slashes only is joined with one.
std::wstring Joined(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  const wchar_t separator =
      folder.find(L'\\') == std::wstring_view::npos && folder.find(L'/') != std::wstring_view::npos ? L'/' : L'\\';
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += separator;
  return path + std::wstring(name);
}

}  // namespace

std::wstring PaddedPageNumber(int number, int pageCount) {
  std::wstring text = std::to_wstring(number);
  const size_t digits = std::to_wstring(pageCount).size();
  if (text.size() < digits) text.insert(0, digits - text.size(), L'0');
  return text;
}

std::wstring ExpandFileNamePattern(std::wstring_view pattern, const FileNameFields& fields) {
  std::wstring name;
  size_t at = 0;
  while (at < pattern.size()) {
    const size_t open = pattern.find(L'{', at);
    const size_t close = open == std::wstring_view::npos ? open : pattern.find(L'}', open);
    if (close == std::wstring_view::npos) break;
    name += pattern.substr(at, open - at);
    const std::wstring_view field = pattern.substr(open + 1, close - open - 1);
    const std::wstring* value = nullptr;
    if (field == L"図面") value = &fields.drawing;
    if (field == L"ページ") value = &fields.page;
    for (const auto& [tag, text] : fields.tags)
      if (!value && EqualIgnoringAsciiCase(field, std::wstring_view(tag))) value = &text;
    name += value ? std::wstring_view(*value) : pattern.substr(open, close - open + 1);
    at = close + 1;
  }
  return name + std::wstring(pattern.substr(std::min(at, pattern.size())));
}

std::wstring DefaultFileNamePattern(const std::vector<std::wstring>& tags) {
  if (tags.empty()) return L"{図面}-{ページ}";
  std::wstring pattern = L"{ページ}";
  for (const std::wstring& tag : tags) pattern += L"_{" + tag + L"}";
  return pattern;
}

std::wstring SafeFileName(std::wstring_view name, std::wstring_view pageNumber) {
  std::wstring safe(name);
  for (wchar_t& c : safe)
    if (RefusedCharacter(c)) c = L'_';
  TrimTrailingDotsAndSpaces(safe);
  if (safe.empty()) return std::wstring(pageNumber);
  if (IsReservedDeviceName(safe)) safe.insert(0, 1, L'_');
  return safe;
}

std::wstring FittedPath(std::wstring_view folder, std::wstring_view stem, std::wstring_view suffix,
                        std::wstring_view extension) {
  const size_t fixed = Joined(folder, L"").size() + suffix.size() + extension.size();
  if (fixed >= kMostPathLength) return {};
  std::wstring cut(stem.substr(0, std::min(stem.size(), kMostPathLength - fixed)));
  if (cut.size() < stem.size() && !cut.empty() && IsHighSurrogate(cut.back())) cut.pop_back();
  // A cut can leave a trailing space or dot, which Windows drops from a name.
  TrimTrailingDotsAndSpaces(cut);
  if (cut.empty()) return {};
  return Joined(folder, cut + std::wstring(suffix) + std::wstring(extension));
}

std::wstring FreePath(std::wstring_view folder, std::wstring_view stem, std::wstring_view extension,
                      const std::function<bool(const std::wstring&)>& exists) {
  for (int copy = 1; copy < 10000; ++copy) {
    const std::wstring suffix = copy == 1 ? std::wstring() : L" (" + std::to_wstring(copy) + L")";
    const std::wstring path = FittedPath(folder, stem, suffix, extension);
    if (path.empty()) return {};
    if (!exists(path)) return path;
  }
  return {};
}
