#include "win/Tooltip.h"

bool Tooltip::Create(HINSTANCE instance) {
  FWindow =
      UniqueWindow(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                                   0, 0, 0, nullptr, nullptr, instance, nullptr));
  if (!Handle()) return false;
  ApplyDpi(USER_DEFAULT_SCREEN_DPI);
  return true;
}

// Only a tooltip with a width limit breaks its text at line feeds.
void Tooltip::ApplyDpi(UINT dpi) {
  constexpr int kMaxWidthAt96 = 480;
  SendMessageW(Handle(), TTM_SETMAXTIPWIDTH, 0, MulDiv(kMaxWidthAt96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI));
}

namespace {

// The control copies the text.
TTTOOLINFOW ToolOf(HWND control, const wchar_t* hint) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(hint);
  return tool;
}

}  // namespace

void Tooltip::Add(HWND control, const wchar_t* hint) {
  TTTOOLINFOW tool = ToolOf(control, hint);
  SendMessageW(Handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltip::SetHint(HWND control, const std::wstring& hint) {
  TTTOOLINFOW tool = ToolOf(control, hint.c_str());
  SendMessageW(Handle(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}
