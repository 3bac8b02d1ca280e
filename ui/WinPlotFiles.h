// The plot's file operations on Windows: whether a name is taken, a
// written file's size, whether a folder takes new files, and the folders
// the dialog starts from or opens.
#pragma once

#include <string>

#include "plot/PlotJob.h"
#include "win/Win32Api.h"

class WinPlotFiles : public PlotFiles {
 public:
  bool Exists(const std::wstring& path) override;
  uint64_t Size(const std::wstring& path) override;
};

// Why files cannot be written into the folder; empty when they can.
std::wstring FolderProblem(const std::wstring& folder);

// The user's Documents folder; empty when the shell does not name one.
std::wstring DocumentsFolder();

// The folder picker, starting at folder; empty when the user cancels.
std::wstring PickFolder(HWND owner, const std::wstring& folder);

// Shows the folder in Explorer.
void OpenFolder(const std::wstring& folder);
