// simcad.exe's window: the drawing as the simulated CAD shows it, zoomed
// to the current view like a CAD, with an overview of the whole drawing
// and a status line with the view and the last call.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "sim/SimCad.h"
#include "sim/server/OffscreenCanvas.h"

// What the viewer highlights as frames: the polylines on the layer, and the
// block references whose name matches the pattern (none when empty).
struct FrameMarks {
  std::wstring layer;
  std::wstring blocks;
};

class SimCadViewer {
 public:
  SimCadViewer(const sim::SimCad& cad, FrameMarks frameMarks);  // throws AutomationError
  SimCadViewer(const SimCadViewer&) = delete;
  SimCadViewer& operator=(const SimCadViewer&) = delete;
  ~SimCadViewer();

  HWND Window() const noexcept { return FWindow; }
  void Show(bool minimized);
  // Sets the caption and repaints everything.
  void ShowDrawing(const std::wstring& drawingName);
  // After each call into the CAD: repaints what the call changed.
  void Refresh();
  // Closes the window, which ends the message loop.
  void Close();
  // A CAD busy outside any call, as in a long regeneration: its thread
  // sleeps once it comes to a message posted to itself.
  void BusyFor(std::chrono::milliseconds duration);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void PaintModel(HDC dc, const RECT& model) const;
  void PaintStatus(HDC dc, RECT status) const;
  RECT StatusRect() const;

  const sim::SimCad& FCad;
  FrameMarks FFrameMarks;
  HWND FWindow = nullptr;
  UniqueFont FFont;
  sim::View FShownView;
  size_t FShownCalls = 0;
};
