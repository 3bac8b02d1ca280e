#include "settings/Settings.h"

#include <algorithm>
#include <limits>

#include "cad/TargetCad.h"
#include "common/FileError.h"
#include "settings/ProfileInteger.h"

namespace {

const std::wstring kFormSection = L"Form";
const std::wstring kWakuSection = L"Waku";
const std::wstring kTargetSection = L"Target";

std::wstring ReadText(Profile& profile, const std::wstring& section, const std::wstring& key,
                      const std::wstring& defaultValue) {
  std::wstring value = profile.ReadString(section, key, defaultValue);
  if (value.size() > kProfileValueMaxLength) value.resize(kProfileValueMaxLength);
  return value;
}

int ReadInteger(Profile& profile, const std::wstring& section, const std::wstring& key, int defaultValue) {
  return ParseProfileInteger(ReadText(profile, section, key, L""), defaultValue);
}

void WriteText(Profile& profile, const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  if (!profile.WriteString(section, key, value)) throw CannotWriteError(profile.Path());
}

// A position read from the file may be as large as an int goes.
int SaturatedSum(int a, int b) {
  const long long sum = static_cast<long long>(a) + b;
  return static_cast<int>(std::clamp<long long>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

void Profile::WriteChanges(std::span<const ProfileChange> changes) {
  for (const ProfileChange& change : changes) WriteText(*this, change.section, change.key, change.value);
}

WindowOrigin ClampToMonitor(WindowOrigin origin, int width, int height, const ScreenRect& monitor) {
  if (origin.left < monitor.left) origin.left = monitor.left;
  if (origin.top < monitor.top) origin.top = monitor.top;
  if (origin.left > monitor.right - width) origin.left = monitor.right - width;
  if (origin.top > monitor.bottom - height) origin.top = monitor.bottom - height;
  return origin;
}

void LoadSettings(Profile& profile, SettingsWindow& window, const MonitorLayout& monitors) {
  const int width = window.Width();
  const int height = window.Height();
  const ScreenRect primary = monitors.Primary();
  WindowOrigin origin;
  origin.left = ReadInteger(profile, kFormSection, L"Left", (primary.right - primary.left - width) / 2);
  origin.top = ReadInteger(profile, kFormSection, L"Top", (primary.bottom - primary.top - height) / 2);
  const ScreenRect saved{origin.left, origin.top, SaturatedSum(origin.left, width), SaturatedSum(origin.top, height)};
  window.MoveTo(ClampToMonitor(origin, width, height, monitors.NearestTo(saved)));
  window.SetLayerText(ReadText(profile, kWakuSection, L"Layer", kDefaultFrameLayer));
  window.SetBlockPattern(ReadText(profile, kWakuSection, L"Blocks", L""));
  TargetProgId = ReadText(profile, kTargetSection, L"ProgId", kDefaultProgId);
  TargetAppName = ReadText(profile, kTargetSection, L"AppName", kDefaultAppName);
}

void SaveSettings(Profile& profile, const SettingsWindow& window) {
  const WindowOrigin origin = window.Origin();
  WriteText(profile, kFormSection, L"Left", std::to_wstring(origin.left));
  WriteText(profile, kFormSection, L"Top", std::to_wstring(origin.top));
  WriteText(profile, kWakuSection, L"Layer", window.LayerText());
  WriteText(profile, kTargetSection, L"ProgId", TargetProgId);
  WriteText(profile, kTargetSection, L"AppName", TargetAppName);
}
