// What the plot dialog offers, read from the CAD's model layout: the plot
// devices, a device's papers and the plot style tables, with the layout's
// current choice of each.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cad/Automation.h"
#include "cad/CadWork.h"

struct MediaChoice {
  std::wstring canonicalName;
  std::wstring shownName;  // GetLocaleMediaName
};

struct PlotOffer {
  std::optional<std::wstring> identity;  // the drawing's, as the commands read it
  std::vector<std::wstring> devices;
  std::wstring currentDevice;  // the layout's ConfigName
  std::wstring currentMedia;   // the layout's CanonicalMediaName
  std::vector<std::wstring> styleTables;
  std::wstring currentStyle;  // the layout's StyleSheet; empty: none
};

// ActiveDocument, its identity, ActiveLayout, GetPlotDeviceNames,
// ConfigName, CanonicalMediaName, GetPlotStyleTableNames, StyleSheet.
// Throws AutomationError.
PlotOffer ReadPlotOffer(DispatchObject& application);

// The device's papers: the layout is switched to the device for
// GetCanonicalMediaNames and switched back (with RefreshPlotDeviceInfo
// each time) when it was another one. Throws AutomationError, after the
// layout's device is put back. The switching back is a piece of run's own,
// so that a reading given up does not keep the device from going back.
std::vector<MediaChoice> ReadDeviceMedia(DispatchObject& application, const std::wstring& device, const CadWork& run);

// The first device whose name holds "PDF" in any letter case; empty for none.
std::wstring FirstPdfDevice(const std::vector<std::wstring>& devices);
