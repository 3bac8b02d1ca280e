// One pager per program folder: the first start holds a named mutex and
// marks its window; a later start finds that window and brings it forward.
#pragma once

#include <string>

#include "win/Handles.h"
#include "win/Win32Api.h"

class SingleInstance {
 public:
  explicit SingleInstance(const std::wstring& name);
  // False when another process holds the name.
  bool First() const { return FFirst; }

 private:
  UniqueHandle FMutex;
  bool FFirst = true;
};

// Marks the window as the one a later start with the name brings forward.
void MarkInstanceWindow(HWND window, const std::wstring& name);

// Restores the marked window of the running instance when minimized and
// brings it to the front, waiting a little for it while the first start
// is still creating it; false when none shows.
bool BringInstanceWindowForward(const std::wstring& name);
