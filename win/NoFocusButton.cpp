#include "win/NoFocusButton.h"

#include "win/Win32Api.h"

namespace {

constexpr UINT_PTR kNoFocusSubclass = 1;

bool CursorInside(HWND button, LPARAM lParam) {
  RECT client;
  GetClientRect(button, &client);
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  return PtInRect(&client, point) != FALSE;
}

void Click(HWND button) {
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

// The button's own mouse handling would focus it, so the press is tracked
// here instead.
LRESULT CALLBACK NoFocusProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(button);
      SendMessageW(button, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() != button) break;
      SendMessageW(button, BM_SETSTATE, CursorInside(button, lParam), 0);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() != button) return 0;
      ReleaseCapture();
      if (CursorInside(button, lParam)) Click(button);
      return 0;
    case WM_CAPTURECHANGED: SendMessageW(button, BM_SETSTATE, FALSE, 0); return 0;
    case BM_CLICK: Click(button); return 0;
    case WM_SETFOCUS:
      // Reached only by arrow-key navigation: hand the focus back.
      if (wParam) SetFocus(reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(button, NoFocusProc, kNoFocusSubclass); break;
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

void MakeNoFocusButton(HWND button) { SetWindowSubclass(button, NoFocusProc, kNoFocusSubclass, 0); }
