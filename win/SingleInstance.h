// One pager per program folder: the first start holds a named mutex and
// marks its window; a later start finds that window and brings it forward,
// or takes the first one's place once it has ended.
#pragma once

#include <string>

#include "win/Handles.h"
#include "win/Win32Api.h"

class SingleInstance {
 public:
  explicit SingleInstance(const std::wstring& name);
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  ~SingleInstance();

  // False when another process holds the name.
  bool First() const { return FOwned || FNoMutex; }
  // The name is held by a process this one may not even open: a pager of
  // the same folder running with other rights.
  bool Denied() const { return FDenied; }

  // For a start that is not the first: brings the running pager's window
  // forward, waiting a little for it while the first start is still
  // creating it, and is then false; or, when the first one ends meanwhile
  // (its window already gone), takes its place and is true. Waits 5 s at
  // the most.
  bool WaitForTurn(const std::wstring& name);

 private:
  UniqueHandle FMutex;
  bool FOwned = false;
  bool FNoMutex = false;
  bool FDenied = false;
};

// Marks the window as the one a later start with the name brings forward,
// until the window begins to be destroyed.
void MarkInstanceWindow(HWND window, const std::wstring& name);

// The path as the file system knows the file it names: its drive, folders
// and name in their own letter case and long names, whatever drive letter
// (subst) or short names led to it. The path itself when it cannot tell.
std::wstring FinalPath(const std::wstring& path);
