// One-line helpers over the controls' window messages.
#pragma once

#include <string>

#include "win/Win32Api.h"

inline std::wstring Text(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)), L'\0');
  if (!text.empty())
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()) + 1)));
  return text;
}
inline void SetText(HWND control, const std::wstring& text) { SetWindowTextW(control, text.c_str()); }
inline bool Checked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }
inline void SetFont(HWND control, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
// The field accepts no input method composition.
inline void CloseInputMethod(HWND edit) { ImmAssociateContext(edit, nullptr); }
