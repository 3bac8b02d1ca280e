// The real page.exe started for a test from a program folder of its own,
// so that its settings file and target list file are the test's; killed
// with the test whatever happens.
#pragma once

#include <windows.h>

#include <string>

#include "PagerWindow.h"
#include "win/Handles.h"

// A fresh folder holding a copy of the build's page.exe.
class PageProgramFolder {
 public:
  PageProgramFolder();
  PageProgramFolder(const PageProgramFolder&) = delete;
  PageProgramFolder& operator=(const PageProgramFolder&) = delete;
  ~PageProgramFolder();

  const std::wstring& Path() const { return FPath; }
  std::wstring Program() const { return File(L"page.exe"); }
  std::wstring SettingsFile() const { return File(L"page.ini"); }
  std::wstring TargetListFile() const { return File(L"TargetCAD_APIVersion.txt"); }
  std::wstring File(const std::wstring& name) const { return FPath + L"\\" + name; }

 private:
  std::wstring FPath;
};

// Starts page.exe from its folder without waiting for it; its process.
// Throws std::runtime_error when it does not start.
UniqueHandle StartPageProgram(const std::wstring& program, DWORD& processId);

class PageProcess {
 public:
  // Starts page.exe and returns once its pager window is shown. Throws
  // std::runtime_error when it does not start or shows no pager.
  explicit PageProcess(const std::wstring& program);
  PageProcess(const PageProcess&) = delete;
  PageProcess& operator=(const PageProcess&) = delete;
  // Kills it when it still runs.
  ~PageProcess();

  const PagerWindow& Pager() const { return FPager; }
  DWORD Id() const { return FId; }
  bool Running() const { return WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT; }
  // Waits for a visible top-level window of this process; null when none comes.
  HWND WaitForWindow(const wchar_t* windowClass, const wchar_t* caption = nullptr) const;
  // Closes the pager as its close box does; false when the process does not end.
  bool Close();
  DWORD ExitCode() const;

 private:
  DWORD FId = 0;  // before FProcess: starting the process sets it
  UniqueHandle FProcess;
  PagerWindow FPager{nullptr};
};
