// The application's default error reporting: a stop-icon message box
// titled with the application title; the program keeps running.
#pragma once

#include <string>

void ReportError(const std::wstring& text);

// Reports the exception being handled; call only inside a catch block.
void ReportCurrentException();

// Runs a handler at the edge of a window procedure or subclass, so that no
// exception crosses into the system; an error is reported and onError
// returned instead.
template <class Handler, class Result>
Result Guarded(Handler&& handler, Result onError) {
  try {
    return handler();
  } catch (...) {
    ReportCurrentException();
    return onError;
  }
}
