#include "win/ErrorReporting.h"

#include <exception>

#include "common/ErrorText.h"
#include "win/Application.h"
#include "win/Win32Api.h"

void ReportError(const std::wstring& text) {
  // Owned by the thread's active window, so the box stays above the
  // topmost pager.
  HWND owner = GetActiveWindow();
  if (owner && !IsWindowVisible(owner)) owner = nullptr;
  MessageBoxW(owner, ErrorReportText(text).c_str(), ApplicationTitle.c_str(), MB_ICONSTOP | MB_OK);
}

void ReportCurrentException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ReportError(ExceptionText(error));
  } catch (...) {
    ReportError(L"予期しないエラーが発生しました");
  }
}
