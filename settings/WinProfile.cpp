#include "settings/WinProfile.h"

#include <windows.h>

#include <iterator>

std::wstring WinProfile::ReadString(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& defaultValue) {
  wchar_t buffer[kProfileValueMaxLength + 1];
  const DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                                  static_cast<DWORD>(std::size(buffer)), FPath.c_str());
  return std::wstring(buffer, length);
}

bool WinProfile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), FPath.c_str()) != FALSE;
}
