#include "theme/StylePainting.h"

#include <algorithm>
#include <string>

#include "common/AsciiCase.h"
#include "win/Dpi.h"
#include "win/Handles.h"
#include "win/Win32Controls.h"

namespace {

struct ButtonState {
  bool pressed, hot, focused, disabled;
};

ButtonState StateOf(const NMCUSTOMDRAW& draw) {
  const auto buttonState = static_cast<UINT>(SendMessageW(draw.hdr.hwndFrom, BM_GETSTATE, 0, 0));
  return ButtonState{(draw.uItemState & CDIS_SELECTED) != 0 || (buttonState & BST_PUSHED) != 0,
                     (draw.uItemState & CDIS_HOT) != 0 || (buttonState & BST_HOT) != 0,
                     (draw.uItemState & CDIS_FOCUS) != 0, (draw.uItemState & CDIS_DISABLED) != 0};
}

void DrawCaption(HDC dc, HWND control, RECT rect, COLORREF color, UINT format) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  const UniqueSelection selectFont = SelectInto(dc, font);
  const std::wstring caption = Text(control);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, format | DT_SINGLELINE | DT_VCENTER);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  const UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.Get());
}

// A tick inside the square box, its stroke scaled for the dpi.
void DrawCheckMark(HDC dc, const RECT& box, COLORREF color, UINT dpi) {
  const int size = box.right - box.left;
  const UniquePen pen(CreatePen(PS_SOLID, ScaleForDpi(2, dpi), color));
  const UniqueSelection selectPen = SelectInto(dc, pen.Get());
  const POINT mark[] = {{box.left + size * 3 / 13, box.top + size * 7 / 13},
                        {box.left + size * 5 / 13, box.top + size * 9 / 13},
                        {box.left + size * 10 / 13, box.top + size * 4 / 13}};
  Polyline(dc, mark, 3);
}

constexpr int kMenuCheckMargin = 22;
constexpr int kMenuTextPadding = 12;
constexpr int kMenuSeparatorHeight = 9;
constexpr int kMenuItemHeight = 20;

}  // namespace

void DrawRoundFrame(HDC dc, const RECT& rect, int radius, COLORREF outline, const COLORREF* fill) {
  const UniquePen pen(CreatePen(PS_SOLID, 1, outline));
  const UniqueBrush brush(fill ? CreateSolidBrush(*fill) : nullptr);
  const UniqueSelection selectPen = SelectInto(dc, pen.Get());
  const UniqueSelection selectBrush =
      SelectInto(dc, fill ? static_cast<HGDIOBJ>(brush.Get()) : GetStockObject(NULL_BRUSH));
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius, radius);
}

void DrawPushButton(const NMCUSTOMDRAW& draw, const StylePalette& palette) {
  const ButtonState state = StateOf(draw);
  const UINT dpi = DpiForWindow(draw.hdr.hwndFrom);
  FillSolid(draw.hdc, draw.rc, ToColorRef(palette.window));
  const COLORREF face = ToColorRef(state.pressed ? palette.buttonPressed
                                   : state.hot   ? palette.buttonHover
                                                 : palette.button);
  const COLORREF outline = ToColorRef(state.focused ? palette.accent : palette.border);
  DrawRoundFrame(draw.hdc, draw.rc, ScaleForDpi(6, dpi), outline, &face);
  RECT caption = draw.rc;
  if (state.pressed) OffsetRect(&caption, 0, 1);
  DrawCaption(draw.hdc, draw.hdr.hwndFrom, caption, ToColorRef(state.disabled ? palette.disabledText : palette.text),
              DT_CENTER);
}

void DrawCheckBox(const NMCUSTOMDRAW& draw, const StylePalette& palette) {
  const ButtonState state = StateOf(draw);
  const bool checked = Checked(draw.hdr.hwndFrom);
  const UINT dpi = DpiForWindow(draw.hdr.hwndFrom);
  FillSolid(draw.hdc, draw.rc, ToColorRef(palette.window));

  const int size = ScaleForDpi(13, dpi);
  const int top = (draw.rc.top + draw.rc.bottom - size) / 2;
  const RECT box{draw.rc.left, top, draw.rc.left + size, top + size};
  const COLORREF fill = ToColorRef(checked ? palette.accent : state.hot ? palette.buttonHover : palette.field);
  DrawRoundFrame(draw.hdc, box, ScaleForDpi(4, dpi), ToColorRef(checked ? palette.accent : palette.border), &fill);
  if (checked) DrawCheckMark(draw.hdc, box, ToColorRef(palette.selectedText), dpi);

  RECT caption = draw.rc;
  caption.left = box.right + ScaleForDpi(4, dpi);
  DrawCaption(draw.hdc, draw.hdr.hwndFrom, caption, ToColorRef(state.disabled ? palette.disabledText : palette.text),
              DT_LEFT);
  if (state.focused) {
    RECT focus = caption;
    focus.left -= ScaleForDpi(2, dpi);
    DrawRoundFrame(draw.hdc, focus, ScaleForDpi(4, dpi), ToColorRef(palette.accent), nullptr);
  }
}

