#include "theme/VisualStyle.h"

#include <memory>
#include <string>

#include "theme/StyleNotFoundDialog.h"
#include "theme/StylePainting.h"
#include "win/Dpi.h"
#include "win/SystemLibrary.h"
#include "win/Win32Api.h"

namespace {

constexpr DWORD kImmersiveDarkModeAttribute = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE
constexpr UINT_PTR kFieldBorderSubclass = 1;
constexpr UINT_PTR kGroupFrameSubclass = 2;

std::unique_ptr<VisualStyle>& Current() {
  static std::unique_ptr<VisualStyle> style = std::make_unique<VisualStyle>();
  return style;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[32]{};
  GetClassNameW(window, name, 32);
  return name;
}

LONG_PTR ButtonType(HWND button) { return GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK; }

const StylePalette& PaletteOf(DWORD_PTR data) { return *reinterpret_cast<const StylePalette*>(data); }

// Edit fields and list boxes keep their sunken client edge, repainted flat:
// the outline, in the accent while focused, around a ring in the field colour.
LRESULT CALLBACK FieldBorderProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  switch (message) {
    case WM_NCPAINT: {
      // The control draws its scroll bar first; the edge is painted over.
      DefSubclassProc(field, message, wParam, lParam);
      const StylePalette& palette = PaletteOf(data);
      const UniqueWindowDc windowDc = WholeWindowDc(field);
      RECT rect;
      GetWindowRect(field, &rect);
      OffsetRect(&rect, -rect.left, -rect.top);
      const UniqueBrush outline(CreateSolidBrush(ToColorRef(GetFocus() == field ? palette.accent : palette.border)));
      const UniqueBrush ring(CreateSolidBrush(ToColorRef(palette.field)));
      FrameRect(windowDc.Get().dc, &rect, outline.Get());
      InflateRect(&rect, -1, -1);
      FrameRect(windowDc.Get().dc, &rect, ring.Get());
      return 0;
    }
    case WM_ERASEBKGND: {
      // An owner-drawn list box leaves the space below its rows to the erase.
      RECT client;
      GetClientRect(field, &client);
      const UniqueBrush fill(CreateSolidBrush(ToColorRef(PaletteOf(data).field)));
      FillRect(reinterpret_cast<HDC>(wParam), &client, fill.Get());
      return 1;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(field, message, wParam, lParam);
      RedrawWindow(field, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(field, FieldBorderProc, kFieldBorderSubclass); break;
  }
  return DefSubclassProc(field, message, wParam, lParam);
}

// A caption-less group box: only its outline, so the controls inside,
// which are its siblings, stay visible.
LRESULT CALLBACK GroupFrameProc(HWND group, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  switch (message) {
    case WM_PAINT: {
      const ScopedPaint paint(group);
      const UINT dpi = DpiForWindow(group);
      RECT rect;
      GetClientRect(group, &rect);
      // Where a caption's middle would be, as the platform draws it.
      rect.top += ScaleForDpi(5, dpi);
      DrawRoundFrame(paint.Dc(), rect, ScaleForDpi(8, dpi), ToColorRef(PaletteOf(data).border), nullptr);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_NCDESTROY: RemoveWindowSubclass(group, GroupFrameProc, kGroupFrameSubclass); break;
  }
  return DefSubclassProc(group, message, wParam, lParam);
}

void StyleTooltip(HWND tooltip, const StylePalette& palette) {
  // The platform's dark tooltips where it has them; elsewhere a classic
  // tooltip in the palette's colours.
  if (HTHEME theme = ThemeOpenData(tooltip, L"DarkMode_Explorer::Tooltip")) {
    ThemeCloseData(theme);
    ThemeSetWindow(tooltip, L"DarkMode_Explorer", nullptr);
    return;
  }
  ThemeSetWindow(tooltip, L"", L"");
  SendMessageW(tooltip, TTM_SETTIPBKCOLOR, ToColorRef(palette.button), 0);
  SendMessageW(tooltip, TTM_SETTIPTEXTCOLOR, ToColorRef(palette.text), 0);
}

bool HandleCustomDraw(const NMCUSTOMDRAW& draw, const StylePalette& palette, LRESULT& result) {
  if (ClassOf(draw.hdr.hwndFrom) != WC_BUTTONW) return false;
  const LONG_PTR type = ButtonType(draw.hdr.hwndFrom);
  const bool pushButton = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
  const bool checkBox = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
  if (!pushButton && !checkBox) return false;
  if (draw.dwDrawStage != CDDS_PREPAINT) {
    result = CDRF_DODEFAULT;
    return true;
  }
  if (pushButton) {
    DrawPushButton(draw, palette);
  } else {
    DrawCheckBox(draw, palette);
  }
  result = CDRF_SKIPDEFAULT;
  return true;
}

}  // namespace

VisualStyle::VisualStyle(std::optional<StylePalette> palette) : FPalette(palette) {
  if (!FPalette) return;
  FWindowBrush = UniqueBrush(CreateSolidBrush(ToColorRef(FPalette->window)));
  FFieldBrush = UniqueBrush(CreateSolidBrush(ToColorRef(FPalette->field)));
}

HBRUSH VisualStyle::WindowBrush() const { return Dark() ? FWindowBrush.Get() : GetSysColorBrush(COLOR_BTNFACE); }

void VisualStyle::StyleTopLevel(HWND window) const {
  if (!Dark()) return;
  // Refused under Wine; absent before Windows 10.
  const BOOL dark = TRUE;
  DwmSetAttribute(window, kImmersiveDarkModeAttribute, &dark, sizeof dark);
}

void VisualStyle::StyleControl(HWND control) const {
  if (!Dark()) return;
  const auto data = reinterpret_cast<DWORD_PTR>(&*FPalette);
  const std::wstring windowClass = ClassOf(control);
  if (windowClass == WC_EDITW || windowClass == WC_LISTBOXW) {
    SetWindowSubclass(control, FieldBorderProc, kFieldBorderSubclass, data);
    // Dark scroll bars where the platform has them.
    if (windowClass == WC_LISTBOXW) ThemeSetWindow(control, L"DarkMode_Explorer", nullptr);
    SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  } else if (windowClass == WC_BUTTONW && ButtonType(control) == BS_GROUPBOX) {
    SetWindowSubclass(control, GroupFrameProc, kGroupFrameSubclass, data);
  } else if (windowClass == TOOLTIPS_CLASSW) {
    StyleTooltip(control, *FPalette);
  } else if (windowClass == WC_LISTVIEWW) {
    ListView_SetBkColor(control, ToColorRef(FPalette->field));
    ListView_SetTextBkColor(control, ToColorRef(FPalette->field));
    ListView_SetTextColor(control, ToColorRef(FPalette->text));
    ThemeSetWindow(control, L"DarkMode_Explorer", nullptr);
  }
}

DWORD VisualStyle::ListBoxStyle() const { return Dark() ? LBS_OWNERDRAWFIXED | LBS_HASSTRINGS : LBS_USETABSTOPS; }

bool VisualStyle::HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
  if (!Dark()) return false;
  const StylePalette& palette = *FPalette;
  const auto dc = reinterpret_cast<HDC>(wParam);
  const auto control = reinterpret_cast<HWND>(lParam);
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      SetTextColor(dc, ToColorRef(palette.text));
      SetBkColor(dc, ToColorRef(palette.field));
      result = reinterpret_cast<LRESULT>(FieldBrush());
      return true;
    case WM_CTLCOLORSTATIC: {
      // Read-only edit fields ask with this message too.
      const bool field = ClassOf(control) == WC_EDITW;
      SetTextColor(dc, ToColorRef(palette.text));
      SetBkColor(dc, ToColorRef(field ? palette.field : palette.window));
      result = reinterpret_cast<LRESULT>(field ? FieldBrush() : WindowBrush());
      return true;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: result = reinterpret_cast<LRESULT>(WindowBrush()); return true;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      return header.code == NM_CUSTOMDRAW &&
             HandleCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam), palette, result);
    }
    case WM_MENUCHAR: return ChooseMenuItemByKey(reinterpret_cast<HMENU>(lParam), LOWORD(wParam), result);
    case WM_MEASUREITEM: {
      auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure.CtlType != ODT_MENU) return false;
      MeasureMenuItem(measure);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw.CtlType == ODT_LISTBOX) {
        DrawListItem(draw, palette);
      } else if (draw.CtlType == ODT_MENU) {
        DrawMenuItem(draw, palette);
      } else {
        return false;
      }
      result = TRUE;
      return true;
    }
  }
  return false;
}

std::optional<StylePalette> LoadStyleResource(HMODULE module, const std::wstring& resourceName) {
  HRSRC resource = FindResourceW(module, resourceName.c_str(), RT_RCDATA);
  if (!resource) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return ParseStylePalette(std::string_view(static_cast<const char*>(bytes), SizeofResource(module, resource)));
}

const VisualStyle& CurrentStyle() { return *Current(); }

bool ApplyVisualStyle(HMODULE module, const std::wstring& styleName) {
  const std::optional<StylePalette> palette = LoadStyleResource(module, StyleResourceName(styleName));
  if (!palette) {
    ShowStyleNotFound(styleName);
    return false;
  }
  Current() = std::make_unique<VisualStyle>(palette);
  return true;
}
