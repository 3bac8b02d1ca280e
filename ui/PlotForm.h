// TPlotForm, the plot dialog: the pages, the output, the device, paper,
// plot style and orientation, where PDF files go and how they are named;
// then the progress of the job and its end report. Its CAD work is the
// portable plot job's; the window only decodes its controls.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "cad/CadPlatform.h"
#include "cad/CadWork.h"
#include "pages/SheetNames.h"
#include "pages/Waku.h"
#include "plot/PlotJob.h"
#include "plot/PlotOffer.h"
#include "settings/PlotSettings.h"
#include "ui/FormWindow.h"
#include "ui/WinPlotFiles.h"

// What the pager hands the dialog: its pages as they are now.
struct PlotRequest {
  TWakuList frames;
  std::vector<PageName> names;
  std::vector<std::wstring> tags;  // [Waku] Names
  int shownPage = -1;              // 0-based; -1 when the view is on no page
};

class TPlotForm : public FormWindow, private PlotProgress {
 public:
  // Its CAD work runs in pieces through run, none while it only waits for
  // the user.
  TPlotForm(Profile& settings, CadAccess cad, PlotRequest request, CadWork run);
  ~TPlotForm() override;

  // Reads what the CAD offers and shows the dialog modally until it is
  // closed. Throws AutomationError, opening nothing, when the CAD cannot
  // say what it offers or the user gave the reading up.
  void ShowModal(HINSTANCE instance, HWND owner);

 private:
  // FormWindow
  bool FormCreated() override;
  bool FormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Relayout() override;

  // PlotProgress
  void Plotting(size_t index, size_t count, const PlotSheet& sheet) override;
  bool StopRequested() override;

  void ControlCommand(int id, int code);
  void FillChoices();
  void FillMedia(const std::wstring& preferred);
  void OutputChanged();
  void Validate();
  void PlotClick();
  void ShowReport(const PlotReport& report, PlotOutput output);
  void CancelClick();
  void PumpPendingMessages();
  // The application let go of in a piece of CAD work: its last Release
  // reaches the CAD.
  void ReleaseApplication();

  PlotOutput Output() const;
  std::vector<int> ChosenPages() const;
  std::wstring SelectedData(int comboId, const std::vector<std::wstring>& values) const;

  Profile& FSettings;
  CadAccess FCad;
  PlotRequest FRequest;
  CadWork FRun;
  PlotSettings FRemembered;
  PlotOffer FOffer;
  std::vector<MediaChoice> FMedia;
  DispatchPtr FApplication;
  WinPlotFiles FFiles;
  std::wstring FDrawingStem;
  std::wstring FWrittenFolder;
  HWND FOwner = nullptr;
  bool FPlotting = false;
  bool FStopRequested = false;
  bool FDone = false;
  bool FClosed = false;
};
