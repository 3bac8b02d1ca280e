#include "PageProcess.h"

#include <filesystem>
#include <stdexcept>

#include "Eventually.h"
#include "ui/ControlIds.h"

namespace {

constexpr DWORD kEndTimeout = 20000;

std::filesystem::path BuiltPageProgram() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return std::filesystem::path(path).parent_path() / L"page.exe";
}

}  // namespace

PageProgramFolder::PageProgramFolder() {
  static int created = 0;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      (L"page-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++created));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(BuiltPageProgram(), folder / L"page.exe");
  FPath = folder.wstring();
}

PageProgramFolder::~PageProgramFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

UniqueHandle StartPageProgram(const std::wstring& program, DWORD& processId) {
  std::wstring commandLine = L"\"" + program + L"\"";
  const std::wstring folder = std::filesystem::path(program).parent_path().wstring();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Wine now and then refuses a start with ERROR_INTERNAL_ERROR right after
  // the program was copied; a second try starts it.
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                       &startup, &process)) {
      error = ERROR_SUCCESS;
      break;
    }
    error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR) break;
    Sleep(200);
  }
  if (error != ERROR_SUCCESS) throw std::runtime_error("cannot start page.exe: error " + std::to_string(error));
  const UniqueHandle thread(process.hThread);
  processId = process.dwProcessId;
  return UniqueHandle(process.hProcess);
}

PageProcess::PageProcess(const std::wstring& program) : FProcess(StartPageProgram(program, FId)) {
  WaitForInputIdle(FProcess.Get(), kEndTimeout);
  FPager = PagerWindow(WaitForWindow(kPagerWindowClass));
  if (FPager.Handle()) return;
  const bool running = Running();
  TerminateProcess(FProcess.Get(), 99);
  throw std::runtime_error(running ? "page.exe shows no pager window" : "page.exe ended");
}

PageProcess::~PageProcess() {
  if (!Running()) return;
  TerminateProcess(FProcess.Get(), 99);
  WaitForSingleObject(FProcess.Get(), kEndTimeout);
}

HWND PageProcess::WaitForWindow(const wchar_t* windowClass, const wchar_t* caption) const {
  HWND found = nullptr;
  Eventually([&] {
    found = FindProcessWindow(FId, windowClass, caption);
    return found != nullptr || !Running();
  });
  return found;
}

bool PageProcess::Close() {
  PostMessageW(FPager.Handle(), WM_CLOSE, 0, 0);
  return WaitForSingleObject(FProcess.Get(), kEndTimeout) == WAIT_OBJECT_0;
}

DWORD PageProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(FProcess.Get(), &code);
  return code;
}
