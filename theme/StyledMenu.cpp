#include "theme/StyledMenu.h"

#include "theme/VisualStyle.h"

StyledMenu::StyledMenu(HFONT font, UINT dpi) : FMenu(CreatePopupMenu()), FFont(font), FDpi(dpi) {
  if (!CurrentStyle().Dark()) return;
  // Also behind the shorter last column.
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND;
  info.hbrBack = CurrentStyle().WindowBrush();
  SetMenuInfo(FMenu.Get(), &info);
}

void StyledMenu::Add(UINT id, const std::wstring& text, bool checked, bool enabled, bool newColumn) {
  const UINT state =
      (checked ? MF_CHECKED : MF_UNCHECKED) | (enabled ? MF_ENABLED : MF_GRAYED) | (newColumn ? MF_MENUBREAK : 0);
  if (!CurrentStyle().Dark()) {
    AppendMenuW(FMenu.Get(), MF_STRING | state, id, text.c_str());
    return;
  }
  FItems.push_back(std::make_unique<StyledMenuItem>(StyledMenuItem{text, FFont, FDpi}));
  AppendMenuW(FMenu.Get(), MF_OWNERDRAW | state, id, reinterpret_cast<LPCWSTR>(FItems.back().get()));
}

UINT StyledMenu::Track(HWND owner, POINT screen) const {
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; without the posted message the next showing may close at
  // once, as TrackPopupMenu's documentation warns.
  SetForegroundWindow(owner);
  const BOOL chosen =
      TrackPopupMenu(FMenu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                     screen.x, screen.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<UINT>(chosen);
}
