#include "ui/Tooltip.h"

#include "ui/Win32Api.h"

bool Tooltip::Create(HWND owner) {
  FHandle =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                      owner, nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), nullptr);
  return FHandle != nullptr;
}

void Tooltip::Add(HWND control, const wchar_t* hint) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(hint);
  SendMessageW(FHandle, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}
