// What both of the program's windows share: the window object that owns its
// HWND, its dpi and fonts, the focus it gives back when it is active again,
// and the path by which the window goes away. Each form keeps only its own
// handlers.
#pragma once

#include "win/ControlLayout.h"
#include "win/Win32Api.h"

// The style of the modal dialogs.
inline constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
inline constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;

class FormWindow {
 public:
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND Handle() const { return FHandle; }

  // The window procedure's entry (WindowProcOf<FormWindow>).
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  FormWindow(int clientWidth96, int clientHeight96) : FClientWidth(clientWidth96), FClientHeight(clientHeight96) {}
  // Destroys a window that still exists without calling into the form,
  // whose own part is gone by then: a form that must see its destruction
  // calls DestroyForm in its own destructor.
  virtual ~FormWindow();

  // Registers the class once and creates the window with this object as
  // its owner. False when either fails.
  bool CreateForm(HINSTANCE instance, const wchar_t* className, HICON icon, DWORD exStyle, const wchar_t* caption,
                  DWORD style, HWND owner);
  void DestroyForm();

  // WM_CREATE: the controls exist from here on. False fails the creation.
  virtual bool FormCreated() = 0;
  // The form's own messages; true when handled, with the result set.
  virtual bool FormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // Places the controls and gives them their fonts for Dpi().
  virtual void Relayout() = 0;

  HWND Control(int id) const { return GetDlgItem(FHandle, id); }
  UINT Dpi() const { return FDpi; }
  FontSet& Fonts() { return FFonts; }

  // Sizes the window for its client area at the dpi and lays it out again.
  void ApplyDpi(UINT dpi);
  // After a move: the window may now be on a monitor of another dpi.
  void FollowMonitorDpi();
  // Centres the window on the work area of the monitor the reference
  // window is on (the primary one without it), at that monitor's dpi.
  void CentreOnMonitorOf(HWND reference);
  // The focused control, remembered when the form is left, given back
  // (or the fallback the first time) when it is entered again.
  void RememberFocus();
  void RestoreFocus(HWND fallback);

 private:
  const int FClientWidth;
  const int FClientHeight;
  HWND FHandle = nullptr;
  HWND FFocus = nullptr;
  UINT FDpi = 96;
  FontSet FFonts;
};
