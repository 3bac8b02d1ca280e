#include "win/ControlLayout.h"

#include "win/Dpi.h"
#include "win/Win32Controls.h"

void FontSet::SetDpi(UINT dpi) {
  if (dpi == FDpi) return;
  FDpi = dpi;
  FFonts.clear();
}

HFONT FontSet::Font(int height96) {
  for (const Entry& entry : FFonts) {
    if (entry.height96 == height96) return entry.font.Get();
  }
  LOGFONTW face{};
  face.lfHeight = ScaleForDpi(height96, FDpi);
  face.lfWeight = FW_NORMAL;
  face.lfCharSet = DEFAULT_CHARSET;
  face.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(face.lfFaceName, L"Tahoma", LF_FACESIZE);
  FFonts.push_back(Entry{height96, UniqueFont(CreateFontIndirectW(&face))});
  return FFonts.back().font.Get();
}

bool CreateControls(HWND parent, std::span<const ControlDefinition> controls) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  for (const ControlDefinition& definition : controls) {
    HWND control = CreateWindowExW(definition.exStyle, definition.windowClass, definition.text,
                                   WS_CHILD | WS_VISIBLE | definition.style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(definition.id)), instance, nullptr);
    if (!control) return false;
  }
  return true;
}

void LayoutControls(HWND parent, std::span<const ControlDefinition> controls, UINT dpi, FontSet& fonts) {
  fonts.SetDpi(dpi);
  for (const ControlDefinition& definition : controls) {
    HWND control = GetDlgItem(parent, definition.id);
    SetFont(control, fonts.Font(definition.fontHeight));
    SetWindowPos(control, nullptr, ScaleForDpi(definition.bounds.left, dpi), ScaleForDpi(definition.bounds.top, dpi),
                 ScaleForDpi(definition.bounds.width, dpi), ScaleForDpi(definition.bounds.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FitWidthToText(HWND control) {
  const std::wstring text = Text(control);
  SIZE extent{};
  {
    const UniqueWindowDc dc = ClientDc(control);
    const UniqueSelection selectFont =
        SelectInto(dc.Get().dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc.Get().dc, text.c_str(), static_cast<int>(text.size()), &extent);
  }
  RECT rect;
  GetWindowRect(control, &rect);
  if (extent.cx <= rect.right - rect.left) return;
  SetWindowPos(control, nullptr, 0, 0, extent.cx, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
