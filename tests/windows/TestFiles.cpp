#include "TestFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

TestFolder::TestFolder() {
  static int created = 0;
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      (L"page-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++created));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  FPath = path.wstring();
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(FPath, ignored)) {
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(FPath, ignored);
}

std::wstring TestFolder::File(std::wstring_view name) const { return FPath + L"\\" + std::wstring(name); }

std::wstring TestFolder::Listing() const {
  std::set<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(FPath)) names.insert(entry.path().filename().wstring());
  std::wstring listing;
  for (const std::wstring& name : names) listing += (listing.empty() ? L"" : L"|") + name;
  return listing;
}

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::wstring& path, std::string_view bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("the test could not write its file");
}

ExclusiveFileLock::ExclusiveFileLock(const std::wstring& path)
    : FHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

void ExclusiveFileLock::Release() {
  if (Held()) CloseHandle(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
}
