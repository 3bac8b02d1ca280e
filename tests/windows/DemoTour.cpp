// demo_tour.exe <folder>: the scripted part of the demo. Drives the running
// page.exe beside the running simcad.exe as a user would (Get, Next, Next,
// Previous, the upper-left option, the target dialog opened and
// cancelled, Get and Next on a drawing framed by title blocks, its sheets
// plotted, the settings dialog opened on it and cancelled, then closing the
// pager), prints what happened after each step and leaves a screenshot of
// each step in the folder.
#include <windows.h>
// The list view's messages; needs windows.h first.
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <exception>
#include <string>

#include "Eventually.h"
#include "PagerWindow.h"
#include "SimCadProcess.h"
#include "WindowShot.h"
#include "cad/ComScoped.h"
#include "common/Unicode.h"
#include "ui/ControlIds.h"

namespace {

constexpr wchar_t kProgId[] = L"BricscadApp.AcadApplication";

void Say(const std::wstring& text) {
  std::printf("%s\n", ToUtf8(text).c_str());
  std::fflush(stdout);
}

size_t ZoomCount(DispatchObject& cad) {
  size_t count = 0;
  for (const std::wstring& call : SimJournal(cad)) count += call.starts_with(L"Application.ZoomWindow");
  return count;
}

std::wstring ViewCentre(DispatchObject& cad) {
  const std::vector<double> view = SimView(cad);
  if (view.size() < 2) return L"?";
  wchar_t text[64]{};
  std::swprintf(text, 64, L"(%.1f, %.1f)", view[0], view[1]);
  return text;
}

class Tour {
 public:
  Tour(const PagerWindow& pager, DispatchObject& cad, std::wstring folder)
      : FPager(pager), FCad(cad), FFolder(std::move(folder)) {}

  // Clicks, waits for the new status (or the one expected, since Get shows
  // the count before the page) and, when it names a page, the zoom.
  bool Step(const wchar_t* name, int control, const wchar_t* expected = nullptr) {
    const std::wstring before = FPager.Status();
    const size_t zooms = ZoomCount(FCad);
    FPager.Click(control);
    std::wstring status;
    if (expected) {
      status = FPager.WaitForStatus(expected) ? expected : FPager.Status();
    } else {
      // Get shows the count of entities read on its way, at most every
      // quarter second; the status it ends with is the one that stays.
      status = FPager.WaitForStatusOtherThan(before);
      for (std::wstring later;
           Eventually([&] { return (later = FPager.Status()) != status; }, std::chrono::seconds(1));)
        status = later;
    }
    const bool moved = status.find(L" / ") == std::wstring::npos || Eventually([&] { return ZoomCount(FCad) > zooms; });
    Say(std::wstring(name) + L": status \"" + status + L"\", CAD view centre " + ViewCentre(FCad));
    Shot(name);
    return status != before && moved;
  }

  void Shot(const std::wstring& name, HWND front = nullptr) {
    SetCursorPos(0, 0);
    PaintNow(FPager.Handle());
    if (front) PaintNow(front);
    try {
      SaveDesktopShot(FFolder + L"\\" + std::to_wstring(++FShots) + L"-" + name + L".png");
    } catch (const std::exception& error) {
      Say(L"no screenshot: " + FromUtf8Lenient(error.what()));
    }
  }

