#include "PagerTestSupport.h"

#include <chrono>
#include <utility>

#include "win/Win32Controls.h"

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

struct WindowQuery {
  const wchar_t* windowClass;
  const wchar_t* caption;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto& query = *reinterpret_cast<WindowQuery*>(data);
  wchar_t name[64]{};
  GetClassNameW(window, name, 64);
  if (!IsWindowVisible(window) || (query.windowClass && lstrcmpW(name, query.windowClass) != 0) ||
      (query.caption && WindowText(window) != query.caption))
    return TRUE;
  query.found = window;
  return FALSE;
}

// Only the test thread's windows: another program's may be on the desktop.
HWND VisibleThreadWindow(DWORD thread, const wchar_t* windowClass, const wchar_t* caption) {
  WindowQuery query{windowClass, caption};
  EnumThreadWindows(thread, MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

}  // namespace

ModalWatcher::ModalWatcher(const wchar_t* windowClass, const wchar_t* caption, std::function<void(HWND)> inspect) {
  const DWORD testThread = GetCurrentThreadId();
  FThread = std::thread([this, testThread, windowClass, caption, inspect = std::move(inspect)] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      HWND window = VisibleThreadWindow(testThread, windowClass, caption);
      if (window) {
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

bool FocusClosesTheInputMethod(HWND field, HWND elsewhere) {
  SetFocus(elsewhere);
  {
    const UniqueInputContext opened = WindowInputContext(elsewhere);
    if (!opened || !ImmSetOpenStatus(opened.Get().context, TRUE)) return false;
  }
  SetFocus(field);
  const UniqueInputContext context = WindowInputContext(field);
  return GetFocus() == field && context && !ImmGetOpenStatus(context.Get().context);
}

HICON MessageBoxIcon(HWND box) {
  HICON icon = nullptr;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM found) {
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
        *reinterpret_cast<HICON*>(found) = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&icon));
  return icon;
}
