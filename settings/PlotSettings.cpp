#include "settings/PlotSettings.h"

#include <vector>

#include "common/AsciiCase.h"

namespace {

constexpr wchar_t kSection[] = L"Plot";

}  // namespace

PlotSettings LoadPlotSettings(Profile& profile) {
  PlotSettings settings;
  const auto read = [&profile](const wchar_t* key) { return profile.ReadString(kSection, key, L""); };
  settings.device = read(L"Device");
  settings.media = read(L"Media");
  settings.styleSheet = read(L"StyleSheet");
  settings.asPaper = EqualIgnoringAsciiCase(std::wstring_view(read(L"Orientation")), std::wstring_view(L"Paper"));
  settings.folder = read(L"Folder");
  settings.pattern = read(L"Pattern");
  settings.toPrinter = EqualIgnoringAsciiCase(std::wstring_view(read(L"Output")), std::wstring_view(L"Printer"));
  settings.remembered = !settings.device.empty();
  return settings;
}

void SavePlotSettings(Profile& profile, const PlotSettings& settings) {
  const std::vector<ProfileChange> changes{
      {kSection, L"Output", settings.toPrinter ? L"Printer" : L"PDF"},
      {kSection, L"Device", settings.device},
      {kSection, L"Media", settings.media},
      {kSection, L"StyleSheet", settings.styleSheet},
      {kSection, L"Orientation", settings.asPaper ? L"Paper" : L"Auto"},
      {kSection, L"Folder", settings.folder},
      {kSection, L"Pattern", settings.pattern},
  };
  profile.WriteChanges(changes);
}
