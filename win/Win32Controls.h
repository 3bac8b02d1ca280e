// One-line helpers over the controls' window messages.
#pragma once

#include <string>

#include "win/Handles.h"
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

// Run when the field gets the focus: typing starts in direct input, and the
// user can switch the input method on as usual.
inline void CloseInputMethod(HWND edit) {
  const UniqueInputContext context = WindowInputContext(edit);
  if (context) ImmSetOpenStatus(context.Get().context, FALSE);
}

// The wait cursor until the end of the scope, then the cursor before it.
// Set at once: while a command waits for the CAD no message comes to set it.
class WaitCursor {
 public:
  WaitCursor() : FPrevious(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor() { SetCursor(FPrevious); }

 private:
  HCURSOR FPrevious;
};
