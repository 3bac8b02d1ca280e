#include "sim/CommandLine.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "common/AsciiCase.h"

namespace sim {

namespace {

// Command names may carry the transparent prefix ' and the
// language-neutral prefix _, in either order.
std::wstring Keyword(std::wstring_view input) {
  while (!input.empty() && (input.front() == L'\'' || input.front() == L'_')) input.remove_prefix(1);
  return UpperAscii(input);
}

std::optional<double> Coordinate(std::wstring_view text) {
  std::string narrow;
  for (wchar_t c : text) {
    if (c > 0x7F) return std::nullopt;
    narrow.push_back(static_cast<char>(c));
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (narrow.empty() || error != std::errc{} || end != narrow.data() + narrow.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

struct Point {
  double x, y;
};

// "x,y" or "x,y,z", '.' the decimal mark: "0,000,0,000" is no point.
std::optional<Point> ParsePoint(std::wstring_view input) {
  std::vector<double> values;
  while (true) {
    const size_t comma = input.find(L',');
    const auto value = Coordinate(input.substr(0, comma));
    if (!value) return std::nullopt;
    values.push_back(*value);
    if (comma == std::wstring_view::npos) break;
    input.remove_prefix(comma + 1);
  }
  if (values.size() != 2 && values.size() != 3) return std::nullopt;
  return Point{values[0], values[1]};
}

bool EndsInput(wchar_t c) { return c == L' ' || c == L'\r' || c == L'\n'; }

}  // namespace

std::vector<ZoomCorners> CommandLine::Feed(std::wstring_view text) {
  std::vector<ZoomCorners> zooms;
  for (const wchar_t c : text) {
    if (EndsInput(c)) {
      const std::wstring input = std::move(FPending);
      FPending.clear();
      Enter(input, zooms);
    } else {
      FPending.push_back(c);
    }
  }
  return zooms;
}

void CommandLine::Reset() {
  FPrompt = Prompt::Command;
  FPending.clear();
}

// An input the prompt cannot take cancels the command, so that a badly
// written zoom leaves the view where it was.
void CommandLine::Enter(std::wstring_view input, std::vector<ZoomCorners>& zooms) {
  switch (FPrompt) {
    case Prompt::Command: {
      const std::wstring command = Keyword(input);
      if (command == L"ZOOM" || command == L"Z") FPrompt = Prompt::ZoomOption;
      break;
    }
    case Prompt::ZoomOption: {
      const std::wstring option = Keyword(input);
      FPrompt = option == L"W" || option == L"WINDOW" ? Prompt::FirstCorner : Prompt::Command;
      break;
    }
    case Prompt::FirstCorner: {
      const auto corner = ParsePoint(input);
      FPrompt = corner ? Prompt::SecondCorner : Prompt::Command;
      if (corner) {
        FFirstX = corner->x;
        FFirstY = corner->y;
      }
      break;
    }
    case Prompt::SecondCorner: {
      if (const auto corner = ParsePoint(input)) zooms.push_back(ZoomCorners{FFirstX, FFirstY, corner->x, corner->y});
      FPrompt = Prompt::Command;
      break;
    }
  }
}

}  // namespace sim
