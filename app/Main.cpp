// page.exe: one pager per program folder, the dark style, the title, the
// pager window and the target CAD dialog, and the message loop until the
// pager closes.
#include "app/Resources.h"
#include "cad/ComScoped.h"
#include "cad/WindowsCad.h"
#include "settings/ProgramFiles.h"
#include "settings/WinAnsiCodePage.h"
#include "settings/WinFileSystem.h"
#include "settings/WinProfile.h"
#include "theme/VisualStyle.h"
#include "ui/PagerForm.h"
#include "ui/TargetCADForm.h"
#include "win/Application.h"
#include "win/ErrorReporting.h"
#include "win/MessageLoop.h"
#include "win/SingleInstance.h"
#include "win/Win32Api.h"

namespace {

int RunPage(HINSTANCE instance) {
  ApplicationTitle = L"PAGE";
  // A second start from the same folder would fight the first for the hot
  // keys and for page.ini at exit: it shows the first and ends, or starts
  // once the first has ended.
  const std::wstring programPath = ProgramPath();
  const std::wstring instanceName = PagerInstanceName(FinalPath(programPath));
  SingleInstance instanceOfFolder(instanceName);
  if (instanceOfFolder.Denied()) {
    ReportError(L"このフォルダーの PAGE は、別の権限で既に起動しています。");
    return 0;
  }
  if (!instanceOfFolder.First() && !instanceOfFolder.WaitForTurn(instanceName)) return 0;

  const ScopedApartment apartment;
  ApplyVisualStyle(instance, kDarkStyleName);

  WinFileSystem files;
  WinAnsiCodePage ansi;
  WinProfile settings(SettingsFilePath(programPath), files, ansi);
  ComObjectTable objects;
  Win32WindowControl windows;
  TargetListFile targetList(TargetListFilePath(programPath), files, ansi);

  TForm105 pager(settings, CadAccess{objects, windows});
  if (!pager.Create(instance, LoadIconW(instance, MAKEINTRESOURCEW(kPageIcon)))) return 1;
  TTargetCADForm targetCadForm(targetList);
  if (!targetCadForm.Create(instance, pager.Handle())) return 1;
  pager.SetTargetCadForm(targetCadForm);
  MarkInstanceWindow(pager.Handle(), instanceName);
  ShowWindow(pager.Handle(), SW_SHOWNORMAL);
  return RunMessageLoop(pager.Accelerators());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // First of all: nothing loaded from now on (COM, the input method, the
  // functions of SystemLibrary) searches the program's folder.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  try {
    return RunPage(instance);
  } catch (...) {
    ReportCurrentException();
    return 1;
  }
}
