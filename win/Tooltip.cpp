#include "win/Tooltip.h"

bool Tooltip::Create(HINSTANCE instance) {
  FWindow =
      UniqueWindow(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                                   0, 0, 0, nullptr, nullptr, instance, nullptr));
  return Handle() != nullptr;
}

void Tooltip::Add(HWND control, const wchar_t* hint) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(hint);
  SendMessageW(Handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}
