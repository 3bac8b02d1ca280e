#include "theme/StyleNotFoundDialog.h"

#include <vector>

#include "theme/StylePalette.h"
#include "win/SystemLibrary.h"
#include "win/Win32Api.h"

namespace {

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// Only comctl32 version 6, which the manifest selects, has task dialogs.
TaskDialogIndirectFunction FindTaskDialog() {
  return FindSystemFunction<TaskDialogIndirectFunction>(L"comctl32.dll", "TaskDialogIndirect");
}

// An in-memory dialog template: the message and one Close button.
class FallbackTemplate {
 public:
  explicit FallbackTemplate(const std::wstring& text) {
    Add(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 2, 0, 0, 220, 62);
    FWords.push_back(0);  // no menu
    FWords.push_back(0);  // default class
    AddText(L"");
    FWords.push_back(9);
    AddText(L"MS Shell Dlg");
    AddItem(WS_CHILD | WS_VISIBLE | SS_LEFT, -1, 10, 10, 200, 24, 0x0082, text);
    AddItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDCLOSE, 160, 40, 50, 14, 0x0080, L"閉じる");
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FWords.data()); }

 private:
  void AddDword(DWORD value) {
    FWords.push_back(LOWORD(value));
    FWords.push_back(HIWORD(value));
  }
  void Add(DWORD style, DWORD exStyle, WORD count, short x, short y, short cx, short cy) {
    AddDword(style);
    AddDword(exStyle);
    for (WORD word : {count, static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx), static_cast<WORD>(cy)})
      FWords.push_back(word);
  }
  void AddText(const std::wstring& text) {
    FWords.insert(FWords.end(), text.begin(), text.end());
    FWords.push_back(0);
  }
  void AddItem(DWORD style, int id, short x, short y, short cx, short cy, WORD atom, const std::wstring& text) {
    if (FWords.size() % 2) FWords.push_back(0);  // DWORD alignment
    AddDword(style);
    AddDword(0);
    for (WORD word : {static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx), static_cast<WORD>(cy),
                      static_cast<WORD>(id), WORD{0xFFFF}, atom})
      FWords.push_back(word);
    AddText(text);
    FWords.push_back(0);  // no creation data
  }

  std::vector<WORD> FWords;
};

INT_PTR CALLBACK FallbackProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDCLOSE || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, IDCLOSE);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int ShowStyleNotFound(const std::wstring& styleName) {
  const std::wstring text = StyleNotFoundText(styleName);
  if (const TaskDialogIndirectFunction taskDialog = FindTaskDialog()) {
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.dwCommonButtons = TDCBF_CLOSE_BUTTON;
    config.pszMainIcon = TD_ERROR_ICON;
    config.pszContent = text.c_str();
    int pressed = 0;
    if (SUCCEEDED(taskDialog(&config, &pressed, nullptr, nullptr))) return pressed;
  }
  const FallbackTemplate dialog(text);
  return static_cast<int>(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), nullptr, FallbackProc, 0));
}
