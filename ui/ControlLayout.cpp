#include "ui/ControlLayout.h"

#include "ui/Dpi.h"
#include "ui/Win32Controls.h"

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

bool CreateControls(HWND parent, std::span<const ControlSpec> controls) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  for (const ControlSpec& spec : controls) {
    HWND control =
        CreateWindowExW(spec.exStyle, spec.windowClass, spec.text, WS_CHILD | WS_VISIBLE | spec.style, 0, 0, 0, 0,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
    if (!control) return false;
  }
  return true;
}

void LayoutControls(HWND parent, std::span<const ControlSpec> controls, UINT dpi, FontSet& fonts) {
  fonts.SetDpi(dpi);
  for (const ControlSpec& spec : controls) {
    HWND control = GetDlgItem(parent, spec.id);
    SetFont(control, fonts.Font(spec.fontHeight));
    SetWindowPos(control, nullptr, ScaleForDpi(spec.bounds.left, dpi), ScaleForDpi(spec.bounds.top, dpi),
                 ScaleForDpi(spec.bounds.width, dpi), ScaleForDpi(spec.bounds.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FitWidthToText(HWND control) {
  const std::wstring text = Text(control);
  HDC dc = GetDC(control);
  SIZE extent{};
  {
    const ScopedSelect selectFont(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  }
  ReleaseDC(control, dc);
  RECT rect;
  GetWindowRect(control, &rect);
  if (extent.cx <= rect.right - rect.left) return;
  SetWindowPos(control, nullptr, 0, 0, extent.cx, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
