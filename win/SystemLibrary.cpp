#include "win/SystemLibrary.h"

#include <map>
#include <string>

FARPROC SystemFunction(const wchar_t* library, const char* function) {
  static std::map<std::wstring, HMODULE> loaded;
  auto found = loaded.find(library);
  if (found == loaded.end()) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    found = loaded.emplace(library, module).first;
  }
  return found->second ? GetProcAddress(found->second, function) : nullptr;
}

HTHEME ThemeOpenData(HWND window, const wchar_t* classList) {
  static const auto open = FindSystemFunction<HTHEME(WINAPI*)(HWND, LPCWSTR)>(L"uxtheme.dll", "OpenThemeData");
  return open ? open(window, classList) : nullptr;
}

void ThemeCloseData(HTHEME theme) {
  static const auto close = FindSystemFunction<HRESULT(WINAPI*)(HTHEME)>(L"uxtheme.dll", "CloseThemeData");
  if (close) close(theme);
}

void ThemeSetWindow(HWND window, const wchar_t* subApplication, const wchar_t* idList) {
  static const auto set =
      FindSystemFunction<HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR)>(L"uxtheme.dll", "SetWindowTheme");
  if (set) set(window, subApplication, idList);
}

void DwmSetAttribute(HWND window, DWORD attribute, const void* value, DWORD size) {
  static const auto set =
      FindSystemFunction<HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD)>(L"dwmapi.dll", "DwmSetWindowAttribute");
  if (set) set(window, attribute, value, size);
}
