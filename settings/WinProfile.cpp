#include "settings/WinProfile.h"

#include <windows.h>

#include <iterator>
#include <optional>
#include <string>

#include "common/FileError.h"
#include "settings/SettingsFileEncoding.h"

std::wstring WinProfile::ReadString(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& defaultValue) {
  wchar_t buffer[kProfileValueMaxLength + 1];
  const DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                                  static_cast<DWORD>(std::size(buffer)), FPath.c_str());
  return std::wstring(buffer, length);
}

bool WinProfile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  try {
    const std::optional<std::string> current =
        FFiles.Exists(FPath) ? std::optional<std::string>(FFiles.ReadAll(FPath)) : std::nullopt;
    if (const auto bytes = UnicodeSettingsBytes(current, value, FAnsi)) FFiles.WriteAtomically(FPath, *bytes);
  } catch (const FileError&) {
    return false;
  }
  return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), FPath.c_str()) != FALSE;
}

void WinProfile::WriteChanges(std::span<const ProfileChange> changes) {
  WriteProfileChanges(FFiles, FPath, changes, FAnsi);
}
