#include "win/ParentMessages.h"

namespace {

constexpr UINT_PTR kParentMessagesSubclass = 1;

// An edit field would show its own Copy/Paste menu and keep the wheel.
LRESULT CALLBACK ParentMessagesProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL: return SendMessageW(GetParent(control), message, wParam, lParam);
    case WM_NCDESTROY: RemoveWindowSubclass(control, ParentMessagesProc, kParentMessagesSubclass); break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void PassMenuAndWheelToParent(HWND control) {
  SetWindowSubclass(control, ParentMessagesProc, kParentMessagesSubclass, 0);
}
