#include "win/SingleInstance.h"

namespace {

// The property's name is the instance name; its value only says "marked".
HANDLE const kMarked = reinterpret_cast<HANDLE>(1);

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

}  // namespace

SingleInstance::SingleInstance(const std::wstring& name) : FMutex(CreateMutexW(nullptr, FALSE, name.c_str())) {
  FFirst = !FMutex.Get() || GetLastError() != ERROR_ALREADY_EXISTS;
}

void MarkInstanceWindow(HWND window, const std::wstring& name) { SetPropW(window, name.c_str(), kMarked); }

bool BringInstanceWindowForward(const std::wstring& name) {
  constexpr int kTries = 50;
  constexpr DWORD kPause = 100;
  for (int i = 0; i < kTries; ++i) {
    if (HWND window = FindMarkedWindow(name)) {
      if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
      SetForegroundWindow(window);
      return true;
    }
    Sleep(kPause);
  }
  return false;
}
