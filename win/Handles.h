// The owners of the Win32 handles the program and its tools hold, one
// UniqueResource per handle kind, and the scopes that put back more than
// a handle.
#pragma once

#include "common/UniqueResource.h"
#include "win/Win32Api.h"
// After windows.h: CoTaskMemFree.
#include <combaseapi.h>

namespace handle_traits {

// Kernel objects (files, events, threads, processes). Creation functions
// report failure with either null or INVALID_HANDLE_VALUE.
struct Kernel {
  using Handle = HANDLE;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static bool IsValid(Handle handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) noexcept { return CloseHandle(handle) != FALSE; }
};

struct Window : NullWhenNone<HWND> {
  static bool Close(Handle handle) noexcept { return DestroyWindow(handle) != FALSE; }
};

template <class GdiObject>
struct Gdi : NullWhenNone<GdiObject> {
  static bool Close(GdiObject handle) noexcept { return DeleteObject(handle) != FALSE; }
};

// Memory the shell hands over with CoTaskMemAlloc, such as a known folder's path.
struct CoTaskString : NullWhenNone<wchar_t*> {
  static bool Close(Handle handle) noexcept {
    CoTaskMemFree(handle);
    return true;
  }
};

struct MemoryDc : NullWhenNone<HDC> {
  static bool Close(Handle handle) noexcept { return DeleteDC(handle) != FALSE; }
};

// A device context borrowed from a window (GetDC, GetWindowDC), given back
// to that window.
struct WindowDcHandle {
  HWND window;
  HDC dc;
};
struct WindowDc {
  using Handle = WindowDcHandle;
  static constexpr Handle Invalid() noexcept { return {nullptr, nullptr}; }
  static bool IsValid(Handle handle) noexcept { return handle.dc != nullptr; }
  static bool Close(Handle handle) noexcept { return ReleaseDC(handle.window, handle.dc) != 0; }
};

// Global memory, as the clipboard takes it (GlobalAlloc).
struct GlobalMemory : NullWhenNone<HGLOBAL> {
  static bool Close(Handle handle) noexcept { return GlobalFree(handle) == nullptr; }
};

struct AcceleratorTable : NullWhenNone<HACCEL> {
  static bool Close(Handle handle) noexcept { return DestroyAcceleratorTable(handle) != FALSE; }
};

struct RegistryKey : NullWhenNone<HKEY> {
  static bool Close(Handle handle) noexcept { return RegCloseKey(handle) == ERROR_SUCCESS; }
};

struct Menu : NullWhenNone<HMENU> {
  static bool Close(Handle handle) noexcept { return DestroyMenu(handle) != FALSE; }
};

// A hot key registered for a window under an ID (RegisterHotKey).
struct HotKeyHandle {
  HWND window;
  int id;
};
struct HotKey {
  using Handle = HotKeyHandle;
  static constexpr Handle Invalid() noexcept { return {nullptr, 0}; }
  static bool IsValid(Handle handle) noexcept { return handle.window != nullptr; }
  static bool Close(Handle handle) noexcept { return UnregisterHotKey(handle.window, handle.id) != FALSE; }
};

// An object selected into a device context, and the one it replaced.
struct SelectionHandle {
  HDC dc;
  HGDIOBJ previous;
};
struct Selection {
  using Handle = SelectionHandle;
  static constexpr Handle Invalid() noexcept { return {nullptr, nullptr}; }
  static bool IsValid(Handle handle) noexcept { return handle.dc != nullptr && handle.previous != nullptr; }
  static bool Close(Handle handle) noexcept { return SelectObject(handle.dc, handle.previous) != nullptr; }
};

// A window's input context (ImmGetContext), given back to the window.
struct InputContextHandle {
  HWND window;
  HIMC context;
};
struct InputContext {
  using Handle = InputContextHandle;
  static constexpr Handle Invalid() noexcept { return {nullptr, nullptr}; }
  static bool IsValid(Handle handle) noexcept { return handle.context != nullptr; }
  static bool Close(Handle handle) noexcept { return ImmReleaseContext(handle.window, handle.context) != FALSE; }
};

}  // namespace handle_traits

using UniqueHandle = UniqueResource<handle_traits::Kernel>;
using UniqueWindow = UniqueResource<handle_traits::Window>;
using UniqueFont = UniqueResource<handle_traits::Gdi<HFONT>>;
using UniqueBrush = UniqueResource<handle_traits::Gdi<HBRUSH>>;
using UniquePen = UniqueResource<handle_traits::Gdi<HPEN>>;
using UniqueBitmap = UniqueResource<handle_traits::Gdi<HBITMAP>>;
using UniqueRegion = UniqueResource<handle_traits::Gdi<HRGN>>;
using UniqueMemoryDc = UniqueResource<handle_traits::MemoryDc>;
using UniqueCoTaskString = UniqueResource<handle_traits::CoTaskString>;
using UniqueWindowDc = UniqueResource<handle_traits::WindowDc>;
using UniqueGlobalMemory = UniqueResource<handle_traits::GlobalMemory>;
using UniqueKey = UniqueResource<handle_traits::RegistryKey>;
using UniqueAccelerators = UniqueResource<handle_traits::AcceleratorTable>;
using UniqueMenu = UniqueResource<handle_traits::Menu>;
using UniqueHotKey = UniqueResource<handle_traits::HotKey>;
using UniqueSelection = UniqueResource<handle_traits::Selection>;
using UniqueInputContext = UniqueResource<handle_traits::InputContext>;

// The client area's device context (GetDC); with no window, the screen's.
inline UniqueWindowDc ClientDc(HWND window) noexcept { return UniqueWindowDc({window, GetDC(window)}); }
// The whole window's device context, non-client area included (GetWindowDC).
inline UniqueWindowDc WholeWindowDc(HWND window) noexcept { return UniqueWindowDc({window, GetWindowDC(window)}); }
// Selects the object into the device context until the owner puts the
// previous one back.
inline UniqueSelection SelectInto(HDC dc, HGDIOBJ object) noexcept {
  return UniqueSelection({dc, SelectObject(dc, object)});
}
// The window's input context; none when the window has none.
inline UniqueInputContext WindowInputContext(HWND window) noexcept {
  return UniqueInputContext({window, ImmGetContext(window)});
}

// BeginPaint and EndPaint: a scope, since it keeps the paint structure.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) noexcept : FWindow(window) { BeginPaint(window, &FPaint); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { EndPaint(FWindow, &FPaint); }

  HDC Dc() const noexcept { return FPaint.hdc; }
  const RECT& Invalid() const noexcept { return FPaint.rcPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
};
