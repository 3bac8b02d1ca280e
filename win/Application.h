// The process-wide facts of the running program: its title and its path.
#pragma once

#include <string>

// Titles the message boxes and starts the pager's caption.
extern std::wstring ApplicationTitle;

// The full path of page.exe, where its two files are found.
std::wstring ProgramPath();
