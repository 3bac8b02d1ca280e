#include "win/Dpi.h"

#include "win/Handles.h"
#include "win/SystemLibrary.h"

namespace {

SIZE OuterSizeForClient(int clientWidth96, int clientHeight96, DWORD style, DWORD exStyle, UINT dpi) {
  using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = FindSystemFunction<AdjustForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{0, 0, ScaleForDpi(clientWidth96, dpi), ScaleForDpi(clientHeight96, dpi)};
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi))
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

UINT DpiForWindow(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = FindSystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  if (getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  const int dpi = GetDeviceCaps(ClientDc(nullptr).Get().dc, LOGPIXELSX);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

void ResizeForClient(HWND window, int clientWidth96, int clientHeight96, UINT dpi) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  const SIZE outer = OuterSizeForClient(clientWidth96, clientHeight96, style, exStyle, dpi);
  SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveToSuggestedRect(HWND window, const RECT& suggested) {
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
