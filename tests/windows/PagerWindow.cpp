#include "PagerWindow.h"

#include <iterator>
#include <vector>

#include "Eventually.h"
#include "ui/ControlIds.h"

namespace {

constexpr UINT kAnswerTimeout = 2000;

struct WindowQuery {
  DWORD processId;
  const wchar_t* windowClass;
  const wchar_t* caption;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto& query = *reinterpret_cast<WindowQuery*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64]{};
  GetClassNameW(window, name, 64);
  if ((query.processId && owner != query.processId) || !IsWindowVisible(window) ||
      lstrcmpW(name, query.windowClass) != 0 || (query.caption && RemoteTextOrEmpty(window) != query.caption))
    return TRUE;
  query.found = window;
  return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* windowClass, const wchar_t* caption) {
  WindowQuery query{processId, windowClass, caption};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

std::optional<std::wstring> RemoteText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kAnswerTimeout, &length)) return std::nullopt;
  std::vector<wchar_t> buffer(length + 1);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL,
                           kAnswerTimeout, &copied))
    return std::nullopt;
  return std::wstring(buffer.data(), copied);
}

std::wstring RemoteTextOrEmpty(HWND window) { return RemoteText(window).value_or(L""); }

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (const WORD key : keys) inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
    inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {*key, 0, KEYEVENTF_KEYUP, 0, 0}}});
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool HasExStyle(HWND window, DWORD exStyle) {
  return (static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)) & exStyle) == exStyle;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

std::wstring PagerWindow::Status() const { return RemoteTextOrEmpty(Control(kPagerEdit2)); }
std::wstring PagerWindow::Layer() const { return RemoteTextOrEmpty(Control(kPagerEdit1)); }

bool PagerWindow::UpperLeftChecked() const {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(Control(kPagerCheckBox1), BM_GETCHECK, 0, 0, SMTO_NORMAL, kAnswerTimeout, &state);
  return state == BST_CHECKED;
}

void PagerWindow::PostStatusContextMenu() const {
  HWND status = Control(kPagerEdit2);
  RECT rect{};
  GetWindowRect(status, &rect);
  PostMessageW(status, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(status),
               MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
}

bool PagerWindow::WaitForStatus(const std::wstring& expected) const {
  return Eventually([&] { return RemoteText(Control(kPagerEdit2)) == expected; });
}

std::wstring PagerWindow::WaitForStatusOtherThan(const std::wstring& previous) const {
  std::wstring status = previous;
  Eventually([&] {
    const std::optional<std::wstring> text = RemoteText(Control(kPagerEdit2));
    if (text) status = *text;
    return status != previous;
  });
  return status;
}

void ParkPointer() { SetCursorPos(0, 0); }

void ClickAt(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  INPUT clicks[2]{};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
}

void MovePointer(int x, int y) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{
      INPUT_MOUSE,
      {.mi = {x * 65535 / (width - 1), y * 65535 / (height - 1), 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0}}};
  SendInput(1, &input, sizeof input);
}