 private:
  const PagerWindow& FPager;
  DispatchObject& FCad;
  std::wstring FFolder;
  int FShots = 0;
};

bool TargetDialogOpenedAndCancelled(const PagerWindow& pager, Tour& tour) {
  DWORD processId = 0;
  GetWindowThreadProcessId(pager.Handle(), &processId);
  pager.Click(kPagerButton4);
  HWND dialog = nullptr;
  if (!Eventually([&] { return (dialog = FindProcessWindow(processId, kTargetCadWindowClass)) != nullptr; }))
    return false;
  Say(L"CAD: the target dialog shows \"" + RemoteTextOrEmpty(GetDlgItem(dialog, kTargetEdit1)) + L"\", " +
      RemoteTextOrEmpty(GetDlgItem(dialog, kTargetEdit2)));
  tour.Shot(L"target-dialog", dialog);
  PostClick(GetDlgItem(dialog, kTargetButton2));
  const bool closed = Eventually([&] { return !IsWindowVisible(dialog); });
  Say(L"Cancel: caption \"" + pager.Caption() + L"\"");
  return closed;
}

// Opens the page menu from the status field, shows it, and closes it again
// with Esc.
bool PageMenuShown(const PagerWindow& pager, Tour& tour) {
  DWORD processId = 0;
  GetWindowThreadProcessId(pager.Handle(), &processId);
  SetForegroundWindow(pager.Handle());
  pager.PostStatusContextMenu();
  HWND menu = nullptr;
  if (!Eventually([&] { return (menu = FindProcessWindow(processId, L"#32768")) != nullptr && IsWindowVisible(menu); }))
    return false;
  Say(L"Page menu: the pages with their names");
  tour.Shot(L"Titles-menu", menu);
  INPUT escape[2] = {INPUT{INPUT_KEYBOARD, {.ki = {VK_ESCAPE, 0, 0, 0, 0}}},
                     INPUT{INPUT_KEYBOARD, {.ki = {VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0, 0}}}};
  SendInput(2, escape, sizeof(INPUT));
  return Eventually([&] { return !IsWindowVisible(menu); });
}

// A double click on the layer field: the settings dialog, its lists filled
// from the drawing, shown and cancelled.
bool SettingsDialogShown(const PagerWindow& pager, Tour& tour) {
  DWORD processId = 0;
  GetWindowThreadProcessId(pager.Handle(), &processId);
  PostMessageW(pager.Control(kPagerEdit1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  HWND dialog = nullptr;
  if (!Eventually([&] { return (dialog = FindProcessWindow(processId, kSettingsWindowClass)) != nullptr; }))
    return false;
  HWND frames = GetDlgItem(dialog, kSettingsFrames);
  if (!Eventually([&] { return SendMessageW(frames, LVM_GETITEMCOUNT, 0, 0) > 0; })) return false;
  Say(L"Settings: the dialog lists " + std::to_wstring(SendMessageW(frames, LVM_GETITEMCOUNT, 0, 0)) + L" blocks and " +
      std::to_wstring(SendMessageW(GetDlgItem(dialog, kSettingsTags), LVM_GETITEMCOUNT, 0, 0)) + L" tags");
  tour.Shot(L"settings-dialog", dialog);
  PostClick(GetDlgItem(dialog, kSettingsCancel));
  return Eventually([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

// Ctrl+P: every page of the titled drawing to PDF files in folder\plot,
// the dialog shown once it has ended, then closed.
bool SheetsPlotted(const PagerWindow& pager, Tour& tour, const std::wstring& folder) {
  DWORD processId = 0;
  GetWindowThreadProcessId(pager.Handle(), &processId);
  const std::wstring output = folder + L"\\plot";
  CreateDirectoryW(output.c_str(), nullptr);
  PostMessageW(pager.Handle(), WM_COMMAND, MAKEWPARAM(kPagerPlot, 1), 0);
  HWND dialog = nullptr;
  if (!Eventually([&] { return (dialog = FindProcessWindow(processId, kPlotWindowClass)) != nullptr; })) return false;
  SendMessageW(GetDlgItem(dialog, kPlotFolderEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(output.c_str()));
  if (!Eventually([&] { return IsWindowEnabled(GetDlgItem(dialog, kPlotButtonPlot)) != FALSE; })) return false;
  PostClick(GetDlgItem(dialog, kPlotButtonPlot));
  HWND cancel = GetDlgItem(dialog, kPlotButtonCancel);
  if (!Eventually([&] { return RemoteTextOrEmpty(cancel) == L"閉じる"; })) return false;
  Say(L"Plot: " + RemoteTextOrEmpty(GetDlgItem(dialog, kPlotProgress)));
  tour.Shot(L"Titles-plotted", dialog);
  PostClick(cancel);
  return Eventually([&] { return !IsWindow(dialog); });
}

int RunTour(const std::wstring& folder) {
  HWND window = nullptr;
  if (!Eventually([&] { return (window = FindProcessWindow(0, kPagerWindowClass)) != nullptr; })) {
    Say(L"no pager window");
    return 1;
  }
  const PagerWindow pager(window);
  const DispatchPtr cad = AttachSimCad(kProgId);
  SimCall(*cad, L"SimClearJournal");
  Tour tour(pager, *cad, folder);
  Say(L"Start: caption \"" + pager.Caption() + L"\", layer " + pager.Layer() + L", CAD view centre " +
      ViewCentre(*cad));
  tour.Shot(L"start");
  const bool stepped = tour.Step(L"Get", kPagerButton1) && tour.Step(L"Next", kPagerButton3) &&
                       tour.Step(L"Next", kPagerButton3) && tour.Step(L"Previous", kPagerButton2) &&
                       tour.Step(L"Upper-left", kPagerCheckBox1);
  if (!stepped || !TargetDialogOpenedAndCancelled(pager, tour)) {
    Say(L"the tour stopped: the pager did not answer as expected");
    return 1;
  }
  // Sheets framed by title-block references, which page.ini's block
  // pattern names.
  SimCall(*cad, L"SimLoadDrawing", {Variant(BlockDrawingPath())});
  Say(L"Opened a drawing framed by blocks, CAD view centre " + ViewCentre(*cad));
  if (!tour.Step(L"Blocks-Get", kPagerButton1, L"4 / 6") || !tour.Step(L"Blocks-Next", kPagerButton3)) {
    Say(L"the tour stopped: the block-framed drawing did not page");
    return 1;
  }
  // Sheets known by their title blocks, some of them dynamic, named by the
  // tags page.ini's Names lists (the 左上 option still on): the page menu
  // shows their names.
  SimCall(*cad, L"SimLoadDrawing", {Variant(TitlesDrawingPath())});
  Say(L"Opened a drawing of attributed title blocks, CAD view centre " + ViewCentre(*cad));
  if (!tour.Step(L"Titles-Get", kPagerButton1, L"3 / 11") || !PageMenuShown(pager, tour)) {
    Say(L"the tour stopped: the titled drawing did not page with its names");
    return 1;
  }
  if (!SheetsPlotted(pager, tour, folder)) {
    Say(L"the tour stopped: the titled drawing's sheets were not plotted");
    return 1;
  }
  if (!SettingsDialogShown(pager, tour)) {
    Say(L"the tour stopped: the settings dialog did not show the drawing's blocks");
    return 1;
  }
  PostMessageW(pager.Handle(), WM_CLOSE, 0, 0);
  Say(L"Closed the pager");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo_tour <screenshot folder>\n");
    return 2;
  }
  try {
    const ScopedApartment apartment;
    return RunTour(argv[1]);
  } catch (const AutomationError& error) {
    Say(L"CAD error: " + error.Text());
  } catch (const std::exception& error) {
    Say(L"error: " + FromUtf8Lenient(error.what()));
  }
  return 1;
}
