#include "win/SingleInstance.h"

#include <commctrl.h>

#include <vector>

namespace {

// The property's name is the instance name; its value only says "marked".
HANDLE const kMarked = reinterpret_cast<HANDLE>(1);
constexpr UINT_PTR kMarkSubclass = 1;

HWND FindMarkedWindow(const std::wstring& name) {
  struct Search {
    const wchar_t* name;
    HWND found;
  } search{name.c_str(), nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        if (GetPropW(window, s.name) != kMarked) return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void BringForward(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
}

// Takes the mark off as soon as the window begins to go: a start from then
// on waits for the ending pager instead of showing it.
LRESULT CALLBACK UnmarkOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_DESTROY) {
    auto* name = reinterpret_cast<std::wstring*>(data);
    RemovePropW(window, name->c_str());
    RemoveWindowSubclass(window, UnmarkOnDestroy, kMarkSubclass);
    delete name;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

SingleInstance::SingleInstance(const std::wstring& name) : FMutex(CreateMutexW(nullptr, TRUE, name.c_str())) {
  const DWORD error = GetLastError();
  if (!FMutex.Get()) {
    FDenied = error == ERROR_ACCESS_DENIED;
    // Without a mutex at all the pager runs, as it always has.
    FNoMutex = !FDenied;
    return;
  }
  FOwned = error != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
  if (FOwned) ReleaseMutex(FMutex.Get());
}

bool SingleInstance::WaitForTurn(const std::wstring& name) {
  constexpr int kTries = 50;
  constexpr DWORD kPause = 100;
  for (int i = 0; i < kTries; ++i) {
    if (HWND window = FindMarkedWindow(name)) {
      BringForward(window);
      return false;
    }
    const DWORD waited = WaitForSingleObject(FMutex.Get(), kPause);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
      FOwned = true;
      return true;
    }
  }
  return false;
}

void MarkInstanceWindow(HWND window, const std::wstring& name) {
  auto* kept = new std::wstring(name);
  if (!SetWindowSubclass(window, UnmarkOnDestroy, kMarkSubclass, reinterpret_cast<DWORD_PTR>(kept))) {
    delete kept;
    return;
  }
  SetPropW(window, name.c_str(), kMarked);
}

std::wstring FinalPath(const std::wstring& path) {
  const UniqueHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return path;
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < buffer.size()) {
      std::wstring final(buffer.data(), length);
      constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
      constexpr std::wstring_view kLocal = L"\\\\?\\";
      if (final.starts_with(kUnc)) return L"\\\\" + final.substr(kUnc.size());
      if (final.starts_with(kLocal)) return final.substr(kLocal.size());
      return final;
    }
    buffer.resize(length);
  }
}