void DrawListItem(const DRAWITEMSTRUCT& draw, const StylePalette& palette) {
  if (draw.itemID == static_cast<UINT>(-1)) return;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  FillSolid(draw.hDC, draw.rcItem, ToColorRef(selected ? palette.accent : palette.field));
  const auto length = SendMessageW(draw.hwndItem, LB_GETTEXTLEN, draw.itemID, 0);
  if (length <= 0) return;
  std::wstring row(static_cast<size_t>(length), L'\0');
  row.resize(
      static_cast<size_t>(SendMessageW(draw.hwndItem, LB_GETTEXT, draw.itemID, reinterpret_cast<LPARAM>(row.data()))));
  // The text before the first TAB and the rest (a target's name and
  // ProgID) in two columns, each shortened with an ellipsis, so that rows
  // line up whatever the names' widths.
  const int padding = ScaleForDpi(3, DpiForWindow(draw.hwndItem));
  const LONG split = draw.rcItem.left + (draw.rcItem.right - draw.rcItem.left) / 3;
  RECT name{draw.rcItem.left + padding, draw.rcItem.top, split - padding, draw.rcItem.bottom};
  RECT progId{split, draw.rcItem.top, draw.rcItem.right - padding, draw.rcItem.bottom};
  const size_t tab = row.find(L'\t');
  const std::wstring first = tab == std::wstring::npos ? std::wstring() : row.substr(0, tab);
  const std::wstring rest = tab == std::wstring::npos ? row : row.substr(tab + 1);
  SetBkMode(draw.hDC, TRANSPARENT);
  SetTextColor(draw.hDC, ToColorRef(selected ? palette.selectedText : palette.text));
  constexpr UINT kFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  DrawTextW(draw.hDC, first.c_str(), static_cast<int>(first.size()), &name, kFormat);
  DrawTextW(draw.hDC, rest.c_str(), static_cast<int>(rest.size()), &progId, kFormat);
}

void MeasureMenuItem(MEASUREITEMSTRUCT& measure) {
  const auto& item = *reinterpret_cast<const StyledMenuItem*>(measure.itemData);
  if (item.separator) {
    measure.itemWidth = 0;
    measure.itemHeight = static_cast<UINT>(ScaleForDpi(kMenuSeparatorHeight, item.dpi));
    return;
  }
  const UniqueWindowDc screen = ClientDc(nullptr);
  const UniqueSelection selectFont = SelectInto(screen.Get().dc, item.font);
  SIZE text{};
  GetTextExtentPoint32W(screen.Get().dc, item.text.c_str(), static_cast<int>(item.text.size()), &text);
  measure.itemWidth = static_cast<UINT>(ScaleForDpi(kMenuCheckMargin + kMenuTextPadding, item.dpi) + text.cx);
  measure.itemHeight = static_cast<UINT>(std::max<LONG>(ScaleForDpi(kMenuItemHeight, item.dpi), text.cy));
}

void DrawMenuItem(const DRAWITEMSTRUCT& draw, const StylePalette& palette) {
  const auto& item = *reinterpret_cast<const StyledMenuItem*>(draw.itemData);
  if (item.separator) {
    FillSolid(draw.hDC, draw.rcItem, ToColorRef(palette.window));
    const int middle = (draw.rcItem.top + draw.rcItem.bottom) / 2;
    const int inset = ScaleForDpi(4, item.dpi);
    FillSolid(draw.hDC, RECT{draw.rcItem.left + inset, middle, draw.rcItem.right - inset, middle + 1},
              ToColorRef(palette.disabledText));
    return;
  }
  const bool disabled = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool highlighted = (draw.itemState & ODS_SELECTED) != 0 && !disabled;
  FillSolid(draw.hDC, draw.rcItem, ToColorRef(highlighted ? palette.accent : palette.window));
  const COLORREF ink = ToColorRef(disabled ? palette.disabledText : highlighted ? palette.selectedText : palette.text);

  const int margin = ScaleForDpi(kMenuCheckMargin, item.dpi);
  if (draw.itemState & ODS_CHECKED) {
    const int size = ScaleForDpi(13, item.dpi);
    const int left = draw.rcItem.left + (margin - size) / 2;
    const int top = (draw.rcItem.top + draw.rcItem.bottom - size) / 2;
    DrawCheckMark(draw.hDC, RECT{left, top, left + size, top + size}, ink, item.dpi);
  }
  RECT text = draw.rcItem;
  text.left += margin;
  const UniqueSelection selectFont = SelectInto(draw.hDC, item.font);
  SetBkMode(draw.hDC, TRANSPARENT);
  SetTextColor(draw.hDC, ink);
  DrawTextW(draw.hDC, item.text.c_str(), static_cast<int>(item.text.size()), &text,
            DT_LEFT | DT_SINGLELINE | DT_VCENTER | (item.mnemonic ? 0 : DT_NOPREFIX));
}

bool ChooseMenuItemByKey(HMENU menu, wchar_t key, LRESULT& result) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) continue;
    const auto* item = reinterpret_cast<const StyledMenuItem*>(info.dwItemData);
    if (!item || !item->mnemonic) continue;
    const size_t mark = item->text.find(L'&');
    if (mark != std::wstring::npos && mark + 1 < item->text.size() &&
        UpperAscii(item->text[mark + 1]) == UpperAscii(key)) {
      result = MAKELRESULT(i, MNC_EXECUTE);
      return true;
    }
  }
  return false;
}
