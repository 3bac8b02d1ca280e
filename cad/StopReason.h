// Why the last page command ended without showing a page. The commands
// stay silent; they, and the automation boundary, report here instead. One
// listener (the pager window) shows each change; tests read the reason.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "cad/Automation.h"

using StopReasonListener = std::function<void(const std::wstring& reason)>;

// Set once by the window that shows the reason; an empty one shows nothing.
void SetStopReasonListener(StopReasonListener listener);

// The reason in force; empty when the last command showed a page.
const std::wstring& StopReason();

// A command begins: the first reason it reports wins over the failure its
// guard reports later.
void BeginStopReasons();

// The command stops for this reason.
void ReportStopReason(const std::wstring& reason);

// The command's guard caught the error: reported as a failed call unless a
// reason was reported since the command began.
void ReportCallFailure(const std::exception& error);

// A page was shown: no reason.
void ClearStopReason();

// The line of CallFailureText for the error: an AutomationError's member,
// code and text, or any other error's text.
std::wstring CallFailureText(const std::exception& error);

// "<member> が失敗しました: <text> (0x<code>)", the text cut at 200
// characters.
std::wstring CallFailureText(std::wstring_view member, HResult code, std::wstring_view text);
