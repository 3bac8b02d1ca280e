#include "settings/Settings.h"

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

}  // namespace

WindowOrigin ClampToScreen(WindowOrigin origin, int width, int height, ScreenSize screen) {
  if (origin.left < 0) origin.left = 0;
  if (origin.top < 0) origin.top = 0;
  if (origin.left > screen.width - width) origin.left = screen.width - width;
  if (origin.top > screen.height - height) origin.top = screen.height - height;
  return origin;
}

void LoadSettings(Profile& profile, SettingsWindow& window, ScreenSize screen) {
  const int width = window.Width();
  const int height = window.Height();
  WindowOrigin origin;
  origin.left = ReadInteger(profile, kFormSection, L"Left", (screen.width - width) / 2);
  origin.top = ReadInteger(profile, kFormSection, L"Top", (screen.height - height) / 2);
  window.MoveTo(ClampToScreen(origin, width, height, screen));
  window.SetLayerText(ReadText(profile, kWakuSection, L"Layer", L"KESTRA"));
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
