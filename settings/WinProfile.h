// A Profile over the private-profile functions.
#pragma once

#include "settings/Settings.h"

class WinProfile : public Profile {
 public:
  explicit WinProfile(std::wstring path) : FPath(std::move(path)) {}

  const std::wstring& Path() const override { return FPath; }
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) override;
  bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;

 private:
  std::wstring FPath;
};
