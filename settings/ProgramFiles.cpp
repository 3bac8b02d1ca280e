#include "settings/ProgramFiles.h"

namespace {

// Path separators and the drive colon both end the folder part.
constexpr std::wstring_view kFolderDelimiters = L"\\/:";

size_t FileNameStart(std::wstring_view path) {
  const size_t delimiter = path.find_last_of(kFolderDelimiters);
  return delimiter == std::wstring_view::npos ? 0 : delimiter + 1;
}

}  // namespace

std::wstring SettingsFilePath(std::wstring_view programPath) {
  const size_t nameStart = FileNameStart(programPath);
  const size_t dot = programPath.rfind(L'.');
  const size_t stemEnd = dot == std::wstring_view::npos || dot < nameStart ? programPath.size() : dot;
  return std::wstring(programPath.substr(0, stemEnd)) + L".ini";
}

std::wstring TargetListFilePath(std::wstring_view programPath) {
  return std::wstring(programPath.substr(0, FileNameStart(programPath))) + L"TargetCAD_APIVersion.txt";
}
