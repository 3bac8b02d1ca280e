#include "theme/StyledMenu.h"

#include <algorithm>

#include "theme/VisualStyle.h"
#include "win/Dpi.h"

namespace {

// Beside each item's text: the check mark's margin, the padding, the
// menu's border; generous, so that the platform's menus fit too.
constexpr int kItemMargin = 48;

}  // namespace

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

void StyledMenu::AddCommand(UINT id, const std::wstring& text) {
  if (!CurrentStyle().Dark()) {
    AppendMenuW(FMenu.Get(), MF_STRING, id, text.c_str());
    return;
  }
  FItems.push_back(std::make_unique<StyledMenuItem>(StyledMenuItem{text, FFont, FDpi, false, true}));
  AppendMenuW(FMenu.Get(), MF_OWNERDRAW, id, reinterpret_cast<LPCWSTR>(FItems.back().get()));
}

void StyledMenu::AddSeparator() {
  if (!CurrentStyle().Dark()) {
    AppendMenuW(FMenu.Get(), MF_SEPARATOR, 0, nullptr);
    return;
  }
  // The platform's separator is drawn in light colours.
  FItems.push_back(std::make_unique<StyledMenuItem>(StyledMenuItem{L"", FFont, FDpi, true}));
  AppendMenuW(FMenu.Get(), MF_OWNERDRAW | MF_SEPARATOR, 0, reinterpret_cast<LPCWSTR>(FItems.back().get()));
}

int StyledMenu::TextWidth(std::wstring_view text) const {
  const UniqueWindowDc screen = ClientDc(nullptr);
  const UniqueSelection selectFont = SelectInto(screen.Get().dc, FFont);
  SIZE size{};
  GetTextExtentPoint32W(screen.Get().dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

int StyledMenu::TextWidthLimit(POINT screen, int columns) const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST), &monitor);
  const int width = monitor.rcWork.right - monitor.rcWork.left;
  return std::max(1, width / std::max(1, columns) - ScaleForDpi(kItemMargin, FDpi));
}
