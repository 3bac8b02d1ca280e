#include "settings/PlotSettings.h"

#include "common/AsciiCase.h"
#include "common/FileError.h"

namespace {

constexpr wchar_t kSection[] = L"Plot";

void Write(Profile& profile, const wchar_t* key, const std::wstring& value) {
  if (!profile.WriteString(kSection, key, value)) throw CannotWriteError(profile.Path());
}

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
  Write(profile, L"Output", settings.toPrinter ? L"Printer" : L"PDF");
  Write(profile, L"Device", settings.device);
  Write(profile, L"Media", settings.media);
  Write(profile, L"StyleSheet", settings.styleSheet);
  Write(profile, L"Orientation", settings.asPaper ? L"Paper" : L"Auto");
  Write(profile, L"Folder", settings.folder);
  Write(profile, L"Pattern", settings.pattern);
}
