// The plot dialog's choices, remembered in the settings file's [Plot]
// section when the user plots and offered the next time.
#pragma once

#include <string>

#include "settings/Settings.h"

struct PlotSettings {
  std::wstring device;      // ConfigName
  std::wstring media;       // CanonicalMediaName
  std::wstring styleSheet;  // empty: none
  bool asPaper = false;     // Orientation=Paper; anything else is Auto
  std::wstring folder;      // where PDF files go
  std::wstring pattern;     // the file name pattern
  bool toPrinter = false;   // Output=Printer; anything else is PDF
  bool remembered = false;  // whether the section holds the choices
};

// Device, Media, StyleSheet, Orientation, Folder, Pattern and Output; a
// missing key leaves its choice to the dialog's default.
PlotSettings LoadPlotSettings(Profile& profile);

// Writes every key at once (see Profile::WriteChanges): a write that fails
// or dies halfway leaves the file as it was. An empty value is written as
// a missing key, which reads as empty. Throws FileError.
void SavePlotSettings(Profile& profile, const PlotSettings& settings);
