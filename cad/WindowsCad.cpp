#include "cad/WindowsCad.h"

#include <windows.h>

#include "cad/ComAutomation.h"
#include "cad/ComError.h"
#include "cad/ComPtr.h"

namespace {

// An unregistered ProgID's failure reaches the caller.
CLSID ClassOf(const std::wstring& progId) {
  CLSID id{};
  ThrowIfFailed(CLSIDFromProgID(progId.c_str(), &id));
  return id;
}

HWND ToWindow(int64_t window) { return reinterpret_cast<HWND>(static_cast<intptr_t>(window)); }

}  // namespace

bool ComObjectTable::IsActive(const std::wstring& progId) {
  const CLSID id = ClassOf(progId);
  ComPtr<IUnknown> active;
  return SUCCEEDED(GetActiveObject(id, nullptr, active.Put()));
}

DispatchPtr ComObjectTable::GetActive(const std::wstring& progId) {
  const CLSID id = ClassOf(progId);
  ComPtr<IUnknown> active;
  ThrowIfFailed(GetActiveObject(id, nullptr, active.Put()));
  return WrapDispatch(active.Get());
}

bool Win32WindowControl::IsIconic(int64_t window) { return ::IsIconic(ToWindow(window)) != FALSE; }

void Win32WindowControl::OpenIcon(int64_t window) { ::OpenIcon(ToWindow(window)); }

void Win32WindowControl::SetForegroundWindow(int64_t window) { ::SetForegroundWindow(ToWindow(window)); }
