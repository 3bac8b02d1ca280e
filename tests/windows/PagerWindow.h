// page.exe's windows seen from another process: the pager (TForm105), the
// target CAD dialog and message boxes, found by class and process, pressed
// with posted BM_CLICK and read with WM_GETTEXT, as a user's clicks and
// eyes would reach them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>

// The visible top-level window of the process (0: any process) with the
// class and, when given, the caption; null when there is none.
HWND FindProcessWindow(DWORD processId, const wchar_t* windowClass, const wchar_t* caption = nullptr);

// The text through WM_GETTEXT; nothing when the window does not answer
// (it may be busy in a call to the CAD).
std::optional<std::wstring> RemoteText(HWND window);
std::wstring RemoteTextOrEmpty(HWND window);

// Presses a button or the check box the way a click does, without waiting.
void PostClick(HWND button);

// Real input, as the keyboard gives it to whichever window has the focus:
// every key down in turn, then up in the reverse order.
void PressKeys(std::initializer_list<WORD> keys);

bool HasExStyle(HWND window, DWORD exStyle);
// Keeps the pointer off the controls, so that no tooltip hides them.
void ParkPointer();
// Real input: the pointer moved to a point of the screen.
void MovePointer(int x, int y);
// Real input: a left click in the middle of the control.
void ClickAt(HWND control);
SIZE ClientSize(HWND window);

class PagerWindow {
 public:
  explicit PagerWindow(HWND window) : FWindow(window) {}

  HWND Handle() const { return FWindow; }
  HWND Control(int id) const { return GetDlgItem(FWindow, id); }
  void Click(int id) const { PostClick(Control(id)); }
  std::wstring Caption() const { return RemoteTextOrEmpty(FWindow); }
  std::wstring Status() const;
  std::wstring Layer() const;
  bool UpperLeftChecked() const;
  // Posts the status field's own context-menu message, as a right click on
  // it makes it (Wine now and then drops a real right click on a window
  // that another program's window was just brought in front of).
  void PostStatusContextMenu() const;

  // Waits until the page status reads the text; false when it never does.
  bool WaitForStatus(const std::wstring& expected) const;
  // Waits until the page status differs from the text; returns the new text.
  std::wstring WaitForStatusOtherThan(const std::wstring& previous) const;

 private:
  HWND FWindow;
};
