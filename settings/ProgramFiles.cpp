#include "settings/ProgramFiles.h"

#include <cstdint>

#include "common/FileNameCase.h"

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

std::wstring PagerInstanceName(std::wstring_view programPath) {
  // FNV-1a over the folder upper-cased as file names compare: a mutex
  // name holds no backslash after its namespace, and a path may be longer
  // than a name may be.
  uint64_t hash = 14695981039346656037ull;
  for (const wchar_t c : UpperFileNameCase(programPath.substr(0, FileNameStart(programPath)))) {
    hash ^= static_cast<uint16_t>(c);
    hash *= 1099511628211ull;
  }
  std::wstring name = L"Local\\PAGE-";
  for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789ABCDEF"[(hash >> shift) & 0xF];
  return name;
}
