#include "ui/FormWindow.h"

#include "theme/VisualStyle.h"
#include "win/Dpi.h"
#include "win/WindowClass.h"

FormWindow::~FormWindow() {
  if (!FHandle) return;
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
  DestroyWindow(FHandle);
}

bool FormWindow::CreateForm(HINSTANCE instance, const wchar_t* className, HICON icon, DWORD exStyle,
                            const wchar_t* caption, DWORD style, HWND owner) {
  if (!RegisterWindowClassOf<FormWindow>(className, instance, icon, CurrentStyle().WindowBrush())) return false;
  return CreateWindowExW(exStyle, className, caption, style, 0, 0, 0, 0, owner, nullptr, instance, this) != nullptr;
}

void FormWindow::DestroyForm() {
  if (FHandle) DestroyWindow(FHandle);
}

LRESULT FormWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT styled; CurrentStyle().HandleParentMessage(message, wParam, lParam, styled)) return styled;
  switch (message) {
    case WM_CREATE:
      FHandle = window;
      FDpi = DpiForWindow(window);
      return FormCreated() ? 0 : -1;
    case WM_DPICHANGED:
      FDpi = HIWORD(wParam);
      MoveToSuggestedRect(FHandle, *reinterpret_cast<const RECT*>(lParam));
      Relayout();
      return 0;
    // What a dialog box does for IsDialogMessage, which sends it to move
    // the focus past a label whose access key was pressed.
    case WM_NEXTDLGCTL: {
      HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                 : GetNextDlgTabItem(window, GetFocus(), static_cast<BOOL>(wParam != 0));
      if (next) SetFocus(next);
      return 0;
    }
    case WM_NCDESTROY:
      FHandle = nullptr;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, wParam, lParam);
  }
  if (LRESULT result = 0; FormMessage(message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

void FormWindow::ApplyDpi(UINT dpi) {
  FDpi = dpi;
  ResizeForClient(FHandle, FClientWidth, FClientHeight, dpi);
  Relayout();
}

void FormWindow::FollowMonitorDpi() {
  if (const UINT dpi = DpiForWindow(FHandle); dpi != FDpi) ApplyDpi(dpi);
}

void FormWindow::CentreOnMonitorOf(HWND reference) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(reference ? reference : FHandle, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(FHandle, nullptr, work.left, work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FollowMonitorDpi();
  RECT rect;
  GetWindowRect(FHandle, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  SetWindowPos(FHandle, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::RememberFocus() {
  HWND focus = GetFocus();
  FFocus = focus && IsChild(FHandle, focus) ? focus : nullptr;
}

void FormWindow::RestoreFocus(HWND fallback) { SetFocus(FFocus ? FFocus : fallback); }
