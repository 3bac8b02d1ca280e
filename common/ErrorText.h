// What the default error reporting shows for an error.
#pragma once

#include <exception>
#include <string>

// The error's text with a full stop appended when its last character's
// code is above that of "." (as the message box has always shown it).
std::wstring ErrorReportText(std::wstring text);

// The wide text an exception carries: a TextError's own text, otherwise
// what() read as UTF-8.
std::wstring ExceptionText(const std::exception& error);
