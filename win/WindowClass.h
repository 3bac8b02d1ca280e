// The window procedure of a window class T: finds the object the window
// belongs to and lets it dispatch, with no exception crossing the edge.
// T provides LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM); the object
// is passed as the creation parameter of CreateWindowExW.
#pragma once

#include "win/ErrorReporting.h"
#include "win/Win32Api.h"

template <class T>
LRESULT CALLBACK WindowProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return Guarded([&] { return self->HandleMessage(window, message, wParam, lParam); }, LRESULT{0});
}

// Registers the class once per process; later calls find it registered.
template <class T>
bool RegisterWindowClassOf(const wchar_t* className, HINSTANCE instance, HICON icon, HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &WindowProcOf<T>;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
