// A Profile over the private-profile functions, on a settings file kept in
// an encoding that holds every value written (see SettingsFileEncoding).
#pragma once

#include "settings/FileSystem.h"
#include "settings/Settings.h"
#include "settings/TargetListCodec.h"

class WinProfile : public Profile {
 public:
  WinProfile(std::wstring path, FileSystem& files, const AnsiCodePage& ansi)
      : FPath(std::move(path)), FFiles(files), FAnsi(ansi) {}

  const std::wstring& Path() const override { return FPath; }
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) override;
  bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
  void WriteChanges(std::span<const ProfileChange> changes) override;

 private:
  std::wstring FPath;
  FileSystem& FFiles;
  const AnsiCodePage& FAnsi;
};
