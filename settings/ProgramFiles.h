// Where the program keeps its two files: beside its own executable.
#pragma once

#include <string>
#include <string_view>

// The program's path with its extension replaced by ".ini" (appended when
// the file name has none).
std::wstring SettingsFilePath(std::wstring_view programPath);

// The program's folder, with its separator, and "TargetCAD_APIVersion.txt".
std::wstring TargetListFilePath(std::wstring_view programPath);

// The name of the mutex that one pager per program folder holds: the
// folder in any letter case gives the same name. Give it the program's
// final path, so that every other way of naming the folder (a subst
// drive, a short name) gives it too.
std::wstring PagerInstanceName(std::wstring_view programPath);
