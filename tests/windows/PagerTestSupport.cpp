#include "PagerTestSupport.h"

#include <chrono>
#include <utility>

namespace {

struct ChildQuery {
  const wchar_t* childClass;
  std::wstring texts;
  int count = 0;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
  auto& query = *reinterpret_cast<ChildQuery*>(data);
  wchar_t name[64]{};
  GetClassNameW(child, name, 64);
  if (lstrcmpiW(name, query.childClass) == 0) {
    if (query.count++) query.texts += L"|";
    query.texts += WindowText(child);
  }
  return TRUE;
}

}  // namespace

ModalWatcher::ModalWatcher(const wchar_t* windowClass, const wchar_t* caption, std::function<void(HWND)> inspect) {
  const DWORD testThread = GetCurrentThreadId();
  FThread = std::thread([this, testThread, windowClass, caption, inspect = std::move(inspect)] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      HWND window = FindWindowW(windowClass, caption);
      if (window && IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == testThread) {
        FFound = true;
        inspect(window);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
}

std::wstring WindowText(HWND window) {
  wchar_t text[512]{};
  // WM_GETTEXT, which also reaches windows of other threads.
  SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring ChildTexts(HWND window, const wchar_t* childClass) {
  ChildQuery query{childClass, L"", 0};
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&query));
  return query.texts;
}

int ChildCount(HWND window, const wchar_t* childClass) {
  ChildQuery query{childClass, L"", 0};
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&query));
  return query.count;
}
